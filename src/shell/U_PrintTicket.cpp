#include "shell/U_PrintTicket.h"

#include "browsing/BrowserWindow.h"
#include "browsing/NavigationBar.h"
#include "browsing/PopupPlacement.h"
#include "browsing/SessionStore.h"
#include "browsing/TabSheet.h"
#include "browsing/U_WebPopWindows.h"
#include "browsing/u_child.h"
#include "localfiles/Gbk.h"
#include "localfiles/MemIniFile.h"
#include "localfiles/SessionLog.h"
#include "localfiles/StationSettings.h"
#include "localfiles/unt_Public.h"
#include "menu/MenuDefinition.h"
#include "shell/HomePageChoice.h"
#include "shell/NoHomePage.h"
#include "site/InputFilter.h"
#include "site/PlanDownload.h"
#include "site/SearchActions.h"
#include "site/SiteValues.h"
#include "ui/ImageLists.h"
#include "ui/MessageBoxes.h"
#include "update/FileDownloader.h"
#include "update/UpdateCheck.h"
#include "update/UpdateRunner.h"
#include "webview/NativeWindowSurface.h"
#include "webview/WebView.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QByteArray WindowCaption = gbk::fromUnicode(QStringLiteral("Zantu网彩票管家"));
const QByteArray HomeTabCaption = gbk::fromUnicode(QStringLiteral(" Zantu网首页 "));

QVBoxLayout* fillLayout(QWidget* owner)
{
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

} // namespace

