#include "shell/U_PrintTicket.h"

#include "browsing/NavigationBar.h"
#include "localfiles/Gbk.h"
#include "localfiles/IniLines.h"
#include "localfiles/MemIniFile.h"
#include "localfiles/unt_Public.h"
#include "shell/HomePageChoice.h"
#include "webview/WebBrowser.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
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

Tfrm_printTicket::Tfrm_printTicket(webview::WebBrowserFactory& browsers, QWidget* parent)
    : Tbase_form(Derived{}, parent), FBrowsers(browsers)
{
    setObjectName(QStringLiteral("frm_printTicket"));
    setWindowTitle(gbk::toUnicode(WindowCaption));
    resize(1124, 738);
    move(190, 0);

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
    panel->addWidget(sCoolBar1);

    pnl_Main = new QFrame(AdvPanel1);
    pnl_Main->setObjectName(QStringLiteral("pnl_Main"));
    QVBoxLayout* main = fillLayout(pnl_Main);
    PageWebClient = new QTabWidget(pnl_Main);
    PageWebClient->setObjectName(QStringLiteral("PageWebClient"));
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

    FormCreate();
}

Tfrm_printTicket::~Tfrm_printTicket() = default;

void Tfrm_printTicket::FormCreate()
{
    MenuButtons.fill(nullptr, SlotCount);
    MenuPopups.fill(nullptr, SlotCount);
    CentreOnDesktop(this);
}

void Tfrm_printTicket::showEvent(QShowEvent* event)
{
    Tbase_form::showEvent(event);
    // A restore from the task bar is the platform's show, not the window's.
    if (!event->spontaneous())
        FormShow();
}

void Tfrm_printTicket::paintEvent(QPaintEvent* event)
{
    Tbase_form::paintEvent(event);
    FormPaint();
}

void Tfrm_printTicket::closeEvent(QCloseEvent* event)
{
    FormCloseQuery();
    event->accept();
}

void Tfrm_printTicket::FormShow()
{
    MenuLines.clear();
    QFile menuFile(gbk::toUnicode(localfiles::AppPath() + "zantu.dll"));
    if (menuFile.open(QIODevice::ReadOnly)) {
        // Lines end at CR, LF or CR LF; the text is taken with CR LF after every line.
        QByteArray text;
        for (const localfiles::IniLine& line : localfiles::SplitIniLines(menuFile.readAll()))
            text += line.text + "\r\n";
        localfiles::SplitString(text, "\r\n", MenuLines);
    }
    // The toolbar is built from MenuLines here.
    MenuLines.clear();

    FTabSheets.fill(nullptr, SlotCount);
    FPageFrames.fill(nullptr, SlotCount);

    auto* homeSheet = new QWidget(PageWebClient);
    FTabSheets[0] = homeSheet;
    QByteArray homeCaption = HomeTabCaption;
    PageWebClient->addTab(homeSheet, gbk::toUnicode(homeCaption));

    CurrentStationName = localfiles::ReadTaskConfig("StationName");
    if (!CurrentStationName.isEmpty())
        homeCaption = "[" + CurrentStationName + "]" + homeCaption;
    PageWebClient->setTabText(0, gbk::toUnicode(homeCaption));

    FFirstPaintDone = false;
    ChooseHomePage();

    PageWebClient->setCurrentIndex(0);
    fillLayout(homeSheet)->addWidget(Panel2);
    Panel2->show();

    Main_WebBrowser->Navigate(HomePageUrl);

    CurrentStationName = localfiles::ReadTaskConfig("StationName");
    setWindowTitle(gbk::toUnicode(CurrentStationName + "---" + WindowCaption));
}

void Tfrm_printTicket::ChooseHomePage()
{
    // The descriptor of the working directory, not the program folder's.
    const localfiles::MemIniFile descriptor("AutoUpdate.ini");
    const QByteArray a = gbk::trimmed(descriptor.ReadString("Version", "HomePage", {}));
    const QByteArray c = gbk::trimmed(descriptor.ReadString("Version", "ChangeHomePage", {}));
    QByteArray h;
    try {
        h = gbk::trimmed(localfiles::ReadTaskConfig("HomePage"));
    } catch (...) {
    }
    const shell::HomePageChoice choice = shell::ChooseHomePage(a, c, h);
    HomePageUrl = choice.url;
    if (!choice.changeTo.isEmpty()) {
        try {
            localfiles::WriteTaskConfig("HomePage", choice.changeTo);
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
    // The check blocks and may ask questions: it runs right after this paint
    // has been drawn, not inside it.
    QTimer::singleShot(0, this, [this] { CheckUpdate(); });
}

void Tfrm_printTicket::FormCloseQuery() { QCoreApplication::quit(); }

bool Tfrm_printTicket::CheckUpdate() { return false; }

void Tfrm_printTicket::WMPlanDownloaded(int wParam) { Q_UNUSED(wParam) }
