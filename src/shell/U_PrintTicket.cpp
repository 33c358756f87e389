#include "shell/U_PrintTicket.h"

#include "browsing/HomeTab.h"
#include "browsing/PageTabs.h"
#include "browsing/U_WebPopWindows.h"
#include "localfiles/Gbk.h"
#include "localfiles/MemIniFile.h"
#include "localfiles/StationSettings.h"
#include "localfiles/unt_Public.h"
#include "menu/MenuDefinition.h"
#include "shell/HomePageChoice.h"
#include "shell/NoHomePage.h"
#include "site/InputFilter.h"
#include "site/PlanDownload.h"
#include "ui/ImageLists.h"
#include "ui/MessageBoxes.h"
#include "ui/Skin.h"
#include "update/FileDownloader.h"
#include "update/UpdateCheck.h"
#include "update/UpdateRunner.h"
#include "webview/NativeWindowSurface.h"
#include "webview/WebBrowser.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QMenu>
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

Tfrm_printTicket::Tfrm_printTicket(webview::WebBrowserFactory& browsers, HomeLoad homeLoad,
                                   QWidget* parent)
    : Tbase_form(Derived{}, parent), FBrowsers(browsers)
{
    setObjectName(QStringLiteral("frm_printTicket"));
    setWindowTitle(gbk::toUnicode(WindowCaption));
    resize(1124, 738);
    move(190, 0);
    // Shown maximised, and kept so when the home web view starts drawing.
    webview::PrepareWindowForWebViews(this);

    // The home tab first, with the input filter on its view before any page
    // is loaded. Panel2 holds the home tab's bar and web view; the show
    // sequence moves it into the home tab.
    pnl_Main = new QFrame(AdvPanel1);
    pnl_Main->setObjectName(QStringLiteral("pnl_Main"));
    ApplicationEvents1 = new site::InputFilter(this);
    Panel2 = new THomeTab(*this, FBrowsers, ApplicationEvents1, pnl_Main);
    Panel2->hide();
    // Everything below takes the GUI thread that the engine's navigation
    // waits on; started here, the page comes while it is built.
    if (homeLoad == HomeLoad::AtConstruction)
        LoadHomePage();

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
    ui::ApplySkin(sCoolBar1);
    ToolButton1 = sToolBar1->addSeparator();
    ToolButton1->setObjectName(QStringLiteral("ToolButton1"));
    FUpdateRunner = new update::UpdateRunner(this);
    // The update command has no control of its own.
    act_update = new QAction(this);
    act_update->setObjectName(QStringLiteral("act_update"));
    connect(act_update, &QAction::triggered, this, &Tfrm_printTicket::act_updateExecute);
    panel->addWidget(sCoolBar1);

    QVBoxLayout* main = fillLayout(pnl_Main);
    PageWebClient = new QTabWidget(pnl_Main);
    PageWebClient->setObjectName(QStringLiteral("PageWebClient"));
    ui::ApplySkinToTabs(PageWebClient);
    main->addWidget(PageWebClient);
    panel->addWidget(pnl_Main, 1);

    FTabs =
        new browsing::PageTabs(PageWebClient, HomeBrowser(), *this, FBrowsers, ApplicationEvents1);
    connect(FTabs, &browsing::PageTabs::CloseButtonClicked, this,
            &Tfrm_printTicket::PageWebClientClose);
    connect(FTabs, &browsing::PageTabs::HomeTabCloseRefused, this, [] {
        ui::ShowMessageBox(gbk::fromUnicode(QStringLiteral("对不起主窗口不能关闭！")),
                           gbk::fromUnicode(QStringLiteral("关闭提示：")),
                           ui::Mb::Ok | ui::Mb::IconInformation);
    });
    connect(FTabs, &browsing::PageTabs::ActivePageLoaded, this, &Tfrm_printTicket::FocusActivePage);
    connect(PageWebClient, &QTabWidget::currentChanged, this,
            &Tfrm_printTicket::PageWebClientChange);
    // The update fetches wait for the home page's first document (5 s at
    // most), so that the fetch module never loads beside the engine's start.
    FUpdateRunner->Fetches().Hold(5000);
    connect(HomeBrowser(), &webview::WebBrowser::DocumentComplete, FUpdateRunner,
            [this] { FUpdateRunner->Fetches().Release(); });

    FormCreate();
}