Tfrm_printTicket::Tfrm_printTicket(webview::WebBrowserFactory& browsers, QWidget* parent)
    : Tbase_form(Derived{}, parent), FBrowsers(browsers)
{
    setObjectName(QStringLiteral("frm_printTicket"));
    setWindowTitle(gbk::toUnicode(WindowCaption));
    resize(1124, 738);
    move(190, 0);
    // Shown maximised, and kept so when the home web view starts drawing.
    webview::PrepareWindowForWebViews(this);

    QVBoxLayout* panel = fillLayout(AdvPanel1);

    sCoolBar1 = new QFrame(AdvPanel1);
    sCoolBar1->setObjectName(QStringLiteral("sCoolBar1"));
    sCoolBar1->setFixedHeight(82);
    QVBoxLayout* cool = fillLayout(sCoolBar1);
    cool->setContentsMargins(5, 5, 5, 5);
    sToolBar1 = new QToolBar(sCoolBar1);
    sToolBar1->setObjectName(QStringLiteral("sToolBar1"));
    sToolBar1->setMovable(false);
    sToolBar1->setFloatable(false);
    cool->addWidget(sToolBar1);
    ToolButton1 = sToolBar1->addSeparator();
    ToolButton1->setObjectName(QStringLiteral("ToolButton1"));
    FUpdateRunner = new update::UpdateRunner(this);
    // The update command has no control of its own.
    act_update = new QAction(this);
    act_update->setObjectName(QStringLiteral("act_update"));
    connect(act_update, &QAction::triggered, this, &Tfrm_printTicket::act_updateExecute);
    panel->addWidget(sCoolBar1);

    pnl_Main = new QFrame(AdvPanel1);
    pnl_Main->setObjectName(QStringLiteral("pnl_Main"));
    QVBoxLayout* main = fillLayout(pnl_Main);
    PageWebClient = new QTabWidget(pnl_Main);
    PageWebClient->setObjectName(QStringLiteral("PageWebClient"));
    // One close button on the strip; it acts on the active tab.
    FCloseButton = new QToolButton(PageWebClient);
    FCloseButton->setObjectName(QStringLiteral("PageWebClientCloseButton"));
    FCloseButton->setText(QStringLiteral("×"));
    FCloseButton->setAutoRaise(true);
    FCloseButton->hide();
    PageWebClient->setCornerWidget(FCloseButton, Qt::TopRightCorner);
    connect(FCloseButton, &QToolButton::clicked, this, &Tfrm_printTicket::PageWebClientClose);
    connect(PageWebClient, &QTabWidget::currentChanged, this,
            &Tfrm_printTicket::PageWebClientChange);
    main->addWidget(PageWebClient);
    panel->addWidget(pnl_Main, 1);

    // Panel2 holds the home tab's bar and web view; the show sequence moves
    // it into the home tab.
    Panel2 = new QFrame(pnl_Main);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel2->hide();
    QVBoxLayout* home = fillLayout(Panel2);
    Panel3 = new NavigationBar(NavigationBar::HomeTab, Panel2);
    home->addWidget(Panel3);
    Main_WebBrowser = FBrowsers.Create(Panel2);
    Main_WebBrowser->setObjectName(QStringLiteral("Main_WebBrowser"));
    home->addWidget(Main_WebBrowser, 1);

    ApplicationEvents1 = new site::InputFilter(this);
    ApplicationEvents1->Register(qobject_cast<webview::WebView*>(Main_WebBrowser),
                                 site::ViewKind::HomeTab,
                                 {[this] { FOpenInPopup = true; },
                                  [this](const QByteArray& link) { return DownloadPlan(link); },
                                  [this] { WMPlanDownloaded(site::PlanDownloadedFromLinkClick); },
                                  {}});

    connect(Main_WebBrowser, &webview::WebBrowser::BeforeNavigate2, this,
            &Tfrm_printTicket::Main_WebBrowserBeforeNavigate2);
    connect(Main_WebBrowser, &webview::WebBrowser::NewWindow2, this,
            &Tfrm_printTicket::Main_WebBrowserNewWindow2);
    connect(Main_WebBrowser, &webview::WebBrowser::DocumentComplete, this,
            &Tfrm_printTicket::Main_WebBrowserDocumentComplete);
    connect(Main_WebBrowser, &webview::WebBrowser::CommandStateChange, this,
            &Tfrm_printTicket::Main_WebBrowserCommandStateChange);
    // The update fetches wait for the home page's first document (5 s at
    // most), so that the fetch module never loads beside the engine's start.
    FUpdateRunner->Fetches().Hold(5000);
    connect(Main_WebBrowser, &webview::WebBrowser::DocumentComplete, FUpdateRunner,
            [this] { FUpdateRunner->Fetches().Release(); });
    connect(Panel3->btn_goBack, &QToolButton::clicked, this, &Tfrm_printTicket::btn_goBackClick);
    connect(Panel3->btn_goforword, &QToolButton::clicked, this,
            &Tfrm_printTicket::btn_goforwordClick);
    connect(Panel3->btn_refresh, &QToolButton::clicked, this,
            &Tfrm_printTicket::RzToolButton10Click);
    connect(Panel3->Btn_SearchMan, &QToolButton::clicked, this,
            &Tfrm_printTicket::Btn_SearchManClick);
    connect(Panel3->Btn_SearchProject_ID, &QToolButton::clicked, this,
            &Tfrm_printTicket::Btn_SearchProject_IDClick);

    FormCreate();
}

Tfrm_printTicket::~Tfrm_printTicket() = default;

void Tfrm_printTicket::SetPopupWindows(Tfrm_child* child, Tfrm_child* child2)
{
    frm_child = child;
    frm_child2 = child2;
}

void Tfrm_printTicket::SetSessionStore(browsing::SessionStore* store)
{
    FSession = store;
    if (FSession)
        FSession->SetTabSource([this] { return SessionTabs(); });
}

void Tfrm_printTicket::SessionChanged()
{
    if (FSession)
        FSession->Changed();
}

QList<QByteArray> Tfrm_printTicket::SessionTabs() const
{
    QList<QByteArray> urls;
    for (int index = 1; index < PageWebClient->count(); ++index) {
        if (!PageWebClient->isTabVisible(index))
            continue;
        const auto* sheet = static_cast<TRzTabSheet*>(PageWebClient->widget(index));
        const TFrame_WebPopWindows* frame = sheet ? FPageFrames.value(sheet->Tag) : nullptr;
        if (!frame)
            continue;
        const QByteArray url = frame->pop_WebBrowser->SessionURL();
        if (!url.isEmpty())
            urls.append(url);
    }
    return urls;
}

