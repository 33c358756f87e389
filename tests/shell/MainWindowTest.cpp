#include "shell/U_PrintTicket.h"

#include "browsing/NavigationBar.h"
#include "browsing/PageTabs.h"
#include "browsing/TabSheet.h"
#include "browsing/U_WebPopWindows.h"
#include "localfiles/Gbk.h"
#include "localfiles/unt_Public.h"
#include "support/FakeWebBrowser.h"
#include "support/LocalHttpServer.h"
#include "support/MessageBoxRecorder.h"
#include "support/PageScript.h"
#include "support/TempProgramFolder.h"
#include "support/Wait.h"
#include "support/WebTestProfile.h"
#include "support/WindowParts.h"
#include "ui/SkinTabFrameStyle.h"
#include "webview/WebPage.h"
#include "webview/WebView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QImage>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace {

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

class CountingMainWindow : public Tfrm_printTicket
{
public:
    using Tfrm_printTicket::Tfrm_printTicket;
    bool CheckUpdate() override
    {
        ++checks;
        return true;
    }
    int checks = 0;
};

QByteArray descriptor(const QByteArray& homePage, const QByteArray& changeHomePage = {})
{
    QByteArray text = "[Version]\r\nHomePage=" + homePage + "\r\n";
    if (!changeHomePage.isEmpty())
        text += "ChangeHomePage=" + changeHomePage + "\r\n";
    return text;
}

// The main window with real web views against a local site.
class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server.page("/home.php", "<html><head><title>Home</title></head><body>home</body></html>");
        server.page("/changed.php",
                    "<html><head><title>Changed</title></head><body>changed</body></html>");
        server.start();
    }

    std::unique_ptr<CountingMainWindow>
    makeWindow(Tfrm_printTicket::HomeLoad homeLoad = Tfrm_printTicket::HomeLoad::AtShow)
    {
        auto window = std::make_unique<CountingMainWindow>(browsers, homeLoad);
        QObject::connect(window->HomeBrowser(), &webview::WebBrowser::DocumentComplete,
                         window.get(), [this](const QByteArray& url) { completed.append(url); });
        return window;
    }

    TempProgramFolder folder;
    MessageBoxRecorder boxes;
    LocalHttpServer server;
    std::unique_ptr<QWebEngineProfile> profile = MakeTestProfile();
    webview::WebViewFactory browsers{profile.get()};
    QList<QByteArray> completed;
};