Tfrm_printTicket::~Tfrm_printTicket() = default;

void Tfrm_printTicket::SetSessionStore(browsing::SessionStore* store)
{
    FTabs->SetSessionStore(store);
}

void Tfrm_printTicket::RestorePageTabs(const QList<QByteArray>& urls)
{
    FTabs->Restore(urls);
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
    FTabs->EndSession();
    FormCloseQuery();
    event->accept();
}

void Tfrm_printTicket::FormShow()
{
    MenuLines = menu::LoadMenuLines(localfiles::AppPath() + "zantu.dll");
    BuildMenuToolbar();

    FTabs->MakeHomeTab(HomeTabCaption, Panel2);
    CurrentStationName = localfiles::ReadSetting(localfiles::TaskConfigKey::StationName);
    if (!CurrentStationName.isEmpty())
        FTabs->SetHomeCaption("[" + CurrentStationName + "]" + HomeTabCaption);

    FFirstPaintDone = false;
    PageWebClient->setCurrentIndex(0);
    Panel2->show();
    if (!FHomePageRequested)
        LoadHomePage();

    CurrentStationName = localfiles::ReadSetting(localfiles::TaskConfigKey::StationName);
    setWindowTitle(gbk::toUnicode(CurrentStationName + "---" + WindowCaption));
}

void Tfrm_printTicket::BuildMenuToolbar()
{
    QList<QIcon> pictures;
    for (int i = 0; i < ui::ImageList1Count; ++i)
        pictures.append(ui::ImageList1Icon(i));
    menu::MenuToolbarBuilder builder(sToolBar1, this, pictures, MenuButtons, MenuPopups,
                                     [this](QAction* item) { MenuItemClick(item); });
    menu::BuildMenuToolbar(MenuLines, builder);
    // The drop-down menus are windows of their own, outside the bar.
    for (QMenu* popup : MenuPopups)
        if (popup)
            ui::ApplySkin(popup);
}

void Tfrm_printTicket::LoadHomePage()
{
    FHomePageRequested = true;
    ChooseHomePage();
    // A fresh install sets no home page: the tab says where to set one.
    if (HomePageUrl.isEmpty())
        HomeBrowser()->LoadHtml(
            shell::NoHomePageHtml(localfiles::AppPath(), gbk::fromUnicode(QDir::currentPath())));
    else
        HomeBrowser()->Navigate(HomePageUrl);
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
        FUpdateRunner->Fetches(), fetch, [this] { return HomeBrowser()->ClearBodyText(); },
        std::move(done));
}

bool Tfrm_printTicket::DownloadPlan(const QByteArray& LinkAddress)
{
    return site::DownloadPlan(LinkAddress);
}

bool Tfrm_printTicket::OpenNewTab(const QByteArray& Caption, int& Slot, int& PageIndex)
{
    return FTabs->Open(Caption, Slot, PageIndex);
}

TFrame_WebPopWindows* Tfrm_printTicket::OpenNewActiveTab()
{
    return FTabs->OpenActive();
}

Tfrm_child* Tfrm_printTicket::PopupWindow()
{
    if (!frm_child && FMakePopupWindows)
        FMakePopupWindows();
    return frm_child;
}

webview::WebBrowser* Tfrm_printTicket::NewWindowBrowser()
{
    return FTabs->NewWindowBrowser();
}

void Tfrm_printTicket::BlankWebView(webview::WebBrowser* view)
{
    browsing::PageTabs::Blank(view);
}

void Tfrm_printTicket::PageWebClientClose()
{
    FTabs->CloseActive();
}

void Tfrm_printTicket::ClosePageTab(int slot)
{
    FTabs->Close(slot);
}

// Typing goes to the page of the tab just chosen.
void Tfrm_printTicket::PageWebClientChange()
{
    site::InputFilter::GiveFocus(FTabs->ActiveBrowser());
}

void Tfrm_printTicket::FocusActivePage()
{
    FTabs->FocusActive();
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
        if (outcome.setCaptions) {
            setWindowTitle(gbk::toUnicode(outcome.windowCaption));
            FTabs->SetHomeCaption(outcome.homeTabCaption);
        }
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
    FTabs->OpenActive(*url);
}