void Tfrm_printTicket::RestorePageTabs(const QList<QByteArray>& urls)
{
    if (urls.isEmpty())
        return;
    int opened = 0;
    for (const QByteArray& url : urls) {
        if (TFrame_WebPopWindows* frame = OpenNewActiveTab()) {
            frame->pop_WebBrowser->Navigate(url);
            ++opened;
        }
    }
    // The start shows the home tab, as every start does.
    PageWebClient->setCurrentIndex(0);
    localfiles::WriteSessionLog(
        QStringLiteral(u"上次运行未正常关闭，恢复页面标签 %1 个").arg(opened));
    SessionChanged();
}

void Tfrm_printTicket::FormCreate()
{
    MenuButtons.fill(nullptr);
    MenuPopups.fill(nullptr);
    CentreOnDesktop(this);
}

void Tfrm_printTicket::showEvent(QShowEvent* event)
{
    Tbase_form::showEvent(event);
    // A restore from the task bar is the platform's show, not the window's;
    // and the window is made once: a second show would build it twice.
    if (!event->spontaneous() && !FShowDone) {
        FShowDone = true;
        FormShow();
    }
}

void Tfrm_printTicket::paintEvent(QPaintEvent* event)
{
    Tbase_form::paintEvent(event);
    FormPaint();
}

void Tfrm_printTicket::closeEvent(QCloseEvent* event)
{
    // A run that ends here leaves nothing to restore.
    if (FSession)
        FSession->Close();
    FormCloseQuery();
    event->accept();
}

void Tfrm_printTicket::FormShow()
{
    MenuLines = menu::LoadMenuLines(localfiles::AppPath() + "zantu.dll");
    BuildMenuToolbar();

    FTabSheets.fill(nullptr, SlotCount);
    FPageFrames.fill(nullptr, SlotCount);
    FCloseButton->show();

    auto* homeSheet = new TRzTabSheet(PageWebClient);
    FTabSheets[0] = homeSheet;
    QByteArray homeCaption = HomeTabCaption;
    PageWebClient->addTab(homeSheet, gbk::toUnicode(homeCaption));

    CurrentStationName = localfiles::ReadSetting(localfiles::TaskConfigKey::StationName);
    if (!CurrentStationName.isEmpty())
        homeCaption = "[" + CurrentStationName + "]" + homeCaption;
    PageWebClient->setTabText(0, gbk::toUnicode(homeCaption));

    FFirstPaintDone = false;
    OpenHomePage();

    PageWebClient->setCurrentIndex(0);
    fillLayout(homeSheet)->addWidget(Panel2);
    Panel2->show();

    CurrentStationName = localfiles::ReadSetting(localfiles::TaskConfigKey::StationName);
    setWindowTitle(gbk::toUnicode(CurrentStationName + "---" + WindowCaption));
}

void Tfrm_printTicket::OpenHomePage()
{
    if (FHomePageOpened)
        return;
    FHomePageOpened = true;
    ChooseHomePage();
    // A fresh install sets no home page: the tab says where to set one.
    if (HomePageUrl.isEmpty())
        Main_WebBrowser->LoadHtml(
            shell::NoHomePageHtml(localfiles::AppPath(), gbk::fromUnicode(QDir::currentPath())));
    else
        Main_WebBrowser->Navigate(HomePageUrl);
}

void Tfrm_printTicket::BuildMenuToolbar()
{
    QList<QIcon> pictures;
    for (int i = 0; i < ui::ImageList1Count; ++i)
        pictures.append(ui::ImageList1Icon(i));
    menu::MenuToolbarBuilder builder(sToolBar1, this, pictures, MenuButtons, MenuPopups,
                                     [this](QAction* item) { MenuItemClick(item); });
    menu::BuildMenuToolbar(MenuLines, builder);
}