TEST_F(MainWindowTest, WithoutConfigIniShowsStationZeroAndLoadsTheDescriptorsHomePage)
{
    folder.write("AutoUpdate.ini", descriptor(server.urlBytes("/home.php")));
    auto window = makeWindow();
    window->showMaximized();

    EXPECT_EQ(window->windowTitle(), U("0---Zantu网彩票管家"));
    ASSERT_EQ(PageWebClient(*window)->count(), 1);
    EXPECT_EQ(PageWebClient(*window)->tabText(0), U("[0] Zantu网首页 "));
    EXPECT_EQ(window->Tabs().TabSheets().size(), Tfrm_printTicket::SlotCount);
    EXPECT_EQ(static_cast<QWidget*>(window->Tabs().TabSheets()[0]),
              PageWebClient(*window)->widget(0));
    // The search bar stands above the home web view, inside the home tab.
    EXPECT_TRUE(window->Tabs().TabSheets()[0]->isAncestorOf(Panel3(*window)));
    EXPECT_TRUE(window->Tabs().TabSheets()[0]->isAncestorOf(window->HomeBrowser()));
    EXPECT_LT(Panel3(*window)->geometry().bottom(), window->HomeBrowser()->geometry().top());
    EXPECT_EQ(window->HomePage(), server.urlBytes("/home.php"));

    ASSERT_TRUE(WaitFor([&] { return completed.contains(server.urlBytes("/home.php")); }));
    EXPECT_EQ(server.count("/home.php"), 1);
    EXPECT_FALSE(folder.exists("Config.ini"));
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

// The program's window starts its home page as it is made, before its show
// and its bars; the input filter is on the home view before that load, so the
// page's first document already has the filter's script.
TEST_F(MainWindowTest, AHomePageLoadedAtConstructionIsAskedForBeforeTheShowWithTheFilterOnIt)
{
    folder.write("AutoUpdate.ini", descriptor(server.urlBytes("/home.php")));
    auto window = makeWindow(Tfrm_printTicket::HomeLoad::AtConstruction);
    EXPECT_EQ(window->HomePage(), server.urlBytes("/home.php"));
    ASSERT_TRUE(WaitFor([&] { return server.count("/home.php") == 1; }));
    EXPECT_FALSE(window->isVisible());

    window->showMaximized();
    EXPECT_EQ(PageWebClient(*window)->tabText(0), U("[0] Zantu网首页 "));
    EXPECT_TRUE(window->Tabs().TabSheets()[0]->isAncestorOf(window->HomeBrowser()));
    ASSERT_TRUE(WaitFor([&] { return completed.contains(server.urlBytes("/home.php")); }));
    EXPECT_EQ(server.count("/home.php"), 1) << "the show loads it no second time";

    std::optional<QVariant> filter;
    window->HomeBrowser()->page()->runJavaScript(QStringLiteral("typeof zantuLinkAddress"),
                                                 QWebEngineScript::ApplicationWorld,
                                                 [&filter](const QVariant& v) { filter = v; });
    ASSERT_TRUE(WaitFor([&] { return filter.has_value(); }));
    EXPECT_EQ(filter->toString(), QStringLiteral("function"));
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(MainWindowTest, StationNameOfConfigIniPrefixesBothCaptions)
{
    folder.write("Config.ini",
                 "[TaskConfig]\r\nStationName= " + gbk::fromUnicode(U("测试站")) + " \r\n");
    folder.write("AutoUpdate.ini", descriptor(server.urlBytes("/home.php")));
    auto window = makeWindow();
    window->show();
    EXPECT_EQ(window->windowTitle(), U("测试站---Zantu网彩票管家"));
    EXPECT_EQ(PageWebClient(*window)->tabText(0), U("[测试站] Zantu网首页 "));
}

TEST_F(MainWindowTest, ChangeHomePageMovesTheStationAndIsKept)
{
    const QByteArray home = server.urlBytes("/home.php");
    const QByteArray changed = server.urlBytes("/changed.php");
    folder.write("Config.ini", "; station settings\r\n[TaskConfig]\r\nHomePage=" + home + "\r\n");
    folder.write("AutoUpdate.ini", descriptor(home, changed));
    {
        auto window = makeWindow();
        window->show();
        ASSERT_TRUE(WaitFor([&] { return completed.contains(changed); }));
    }
    EXPECT_EQ(folder.read("Config.ini"),
              "; station settings\r\n[TaskConfig]\r\nHomePage=" + changed + "\r\n");
    EXPECT_EQ(server.count("/home.php"), 0);

    // Next start: Config.ini's own page, which differs from the descriptor's, stays.
    completed.clear();
    auto window = makeWindow();
    window->show();
    ASSERT_TRUE(WaitFor([&] { return completed.contains(changed); }));
    EXPECT_EQ(server.count("/home.php"), 0);
}

TEST_F(MainWindowTest, DescriptorIsReadFromTheWorkingDirectory)
{
    folder.write("AutoUpdate.ini", descriptor(server.urlBytes("/home.php")));
    folder.write("elsewhere/AutoUpdate.ini", descriptor(server.urlBytes("/changed.php")));
    QDir::setCurrent(folder.filePath("elsewhere"));
    auto window = makeWindow();
    window->show();
    EXPECT_EQ(window->HomePage(), server.urlBytes("/changed.php"));
}

// A fresh install names no home page: the home tab says so in a page of the
// program's own, with where to set one and the folders meant, and nothing is
// written for it. The folders' names are shown as text, never as markup.
TEST_F(MainWindowTest, WithoutAHomePageTheHomeTabSaysWhereToSetOne)
{
    const QString program = folder.filePath(U("站 <i id=\"x\">&amp; 'q'"));
    const QString working = folder.filePath(U("work <b>"));
    ASSERT_TRUE(QDir().mkpath(program) && QDir().mkpath(working));
    localfiles::SetAppPathForTesting(gbk::fromUnicode(program));
    QDir::setCurrent(working);
    auto window = makeWindow();
    window->show();
    EXPECT_TRUE(window->HomePage().isEmpty());
    ASSERT_TRUE(WaitFor([&] { return !completed.isEmpty(); }));

    QWebEnginePage* page = window->HomeBrowser()->page();
    const QString text = RunPageScript(page, QStringLiteral("document.body.innerText"))
                             .value_or(QVariant())
                             .toString();
    for (const QString& part :
         {U("未设置首页"), U("Config.ini"), U("[TaskConfig]"), U("HomePage"), U("13"),
          U("AutoUpdate.ini"), U("[Version]"), QDir::toNativeSeparators(program + "/"),
          QDir::toNativeSeparators(working)})
        EXPECT_TRUE(text.contains(part)) << part.toStdString() << " not in:\n"
                                         << text.toStdString();
    EXPECT_EQ(RunPageScript(page, QStringLiteral("document.querySelectorAll('#x, b').length"))
                  .value_or(QVariant())
                  .toInt(),
              0);
    EXPECT_EQ(window->HomeBrowser()->DocumentTitle(), gbk::fromUnicode(U("未设置首页")));
    EXPECT_EQ(window->HomeBrowser()->LocationURL(), "about:blank"); // held in memory only

    for (const QString& dir : {program, working})
        EXPECT_TRUE(QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty())
            << dir.toStdString();
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(MainWindowTest, FirstPaintRunsTheUpdateCheckOnce)
{
    folder.write("AutoUpdate.ini", descriptor(server.urlBytes("/home.php")));
    auto window = makeWindow();
    window->show();
    ASSERT_TRUE(WaitFor([&] { return window->checks > 0; }));
    window->repaint();
    window->resize(900, 700);
    window->update();
    window->hide();
    window->show(); // the window is made once, and checks once
    EXPECT_EQ(PageWebClient(*window)->count(), 1);
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(window->checks, 1);
    EXPECT_TRUE(window->FirstPaintDone());
}

// The bars, the tabs and the menus wear the skin; the web views, which make
// up most of the window's widgets, are left out of the style sheet.
TEST_F(MainWindowTest, TheSkinReachesTheBarsTabsAndMenusButNotTheWebViews)
{
    folder.write("AutoUpdate.ini", descriptor(server.urlBytes("/home.php")));
    folder.write("zantu.dll", "=A:1\r\n@B\xA3\xBA" + server.urlBytes("/changed.php") + "\r\n+\r\n");
    auto window = makeWindow();
    window->show();
    TFrame_WebPopWindows* page = window->OpenNewActiveTab();
    ASSERT_NE(page, nullptr);
    page->ensurePolished();
    auto* label = PartOf<QLabel>(*Panel3(*window), QStringLiteral("RxLabel3"));
    auto* button = PartOf<QToolButton>(*window, QStringLiteral("sSpeedB0"));
    auto* menu = PartOf<QMenu>(*window, QStringLiteral("PopupM0"));
    ASSERT_TRUE(label && button && menu);
    // The bar lays its buttons out, and so polishes them, once the loop runs.
    ASSERT_TRUE(WaitFor([&] { return button->isVisible(); }));
    menu->ensurePolished();
    const auto skinned = [](const QWidget* w) { return w->style()->inherits("QStyleSheetStyle"); };

    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor("navy"));
    EXPECT_EQ(button->palette().color(QPalette::ButtonText), QColor("navy"));
    EXPECT_TRUE(skinned(PageWebClient(*window)->tabBar()));
    // The active tab's red top border, drawn by the rule the tab bar holds.
    QTabBar* tabs = PageWebClient(*window)->tabBar();
    const QRect active = tabs->tabRect(tabs->currentIndex());
    const QImage drawn = tabs->grab().toImage();
    EXPECT_EQ(drawn.pixelColor(active.center().x(), active.top() + 1), QColor(Qt::red));
    EXPECT_TRUE(skinned(menu));
    EXPECT_TRUE(skinned(PartOf<QWidget>(*page, QStringLiteral("Panel2"))));
    EXPECT_NE(dynamic_cast<ui::SkinTabFrameStyle*>(PageWebClient(*window)->style()), nullptr);
    for (webview::WebBrowser* view : {window->HomeBrowser(), page->Browser()}) {
        QWidget* engine = view->engineView();
        EXPECT_FALSE(skinned(view));
        EXPECT_FALSE(skinned(engine));
        for (QWidget* inner : engine->findChildren<QWidget*>())
            EXPECT_FALSE(skinned(inner)) << inner->metaObject()->className();
    }
}

TEST_F(MainWindowTest, ClosingTheWindowEndsTheEventLoopAtOnce)
{
    folder.write("AutoUpdate.ini", descriptor(server.urlBytes("/home.php")));
    auto window = makeWindow();
    window->show();
    QTimer::singleShot(200, window.get(), [&] { window->close(); });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&failsafe, &QTimer::timeout, &failsafe, [&] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    failsafe.start(10000);
    QElapsedTimer clock;
    clock.start();
    const int code = QCoreApplication::exec();
    EXPECT_FALSE(timedOut);
    EXPECT_EQ(code, 0);
    EXPECT_LT(clock.elapsed(), 5000);
}

// The real check of the first paint: the program folder's descriptor names
// the update server; the check fetches its descriptor and the missing menu file.
TEST_F(MainWindowTest, FirstPaintFetchesTheServersDescriptorAndTheMissingMenuFile)
{
    LocalHttpServer updates;
    updates.page("/up/AutoUpdate.ini", "[Version]\r\nVersion=1\r\nUpdateVer=1\r\n", "text/plain");
    updates.page("/up/zantu.dll", "=A:1\r\n@B\xA3\xBAT\r\n+\r\n", "text/plain");
    updates.start();
    folder.write("AutoUpdate.ini", "[Version]\r\nHomePage=" + server.urlBytes("/home.php") +
                                       "\r\nUpdateServer=" + updates.urlBytes("/up/") +
                                       "\r\nVersion=1\r\nUpdateVer=1\r\n");
    QDir(folder.path()).mkdir(QStringLiteral("data"));
    Tfrm_printTicket window(browsers);
    window.show();
    ASSERT_TRUE(WaitFor([&] { return folder.exists("zantu.dll"); }));
    EXPECT_EQ(folder.read("zantu.dll"), "=A:1\r\n@B\xA3\xBAT\r\n+\r\n");
    const auto requests = updates.requests();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests[0].path, "/up/AutoUpdate.ini");
    EXPECT_EQ(requests[0].target.rfind("/up/AutoUpdate.ini?Ver=", 0), 0u);
    EXPECT_EQ(requests[1].path, "/up/zantu.dll");
    EXPECT_EQ(folder.read("data/AutoUpdate.ini"), "[Version]\r\nVersion=1\r\nUpdateVer=1\r\n");
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

// Files that are missing, broken or cannot be written: the window still
// comes up and nothing is reported.
TEST(MainWindowBadFiles, StartsWhateverTheLocalFilesHold)
{
    struct Case
    {
        const char* name;
        std::function<void(TempProgramFolder&)> prepare;
        QString caption;
    };
    const QByteArray huge(100 * 1024, 'x');
    const Case cases[] = {
        {"nothing at all", [](TempProgramFolder&) {}, U("0---Zantu网彩票管家")},
        {"junk lines",
         [](TempProgramFolder& f) {
             f.write("Config.ini",
                     QByteArray("\x00\xFF\xFE[[[\r\n=\r\n[TaskConfig\r\nStationName\r\n", 32));
             f.write("AutoUpdate.ini", "garbage\r\n[Version\r\n==\r\n");
             f.write("zantu.dll", QByteArray("\xA3\xBA\xA3\xBA:::\x00\x01", 10));
         },
         U("0---Zantu网彩票管家")},
        {"a value of 100 KiB",
         [&](TempProgramFolder& f) {
             f.write("Config.ini",
                     "[TaskConfig]\r\nStationName=" + huge + "\r\nHomePage=" + huge + "\r\n");
         },
         QString(2047, QLatin1Char('x')) + U("---Zantu网彩票管家")},
        {"Config.ini that cannot be read or written",
         [](TempProgramFolder& f) {
             QDir(f.path()).mkdir(QStringLiteral("Config.ini"));
             f.write("AutoUpdate.ini",
                     descriptor("http://127.0.0.1:9/a.php", "http://127.0.0.1:9/b.php"));
         },
         U("0---Zantu网彩票管家")},
    };
    for (const Case& c : cases) {
        TempProgramFolder folder;
        MessageBoxRecorder boxes;
        c.prepare(folder);
        FakeWebBrowserFactory browsers;
        CountingMainWindow window(browsers);
        window.show();
        EXPECT_TRUE(window.isVisible()) << c.name;
        EXPECT_EQ(window.windowTitle(), c.caption) << c.name;
        // The home page, or the page that says none is set.
        const FakeWebBrowser* home = browsers.Created.front();
        EXPECT_EQ(home->Navigations.size() + home->Pages.size(), 1) << c.name;
        EXPECT_TRUE(boxes.boxes().isEmpty()) << c.name;
    }
}

} // namespace