void Tfrm_printTicket::ChooseHomePage()
{
    // The descriptor of the working directory, not the program folder's.
    const localfiles::MemIniFile descriptor("AutoUpdate.ini");
    const QByteArray a =
        gbk::trimmed(localfiles::ReadSetting(descriptor, localfiles::DescriptorKey::HomePage));
    const QByteArray c = gbk::trimmed(
        localfiles::ReadSetting(descriptor, localfiles::DescriptorKey::ChangeHomePage));
    QByteArray h;
    try {
        h = gbk::trimmed(localfiles::ReadSetting(localfiles::TaskConfigKey::HomePage));
    } catch (...) {
    }
    const shell::HomePageChoice choice = shell::ChooseHomePage(a, c, h);
    HomePageUrl = choice.url;
    if (!choice.changeTo.isEmpty()) {
        try {
            localfiles::WriteSetting(localfiles::TaskConfigKey::HomePage, choice.changeTo);
            HomePageUrl = choice.changeTo;
        } catch (...) {
            // The station keeps the page it had; nothing is reported.
        }
    }
}

void Tfrm_printTicket::FormPaint()
{
    if (FFirstPaintDone)
        return;
    FFirstPaintDone = true;
    // The check may ask questions: it starts right after this paint has been
    // drawn, not inside it.
    QTimer::singleShot(0, this, [this] { CheckUpdate(); });
}

void Tfrm_printTicket::FormCloseQuery()
{
    QCoreApplication::quit();
}

update::UpdateOperations Tfrm_printTicket::UpdateOperations()
{
    return update::UpdateOperations([this](const update::FileFetch& fetch, update::FetchDone done) {
        DownloadFile(fetch, std::move(done));
    });
}

bool Tfrm_printTicket::CheckUpdate()
{
    return update::CheckUpdate(*FUpdateRunner, UpdateOperations());
}

void Tfrm_printTicket::act_updateExecute()
{
    update::act_updateExecute(*FUpdateRunner, UpdateOperations());
}

void Tfrm_printTicket::DownloadFile(const update::FileFetch& fetch, update::FetchDone done)
{
    update::DownloadFile(
        FUpdateRunner->Fetches(), fetch, [this] { return Main_WebBrowser->ClearBodyText(); },
        std::move(done));
}

bool Tfrm_printTicket::DownloadPlan(const QByteArray& LinkAddress)
{
    return site::DownloadPlan(LinkAddress);
}

void Tfrm_printTicket::WMPlanDownloaded(int wParam)
{
    Q_UNUSED(wParam)
}

std::vector<browsing::TabSlotState> Tfrm_printTicket::SlotStates() const
{
    std::vector<browsing::TabSlotState> states(SlotCount);
    for (int k = 0; k < FTabSheets.size(); ++k) {
        if (!FTabSheets[k])
            continue;
        const int index = PageWebClient->indexOf(FTabSheets[k]);
        states[k] = {true, PageWebClient->isTabVisible(index), index};
    }
    return states;
}

bool Tfrm_printTicket::OpenNewTab(const QByteArray& Caption, int& Slot, int& PageIndex)
{
    if (FTabSheets.size() != SlotCount)
        return false; // the window has not been shown yet
    const auto choice = browsing::ChooseNewTabSlot(SlotStates(), PageWebClient->count(), Caption);
    if (!choice)
        return false; // every slot holds an open tab
    Slot = choice->slot;
    PageIndex = choice->pageIndex;
    const QString name = QString::number(Slot);
    try {
        TRzTabSheet*& sheet = FTabSheets[Slot];
        if (!sheet) {
            sheet = new TRzTabSheet(PageWebClient);
            fillLayout(sheet);
            PageWebClient->addTab(sheet, QString());
        }
        sheet->setObjectName(QStringLiteral("Web_TabSheet") + name);
        sheet->Tag = Slot;
        int index = PageWebClient->indexOf(sheet);
        PageWebClient->setTabText(index, gbk::toUnicode(choice->caption));
        PageWebClient->setTabVisible(index, true);
        PageWebClient->tabBar()->moveTab(index, PageIndex);

        // A reused slot starts with a fresh web view and an empty history.
        delete FPageFrames[Slot];
        auto* frame = new TFrame_WebPopWindows(*this, FBrowsers, sheet);
        FPageFrames[Slot] = frame;
        frame->setObjectName(QStringLiteral("Web_Browse") + name);
        frame->Tag = Slot;
        sheet->layout()->addWidget(frame);
        PageWebClient->setTabVisible(PageWebClient->indexOf(sheet), true);
        connect(frame->pop_WebBrowser, &webview::WebBrowser::DocumentComplete, this,
                &Tfrm_printTicket::SessionChanged);
        SessionChanged();
        return true;
    } catch (...) {
        delete FPageFrames[Slot];
        FPageFrames[Slot] = nullptr;
        delete FTabSheets[Slot];
        FTabSheets[Slot] = nullptr;
        return false;
    }
}

TFrame_WebPopWindows* Tfrm_printTicket::OpenNewActiveTab()
{
    int slot = 0;
    int pageIndex = 0;
    if (!OpenNewTab(QByteArray(), slot, pageIndex))
        return nullptr;
    PageWebClient->setCurrentIndex(pageIndex);
    TFrame_WebPopWindows* frame = FPageFrames[slot];
    frame->btn_goBack->setEnabled(false);
    return frame;
}

webview::WebBrowser* Tfrm_printTicket::NewWindowBrowser()
{
    if (TFrame_WebPopWindows* frame = OpenNewActiveTab())
        return frame->pop_WebBrowser->Application();
    // No tab can hold it: the page opens in a window of its own, as the former
    // browser control did, rather than not at all. The window is not held
    // above the main window; it goes with it, before the web profile.
    auto* window = new Tfrm_browserWindow(FBrowsers, ApplicationEvents1,
                                          [this] { return NewWindowBrowser(); });
    connect(this, &QObject::destroyed, window, [window] { delete window; });
    window->show();
    return window->pop_WebBrowser->Application();
}

void Tfrm_printTicket::BlankWebView(webview::WebBrowser* view)
{
    try {
        if (view)
            view->NavigateBlank();
    } catch (...) {
    }
}

void Tfrm_printTicket::PageWebClientClose()
{
    if (PageWebClient->currentIndex() < 0)
        return;
    CloseTab(PageWebClient->currentIndex());
}

void Tfrm_printTicket::ClosePageTab(int slot)
{
    if (slot <= 0 || slot >= FTabSheets.size() || !FTabSheets[slot])
        return;
    CloseTab(PageWebClient->indexOf(FTabSheets[slot]));
}

void Tfrm_printTicket::CloseTab(int pageIndex)
{
    try {
        if (pageIndex == 0) {
            ui::ShowMessageBox(gbk::fromUnicode(QStringLiteral("对不起主窗口不能关闭！")),
                               gbk::fromUnicode(QStringLiteral("关闭提示：")),
                               ui::Mb::Ok | ui::Mb::IconInformation);
            return;
        }
        auto* sheet = static_cast<TRzTabSheet*>(PageWebClient->widget(pageIndex));
        if (!sheet || !PageWebClient->isTabVisible(pageIndex))
            return;
        const int slot = sheet->Tag;
        const bool wasActive = PageWebClient->currentIndex() == pageIndex;
        BlankWebView(FPageFrames.value(slot) ? FPageFrames[slot]->pop_WebBrowser : nullptr);
        PageWebClient->setTabVisible(pageIndex, false);
        SessionChanged();
        // A tab closed from the background leaves the operator where he works.
        if (wasActive)
            PageWebClient->setCurrentIndex(
                browsing::PageIndexAfterClose(SlotStates(), PageWebClient->count(), pageIndex));
    } catch (...) {
    }
}

void Tfrm_printTicket::PageWebClientChange()
{
    // Typing goes to the page of the tab just chosen.
    const int index = PageWebClient->currentIndex();
    webview::WebBrowser* view = nullptr;
    if (index == 0)
        view = Main_WebBrowser;
    else if (auto* sheet = static_cast<TRzTabSheet*>(PageWebClient->widget(index)))
        if (TFrame_WebPopWindows* frame = FPageFrames.value(sheet->Tag))
            view = frame->pop_WebBrowser;
    site::InputFilter::GiveFocus(qobject_cast<webview::WebView*>(view));
}

void Tfrm_printTicket::FocusActivePage()
{
    // After a load, focus may have stayed on the tab bar; a search box the
    // operator is typing in keeps it.
    const QWidget* focus = QApplication::focusWidget();
    if (!focus || qobject_cast<const QTabBar*>(focus))
        PageWebClientChange();
}

void Tfrm_printTicket::SetStationCaptions(const QByteArray& windowCaption,
                                          const QByteArray& homeTabCaption)
{
    setWindowTitle(gbk::toUnicode(windowCaption));
    if (FTabSheets.value(0))
        PageWebClient->setTabText(PageWebClient->indexOf(FTabSheets[0]),
                                  gbk::toUnicode(homeTabCaption));
}

void Tfrm_printTicket::RunStationRule(const QByteArray& url, const QByteArray& title,
                                      browsing::StationView view)
{
    if (StationNameSaved)
        return;
    try {
        const browsing::StationRuleOutcome outcome = browsing::ApplyStationRule(
            {url, title, view, StationNameSaved,
             [] { return localfiles::ReadSetting(localfiles::TaskConfigKey::StationName); }});
        if (!outcome.ran)
            return;
        CurrentStationName = outcome.currentStationName;
        if (outcome.setCaptions)
            SetStationCaptions(outcome.windowCaption, outcome.homeTabCaption);
        if (outcome.writeStationName)
            localfiles::WriteSetting(localfiles::TaskConfigKey::StationName, outcome.stationName);
        if (outcome.writeHomePage)
            localfiles::WriteSetting(localfiles::TaskConfigKey::HomePage, outcome.homePage);
        if (outcome.markSaved)
            StationNameSaved = true;
    } catch (...) {
        StationNameSaved = false;
    }
}

void Tfrm_printTicket::MenuItemClick(QObject* Sender)
{
    const std::optional<QByteArray> url = menu::MenuItemTarget(Sender);
    if (!url)
        return;
    PageWebClient->setCurrentIndex(0);
    if (TFrame_WebPopWindows* frame = OpenNewActiveTab())
        frame->pop_WebBrowser->Navigate(*url);
}

void Tfrm_printTicket::Main_WebBrowserBeforeNavigate2(const QByteArray& url)
{
    FOpenInPopup = site::IsAccountPageUrl(url);
}

void Tfrm_printTicket::Main_WebBrowserNewWindow2(webview::NewWindowRequest* request)
{
    try {
        if (FOpenInPopup) {
            FOpenInPopup = false;
            if (!frm_child)
                return;
            frm_child->show();
            request->browser = frm_child->pop_WebBrowser->Application();
            browsing::PlacePopupWindow(frm_child);
            // The home tab's pop-up keeps its corner and takes 400 x 400.
            browsing::SetOuterSize(frm_child, QSize(400, 400));
            frm_child->pop_WebBrowser->setVisible(true);
            return;
        }
        request->browser = NewWindowBrowser();
    } catch (...) {
    }
}

void Tfrm_printTicket::Main_WebBrowserDocumentComplete(const QByteArray& url)
{
    if (PageWebClient->currentIndex() == 0 && url == Main_WebBrowser->LocationURL())
        FocusActivePage();
    if (StationNameSaved)
        return;
    QByteArray title;
    try {
        title = Main_WebBrowser->DocumentTitle();
    } catch (...) {
        StationNameSaved = false;
        return;
    }
    RunStationRule(url, title, browsing::StationView::HomeTab);
}

void Tfrm_printTicket::Main_WebBrowserCommandStateChange(int command, bool enable)
{
    if (command == webview::CommandBack)
        Panel3->btn_goBack->setEnabled(enable);
    else if (command == webview::CommandForward)
        Panel3->btn_goforword->setEnabled(enable);
}

void Tfrm_printTicket::btn_goBackClick()
{
    Main_WebBrowser->GoBack();
}
void Tfrm_printTicket::btn_goforwordClick()
{
    Main_WebBrowser->GoForward();
}

// The home bar's refresh button reloads the home page, as every page tab's does.
void Tfrm_printTicket::RzToolButton10Click()
{
    try {
        Main_WebBrowser->Refresh();
    } catch (...) {
    }
}

void Tfrm_printTicket::Btn_SearchManClick()
{
    site::SearchUser(*Main_WebBrowser, HomePageUrl, *Panel3->edt_UserName);
}

void Tfrm_printTicket::Btn_SearchProject_IDClick()
{
    site::SearchPlan(*Main_WebBrowser, HomePageUrl, *Panel3->edt_ProjectID);
}
