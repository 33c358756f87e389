#include "shell/U_PrintTicket.h"

#include "browsing/BrowserWindow.h"
#include "browsing/HomeTab.h"
#include "browsing/NavigationBar.h"
#include "browsing/PageTabs.h"
#include "browsing/TabSheet.h"
#include "browsing/U_WebPopWindows.h"
#include "browsing/U_child2.h"
#include "browsing/u_child.h"
#include "localfiles/Gbk.h"
#include "support/LocalHttpServer.h"
#include "support/MessageBoxRecorder.h"
#include "support/QuietMainWindow.h"
#include "support/TempProgramFolder.h"
#include "support/Wait.h"
#include "support/WebTestProfile.h"
#include "support/WindowParts.h"
#include "ui/MessageBoxes.h"
#include "webview/CrashNotice.h"
#include "webview/CrashRecovery.h"
#include "webview/FindBar.h"
#include "webview/WebPage.h"
#include "webview/WebView.h"

#include <QApplication>
#include <QHash>
#include <QPrinter>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QWebEngineView>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <csignal>

namespace {

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}
QByteArray G(const char* utf8)
{
    return gbk::fromUnicode(QString::fromUtf8(utf8));
}

std::string page(const std::string& title, const std::string& body = {})
{
    return "<html><head><meta charset=\"gbk\"><title>" + title +
           "</title>"
           "<script>function openWin(p){ window.open(p); }</script></head><body>" +
           body + "</body></html>";
}

// The main window and both pop-up windows with real web views on a local site.
class BrowsingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server.page("/home.php",
                    page("Home", "<a id=\"blank\" href=\"/one.php\" target=\"_blank\">one</a>"));
        server.page("/one.php", page("Page One"));
        server.page("/two.php", page("Page Two"));
        server.page("/User/UserModifyBank.php", page("Bank"));
        server.page("/popup1.php", page("Popup One"));
        server.page("/popup2.php", page("Popup Two"));
        server.page("/plans.php",
                    page("Plans", "<a id=\"plan\" href=\" /printdownload.php?ProjectID=7 \" "
                                  "style=\"display:block;width:300px;height:60px\">plan</a>"
                                  "<div id=\"pad\" style=\"width:300px;height:40px\" "
                                  "onmouseup=\"window.seen = (window.seen || 0) + 1\">pad</div>"));
        server.page("/printdownload.php", page("Plan 7"));
        server.page("/notitle.php", "<html><body>none</body></html>");
        server.page("/long.php", page(std::string(40, 'L')));
        server.page("/emoji.php",
                    "<html><head><meta charset=\"utf-8\"><title>x\xF0\x9F\x98\x80y</title></head>"
                    "<body>e</body></html>",
                    "text/html; charset=utf-8");
        server.page("/image.png", std::string("\x89PNG\r\n\x1a\n", 8), "image/png");
        server.page("/StationIndex.php", page(G("测试站").toStdString()));
        server.page("/other/StationIndex.php", page(G("别的站").toStdString()));
        server.start();
        folder.write("AutoUpdate.ini",
                     "[Version]\r\nHomePage=" + server.urlBytes("/home.php") + "\r\n");

        window = std::make_unique<QuietMainWindow>(browsers);
        child = std::make_unique<Tfrm_child>(browsers);
        child2 = std::make_unique<Tfrm_child2>(browsers);
        child->SetPartner(child2.get());
        child2->SetPartner(child.get());
        window->SetPopupWindows(child.get(), child2.get());
        for (webview::WebBrowser* b : {window->HomeBrowser(), child->Browser(), child2->Browser()})
            watch(b);
        window->show();
        ASSERT_TRUE(completes(window->HomeBrowser(), "/home.php"));
    }

    void TearDown() override
    {
        child2.reset();
        child.reset();
        window.reset();
    }

    static webview::WebView* real(webview::WebBrowser* browser)
    {
        return static_cast<webview::WebView*>(browser);
    }
    static void js(webview::WebBrowser* browser, const QString& code)
    {
        browser->page()->runJavaScript(code);
    }

    // Records the documents that complete in `browser` from now on.
    void watch(webview::WebBrowser* browser)
    {
        QObject::connect(
            browser, &webview::WebBrowser::DocumentComplete, browser,
            [this, browser](const QByteArray& url) { completed[browser].append(url); });
    }
    // Waits until a document at `path` completes in `browser`, and takes that
    // completion. A tab that a page opened was not watched from its start: its
    // first document is the page, so its address is enough.
    bool completes(webview::WebBrowser* browser, const std::string& path)
    {
        const QByteArray url = server.urlBytes(path);
        return WaitFor([&] {
            if (!completed.contains(browser))
                return browser->LocationURL() == url && !browser->Busy() && browser->HasDocument();
            return completed[browser].removeOne(url);
        });
    }
    webview::WebBrowser* tabBrowser(int slot) const
    {
        return window->Tabs().PageFrames()[slot]->Browser();
    }
    QString tabCaption(int slot) const
    {
        return PageWebClient(*window)->tabText(
            PageWebClient(*window)->indexOf(window->Tabs().TabSheets()[slot]));
    }
    // A page tab on an account page, whose page opens a page in the first
    // pop-up window, whose page opens one in the second; null when one did not load.
    TFrame_WebPopWindows* openTabAndBothPopups()
    {
        TFrame_WebPopWindows* frame = openTabAt("/User/UserModifyBank.php");
        js(frame->Browser(), QStringLiteral("openWin('/popup1.php')"));
        if (!completes(child->Browser(), "/popup1.php"))
            return nullptr;
        js(child->Browser(), QStringLiteral("openWin('/popup2.php')"));
        return completes(child2->Browser(), "/popup2.php") ? frame : nullptr;
    }
    TFrame_WebPopWindows* openTabAt(const std::string& path)
    {
        TFrame_WebPopWindows* frame = window->OpenNewActiveTab();
        watch(frame->Browser());
        frame->Browser()->Navigate(server.urlBytes(path));
        EXPECT_TRUE(completes(frame->Browser(), path));
        return frame;
    }

    TempProgramFolder folder;
    MessageBoxRecorder boxes;
    LocalHttpServer server;
    std::unique_ptr<QWebEngineProfile> profile = MakeTestProfile();
    webview::WebViewFactory browsers{profile.get()};
    std::unique_ptr<QuietMainWindow> window;
    std::unique_ptr<Tfrm_child> child;
    std::unique_ptr<Tfrm_child2> child2;
    QHash<webview::WebBrowser*, QList<QByteArray>> completed;
};

TEST_F(BrowsingTest, WindowsOfTheHomePageOpenInNewActiveTabs)
{
    js(window->HomeBrowser(), QStringLiteral("document.getElementById('blank').click()"));
    ASSERT_TRUE(WaitFor([&] { return window->Tabs().PageFrames()[1] != nullptr; }));
    EXPECT_EQ(PageWebClient(*window)->currentIndex(), 1);
    ASSERT_TRUE(completes(tabBrowser(1), "/one.php"));
    EXPECT_TRUE(WaitFor([&] { return tabCaption(1) == QStringLiteral("Page One"); }));

    js(window->HomeBrowser(), QStringLiteral("openWin('/two.php')"));
    ASSERT_TRUE(WaitFor([&] { return window->Tabs().PageFrames()[2] != nullptr; }));
    EXPECT_EQ(PageWebClient(*window)->currentIndex(), 2);
    EXPECT_TRUE(completes(tabBrowser(2), "/two.php"));
    EXPECT_EQ(server.count("/one.php"), 1);
    EXPECT_FALSE(child->isVisible());
}

TEST_F(BrowsingTest, WindowsOfAPageTabOpenInNewActiveTabs)
{
    openTabAt("/one.php");
    js(tabBrowser(1), QStringLiteral("openWin('/two.php')"));
    ASSERT_TRUE(WaitFor([&] { return window->Tabs().PageFrames()[2] != nullptr; }));
    EXPECT_EQ(PageWebClient(*window)->currentIndex(), 2);
    EXPECT_TRUE(completes(tabBrowser(2), "/two.php"));
}

TEST_F(BrowsingTest, AfterAnAccountPageTheHomeTabsNextWindowGoesToThePopupOnce)
{
    window->HomeBrowser()->Navigate(server.urlBytes("/User/UserModifyBank.php"));
    ASSERT_TRUE(completes(window->HomeBrowser(), "/User/UserModifyBank.php"));
    EXPECT_TRUE(HomeTab(*window)->OpensInPopup());

    js(window->HomeBrowser(), QStringLiteral("openWin('/popup1.php')"));
    ASSERT_TRUE(completes(child->Browser(), "/popup1.php"));
    EXPECT_TRUE(child->isVisible());
    EXPECT_TRUE(child->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(child->frameGeometry().size(), QSize(400, 400));
    EXPECT_EQ(PageWebClient(*window)->count(), 1);

    // The flag went with the first window: the next one is a tab.
    js(window->HomeBrowser(), QStringLiteral("openWin('/two.php')"));
    ASSERT_TRUE(WaitFor([&] { return window->Tabs().PageFrames()[1] != nullptr; }));
    EXPECT_TRUE(completes(tabBrowser(1), "/two.php"));
}

// The client makes the pop-ups late; the first window that needs one has it
// made then, and later windows use the same one.
TEST_F(BrowsingTest, APopupMadeOnFirstNeedTakesThatWindow)
{
    window->SetPopupWindows(nullptr, nullptr);
    child2.reset();
    child.reset();
    int made = 0;
    window->SetPopupWindowsMaker([&] {
        ++made;
        child = std::make_unique<Tfrm_child>(browsers);
        child2 = std::make_unique<Tfrm_child2>(browsers);
        child->SetPartner(child2.get());
        child2->SetPartner(child.get());
        window->SetPopupWindows(child.get(), child2.get());
    });
    TFrame_WebPopWindows* frame = openTabAt("/User/UserModifyBank.php");
    EXPECT_EQ(made, 0);

    js(frame->Browser(), QStringLiteral("openWin('/popup1.php')"));
    ASSERT_TRUE(WaitFor([&] { return child != nullptr; }));
    EXPECT_TRUE(completes(child->Browser(), "/popup1.php"));
    EXPECT_TRUE(child->isVisible());
    js(frame->Browser(), QStringLiteral("openWin('/popup2.php')"));
    EXPECT_TRUE(completes(child->Browser(), "/popup2.php"));
    EXPECT_EQ(made, 1);
    EXPECT_EQ(PageWebClient(*window)->count(), 2);
}

TEST_F(BrowsingTest, AfterAnAccountPageEveryWindowOfAPageTabGoesToThePopup)
{
    TFrame_WebPopWindows* frame = openTabAt("/User/UserModifyBank.php");
    js(frame->Browser(), QStringLiteral("openWin('/popup1.php')"));
    ASSERT_TRUE(completes(child->Browser(), "/popup1.php"));
    js(frame->Browser(), QStringLiteral("openWin('/popup2.php')"));
    ASSERT_TRUE(completes(child->Browser(), "/popup2.php")); // the new page replaces the old
    EXPECT_EQ(PageWebClient(*window)->count(), 2);
    EXPECT_EQ(child->frameGeometry().size(), QSize(735, 369)); // only the home tab resizes it

    // A navigation elsewhere ends it.
    frame->Browser()->Navigate(server.urlBytes("/one.php"));
    ASSERT_TRUE(completes(frame->Browser(), "/one.php"));
    js(frame->Browser(), QStringLiteral("openWin('/two.php')"));
    ASSERT_TRUE(WaitFor([&] { return window->Tabs().PageFrames()[2] != nullptr; }));
}

TEST_F(BrowsingTest, APopupHandsItsWindowsToTheOther)
{
    TFrame_WebPopWindows* frame = openTabAt("/User/UserModifyBank.php");
    js(frame->Browser(), QStringLiteral("openWin('/popup1.php')"));
    ASSERT_TRUE(completes(child->Browser(), "/popup1.php"));

    js(child->Browser(), QStringLiteral("openWin('/popup2.php')"));
    ASSERT_TRUE(completes(child2->Browser(), "/popup2.php"));
    EXPECT_TRUE(child2->isVisible());
    EXPECT_FALSE(child->isVisible());

    js(child2->Browser(), QStringLiteral("openWin('/one.php')"));
    ASSERT_TRUE(completes(child->Browser(), "/one.php"));
    EXPECT_TRUE(child->isVisible());
    EXPECT_FALSE(child2->isVisible());
    EXPECT_EQ(PageWebClient(*window)->count(), 2);
}

TEST_F(BrowsingTest, StationIndexOfAPageTabKeepsNameAndOriginOncePerRun)
{
    openTabAt("/StationIndex.php");
    ASSERT_TRUE(WaitFor([&] { return window->IsStationNameSaved(); }));
    const QByteArray origin = "http://127.0.0.1:" + QByteArray::number(server.port());
    EXPECT_EQ(folder.read("Config.ini"),
              "[TaskConfig]\r\nStationName=" + G("测试站") + "\r\nHomePage=" + origin + "\r\n");
    EXPECT_EQ(window->windowTitle(), U("【测试站】 ") + QString::fromLatin1(origin));
    EXPECT_EQ(PageWebClient(*window)->tabText(0), U("[测试站] Zantu网首页"));
    EXPECT_EQ(window->StationName(), G("测试站"));

    // Later station pages change nothing.
    const QByteArray saved = folder.read("Config.ini");
    window->HomeBrowser()->Navigate(server.urlBytes("/other/StationIndex.php"));
    ASSERT_TRUE(completes(window->HomeBrowser(), "/other/StationIndex.php"));
    EXPECT_EQ(folder.read("Config.ini"), saved);
    EXPECT_EQ(PageWebClient(*window)->tabText(0), U("[测试站] Zantu网首页"));
}

TEST_F(BrowsingTest, StationIndexOfTheHomeTabKeepsTheNameOnly)
{
    window->HomeBrowser()->Navigate(server.urlBytes("/StationIndex.php"));
    ASSERT_TRUE(WaitFor([&] { return window->IsStationNameSaved(); }));
    EXPECT_EQ(folder.read("Config.ini"), "[TaskConfig]\r\nStationName=" + G("测试站") + "\r\n");
    EXPECT_EQ(PageWebClient(*window)->tabText(0), U("[测试站] Zantu网首页"));
}

TEST_F(BrowsingTest, TabCaptionsFollowTheDocumentsOwnTitle)
{
    openTabAt("/notitle.php");
    EXPECT_TRUE(WaitFor([&] { return tabCaption(1) == U("新建页面"); }));
    openTabAt("/long.php");
    EXPECT_TRUE(WaitFor([&] { return tabCaption(2) == QString(30, QLatin1Char('L')) + "..."; }));
    openTabAt("/emoji.php"); // a character GBK does not have
    EXPECT_TRUE(WaitFor([&] { return tabCaption(3) == QStringLiteral("x?y"); }))
        << tabCaption(3).toStdString();
    openTabAt("/image.png"); // not an HTML document
    EXPECT_TRUE(WaitFor([&] { return tabCaption(4) != U("新窗口(New Page)4"); }))
        << tabCaption(4).toStdString();
    // The home tab's caption is the station's, whatever its pages are called.
    EXPECT_EQ(PageWebClient(*window)->tabText(0), U("[0] Zantu网首页 "));
}

TEST_F(BrowsingTest, BackAndForwardButtonsFollowTheHistory)
{
    NavigationBar* bar = Panel3(*window);
    EXPECT_FALSE(bar->btn_goBack->isEnabled());
    window->HomeBrowser()->Navigate(server.urlBytes("/one.php"));
    ASSERT_TRUE(completes(window->HomeBrowser(), "/one.php"));
    ASSERT_TRUE(WaitFor([&] { return bar->btn_goBack->isEnabled(); }));
    EXPECT_FALSE(bar->btn_goforword->isEnabled());
    bar->btn_goBack->click();
    ASSERT_TRUE(completes(window->HomeBrowser(), "/home.php"));
    EXPECT_TRUE(
        WaitFor([&] { return bar->btn_goforword->isEnabled() && !bar->btn_goBack->isEnabled(); }));

    TFrame_WebPopWindows* frame = openTabAt("/one.php");
    EXPECT_FALSE(PartOf<QToolButton>(*frame, "btn_goBack")->isEnabled());
    frame->Browser()->Navigate(server.urlBytes("/two.php"));
    ASSERT_TRUE(completes(frame->Browser(), "/two.php"));
    ASSERT_TRUE(WaitFor([&] { return PartOf<QToolButton>(*frame, "btn_goBack")->isEnabled(); }));
    PartOf<QToolButton>(*frame, "btn_goBack")->click();
    EXPECT_TRUE(completes(frame->Browser(), "/one.php"));
}

QVariant evaluate(webview::WebBrowser* browser, const QString& script)
{
    QVariant result;
    bool done = false;
    browser->page()->runJavaScript(script, [&](const QVariant& v) {
        result = v;
        done = true;
    });
    WaitFor([&] { return done; });
    return result;
}

// The centre of an element of the page in the input child of the view.
QPoint centreOf(webview::WebBrowser* browser, const QString& id)
{
    webview::WebBrowser* view = browser;
    WaitFor([&] { return view->engineView()->focusProxy(); });
    const QVariantList rect =
        evaluate(browser, QStringLiteral("(function(){var r=document.getElementById('%1')"
                                         ".getBoundingClientRect();return [r.left+r.width/2,"
                                         "r.top+r.height/2];})()")
                              .arg(id))
            .toList();
    const QPoint css(qRound(rect.value(0).toDouble()), qRound(rect.value(1).toDouble()));
    return view->engineView()->focusProxy()->mapFrom(view->engineView(), css);
}

// Clicks the page's pad until the page sees it: the engine takes no input
// before the page's first frame is drawn.
QWidget* inputReady(webview::WebBrowser* browser)
{
    QWidget* input = browser->engineView()->focusProxy();
    WaitFor([&] {
        QTest::mouseClick(input, Qt::LeftButton, Qt::NoModifier,
                          centreOf(browser, QStringLiteral("pad")));
        return WaitFor(
            [&] { return evaluate(browser, QStringLiteral("window.seen || 0")).toInt() > 0; }, 300);
    });
    return input;
}

TEST_F(BrowsingTest, PlanLinksAreConfirmedAndOnlyTheHomeTabFollowsThem)
{
    const QByteArray confirm = G("请确定是否要下载方案信息到本地？");
    window->HomeBrowser()->Navigate(server.urlBytes("/plans.php"));
    ASSERT_TRUE(completes(window->HomeBrowser(), "/plans.php"));
    boxes.setAnswer(ui::Answer::No);
    QWidget* homeInput = inputReady(window->HomeBrowser());
    QTest::mouseClick(homeInput, Qt::LeftButton, Qt::NoModifier,
                      centreOf(window->HomeBrowser(), "plan"));
    ASSERT_TRUE(WaitFor([&] { return boxes.texts().contains(confirm); }));
    EXPECT_TRUE(completes(window->HomeBrowser(), "/printdownload.php?ProjectID=7"));

    TFrame_WebPopWindows* frame = openTabAt("/plans.php");
    QWidget* tabInput = inputReady(frame->Browser());
    QTest::mouseClick(tabInput, Qt::LeftButton, Qt::NoModifier, centreOf(frame->Browser(), "plan"));
    ASSERT_TRUE(WaitFor([&] { return boxes.texts().count(confirm) == 2; }));
    WaitFor([] { return false; }, 500);
    EXPECT_EQ(server.count("/printdownload.php"), 1); // the page tab's press never reached its page
}

TEST_F(BrowsingTest, AClosedTabGivesUpItsRendererUntilItsSlotIsTaken)
{
    TFrame_WebPopWindows* frame = openTabAt("/one.php");
    QWebEnginePage* closedPage = frame->Browser()->page();
    ASSERT_NE(closedPage->renderProcessPid(), 0);
    window->PageWebClientClose();
    EXPECT_TRUE(WaitFor(
        [&] { return closedPage->lifecycleState() == QWebEnginePage::LifecycleState::Discarded; }));
    EXPECT_EQ(closedPage->renderProcessPid(), 0);
    WaitFor([] { return false; }, 200);
    EXPECT_TRUE(real(frame->Browser())->crashNotice()->isHidden()); // ended on purpose
    EXPECT_EQ(PageWebClient(*window)->currentIndex(), 0);

    // The slot is taken again with a fresh view that loads.
    TFrame_WebPopWindows* reused = openTabAt("/two.php");
    EXPECT_EQ(reused->Tag, 1);
    EXPECT_EQ(reused->Browser()->page()->lifecycleState(), QWebEnginePage::LifecycleState::Active);
}

TEST_F(BrowsingTest, ABackgroundPageThatClosesItsWindowClosesItsOwnTab)
{
    openTabAt("/plans.php");
    openTabAt("/one.php");
    ASSERT_EQ(PageWebClient(*window)->currentIndex(), 2);
    js(tabBrowser(1), QStringLiteral("window.close()"));
    ASSERT_TRUE(WaitFor([&] { return !PageWebClient(*window)->isTabVisible(1); }));
    EXPECT_EQ(PageWebClient(*window)->currentIndex(), 2);
    EXPECT_TRUE(PageWebClient(*window)->isTabVisible(2));

    // The home tab's page closes nothing.
    js(window->HomeBrowser(), QStringLiteral("window.close()"));
    WaitFor([] { return false; }, 300);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(PageWebClient(*window)->isTabVisible(0));
}

TEST_F(BrowsingTest, APageThatOpensWindowsInALoopFillsTheSlotsAndNoMore)
{
    js(window->HomeBrowser(),
       QStringLiteral("for (var i = 0; i < 120; ++i) openWin('/one.php?' + i);"));
    ASSERT_TRUE(WaitFor(
        [&] { return PageWebClient(*window)->count() == Tfrm_printTicket::SlotCount; }, 60000));
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(PageWebClient(*window)->count(), Tfrm_printTicket::SlotCount);
    EXPECT_TRUE(window->isVisible());
    // The 21 that no tab could hold each opened in a window of its own.
    EXPECT_TRUE(WaitFor([] {
        int own = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            own += qobject_cast<Tfrm_browserWindow*>(w) != nullptr;
        return own == 21;
    }));
}

// A page's box belongs to its own window: a pop-up window's stands above that
// stay-on-top window, not behind it under the main window.
TEST_F(BrowsingTest, APagesAlertBelongsToTheWindowOfItsView)
{
    TFrame_WebPopWindows* frame = openTabAndBothPopups();
    ASSERT_TRUE(frame);

    struct Case
    {
        webview::WebBrowser* browser;
        QWidget* window;
    };
    for (const Case& c :
         {Case{child2->Browser(), child2.get()}, Case{frame->Browser(), window.get()},
          Case{window->HomeBrowser(), window.get()}}) {
        const int before = boxes.boxes().size();
        js(c.browser, QStringLiteral("alert('\u8BF7\u6253\u5370')")); // 请打印
        ASSERT_TRUE(WaitFor([&] { return boxes.boxes().size() == before + 1; }))
            << c.window->objectName().toStdString();
        EXPECT_EQ(boxes.boxes().last().text, G("请打印"));
        EXPECT_EQ(boxes.boxes().last().parent, c.window) << c.window->objectName().toStdString();
    }
    EXPECT_TRUE(child2->isVisible());
}

// Print.ini rules the pages of every view: the home tab, a page tab and both
// pop-up windows. Here its printer is missing, so each view names it in its
// own window and then asks for another printer.
TEST_F(BrowsingTest, EveryViewPrintsAfterThePrintProfile)
{
    folder.write("Print.ini", "[Any]\r\nPrinter=zantu-no-such-printer\r\nSilent=1\r\n");
    QList<QWidget*> dialogs;
    webview::WebView::SetPrintDialog([&](QPrinter&, QWidget* owner) {
        dialogs.append(owner);
        return false;
    });
    TFrame_WebPopWindows* frame = openTabAndBothPopups();
    ASSERT_TRUE(frame);

    struct Case
    {
        webview::WebBrowser* browser;
        QWidget* window;
        std::string path;
    };
    for (const Case& c : {Case{window->HomeBrowser(), window.get(), "/home.php"},
                          Case{frame->Browser(), window.get(), "/User/UserModifyBank.php"},
                          Case{child->Browser(), child.get(), "/popup1.php"},
                          Case{child2->Browser(), child2.get(), "/popup2.php"}}) {
        const int before = dialogs.size();
        js(c.browser, QStringLiteral("window.print()"));
        ASSERT_TRUE(WaitFor([&] { return dialogs.size() == before + 1; })) << c.path;
        EXPECT_EQ(dialogs.last(), c.window) << c.path;
        ASSERT_EQ(boxes.boxes().size(), before + 1) << c.path;
        EXPECT_EQ(boxes.boxes().last().text,
                  G("找不到打印机“zantu-no-such-printer”，请检查打印机设置。"));
        EXPECT_EQ(boxes.boxes().last().parent->window(), c.window) << c.path;
        const QByteArray log = folder.read(TempProgramFolder::DayLogName(QStringLiteral("Print")));
        EXPECT_TRUE(log.contains("Any  zantu-no-such-printer  " + server.urlBytes(c.path) +
                                 "  1  printer missing\r\n"))
            << c.path;
    }
    webview::WebView::SetPrintDialog({});
}

// The input filter of the home tab and the page tabs leaves the browser's
// own keys and Ctrl+wheel alone.
TEST_F(BrowsingTest, FilteredViewsStillPrintFindAndZoomByKeys)
{
    int printDialogs = 0;
    webview::WebView::SetPrintDialog([&](QPrinter&, QWidget* owner) {
        EXPECT_EQ(owner, window.get());
        ++printDialogs;
        return false;
    });
    TFrame_WebPopWindows* frame = openTabAt("/plans.php");
    window->HomeBrowser()->Navigate(server.urlBytes("/plans.php"));
    ASSERT_TRUE(completes(window->HomeBrowser(), "/plans.php"));
    window->activateWindow();
    for (int tab : {1, 0}) {
        PageWebClient(*window)->setCurrentIndex(tab);
        webview::WebBrowser* browser = tab == 0 ? window->HomeBrowser() : frame->Browser();
        webview::WebView* view = real(browser);
        QWidget* input = inputReady(browser);
        view->engineView()->setFocus();
        const int before = printDialogs;
        QTest::keyClick(input, Qt::Key_P, Qt::ControlModifier);
        EXPECT_EQ(printDialogs, before + 1) << "tab " << tab;
        QTest::keyClick(input, Qt::Key_Equal, Qt::ControlModifier);
        EXPECT_NEAR(view->page()->zoomFactor(), 1.1, 0.001) << "tab " << tab;
        QTest::keyClick(input, Qt::Key_0, Qt::ControlModifier);
        EXPECT_NEAR(view->page()->zoomFactor(), 1.0, 0.001) << "tab " << tab;
        EXPECT_TRUE(WaitFor([&] {
            const QPoint at = centreOf(browser, QStringLiteral("pad"));
            QWheelEvent wheel(at, input->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                              Qt::ControlModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(input, &wheel);
            return WaitFor([&] { return view->page()->zoomFactor() < 0.95; }, 300);
        })) << "tab "
            << tab;
        QTest::keyClick(input, Qt::Key_F, Qt::ControlModifier);
        EXPECT_TRUE(view->findBar()->isVisible()) << "tab " << tab;
    }
    webview::WebView::SetPrintDialog({});
}

// A renderer killed from outside ends that tab's page only, and a page that
// came by GET comes back by itself with a new renderer, the other views going
// on. One that ends again within a minute of that reload keeps the notice;
// the tab's refresh loads it again.
TEST_F(BrowsingTest, AKilledRendererOfAGetPageReloadsItselfOnceAMinute)
{
    TFrame_WebPopWindows* frame = openTabAt("/one.php");
    auto* view = real(frame->Browser());
    const qint64 pid = view->page()->renderProcessPid();
    ASSERT_GT(pid, 0);
    ASSERT_NE(pid, window->HomeBrowser()->page()->renderProcessPid());
    ASSERT_EQ(::kill(static_cast<pid_t>(pid), SIGKILL), 0);
    EXPECT_TRUE(completes(frame->Browser(), "/one.php"));
    EXPECT_EQ(server.count("/one.php"), 2);
    EXPECT_TRUE(view->crashNotice()->isHidden());
    const qint64 second = view->page()->renderProcessPid();
    EXPECT_GT(second, 0);
    EXPECT_NE(second, pid);
    EXPECT_EQ(evaluate(frame->Browser(), QStringLiteral("document.title")).toString(),
              QStringLiteral("Page One"));
    EXPECT_TRUE(
        folder.read(TempProgramFolder::DayLogName(QStringLiteral("Session"))).contains("/one.php"))
        << "one line in the log";

    QSignalSpy ended(view->page(), &QWebEnginePage::renderProcessTerminated);
    ASSERT_EQ(::kill(static_cast<pid_t>(second), SIGKILL), 0);
    ASSERT_TRUE(ended.wait(15000));
    EXPECT_TRUE(WaitFor([&] { return view->crashNotice()->isVisible(); }));
    EXPECT_EQ(view->crashNotice()->geometry(), view->engineView()->geometry());
    WaitFor([] { return false; }, 500);
    EXPECT_EQ(server.count("/one.php"), 2);
    EXPECT_EQ(view->page()->renderProcessPid(), 0);

    EXPECT_EQ(window->Tabs().PageFrames()[1], frame);
    EXPECT_TRUE(PageWebClient(*window)->isTabVisible(1));
    window->HomeBrowser()->Navigate(server.urlBytes("/two.php"));
    EXPECT_TRUE(completes(window->HomeBrowser(), "/two.php"));

    PageWebClient(*window)->setCurrentIndex(1);
    PartOf<QToolButton>(*frame, "RzToolButton1")->click();
    EXPECT_TRUE(completes(frame->Browser(), "/one.php"));
    EXPECT_EQ(server.count("/one.php"), 3);
    EXPECT_TRUE(WaitFor([&] { return view->crashNotice()->isHidden(); }));
    EXPECT_GT(view->page()->renderProcessPid(), 0);
}

// Once the minute after an automatic reload has passed, the next end of the
// renderer is reloaded by itself again.
TEST_F(BrowsingTest, AfterTheRepeatWindowARendererEndReloadsItselfAgain)
{
    webview::CrashRecovery::SetRepeatWindowForTesting(1500);
    TFrame_WebPopWindows* frame = openTabAt("/one.php");
    auto* view = real(frame->Browser());
    for (int round = 1; round <= 2; ++round) {
        if (round == 2)
            WaitFor([] { return false; }, 1800);
        const qint64 pid = view->page()->renderProcessPid();
        ASSERT_GT(pid, 0);
        ASSERT_EQ(::kill(static_cast<pid_t>(pid), SIGKILL), 0);
        EXPECT_TRUE(completes(frame->Browser(), "/one.php")) << "round " << round;
        EXPECT_EQ(server.count("/one.php"), 1 + round);
        EXPECT_TRUE(view->crashNotice()->isHidden());
    }
    webview::CrashRecovery::SetRepeatWindowForTesting(0);
}

// A closed tab, or a pop-up window that was closed, stops retrying its page.
TEST_F(BrowsingTest, RetriesStopWhenTheTabOrThePopupIsClosed)
{
    const int port = LocalHttpServer::FreePort();
    const QByteArray down = "http://127.0.0.1:" + QByteArray::number(port) + "/down.php";
    TFrame_WebPopWindows* frame = window->OpenNewActiveTab();
    frame->Browser()->Navigate(down);
    child->show();
    child->Browser()->Navigate(down + "?popup");
    auto line = [](webview::WebBrowser* browser) {
        return browser->findChild<QWidget*>(QStringLiteral("NetworkRetryNotice"));
    };
    ASSERT_TRUE(WaitFor([&] {
        return line(frame->Browser())->isVisible() && line(child->Browser())->isVisible();
    }));
    window->PageWebClientClose();
    child->close();
    LocalHttpServer late;
    late.page("/down.php", page("Down"));
    ASSERT_TRUE(late.start(port));
    // Past the next two attempts of both series.
    WaitFor([] { return false; }, 7000);
    EXPECT_EQ(late.count("/down.php"), 0);
    EXPECT_TRUE(line(frame->Browser())->isHidden());
}

// A tab that a page opened by itself came by GET too: it reloads by itself.
TEST_F(BrowsingTest, AKilledRendererOfAWindowOpenedByAPageReloadsItself)
{
    js(window->HomeBrowser(), QStringLiteral("openWin('/two.php')"));
    ASSERT_TRUE(WaitFor([&] { return window->Tabs().PageFrames()[1] != nullptr; }));
    ASSERT_TRUE(completes(tabBrowser(1), "/two.php"));
    auto* view = real(tabBrowser(1));
    watch(tabBrowser(1));
    // The page shares its opener's renderer: both go, both come back.
    const qint64 pid = view->page()->renderProcessPid();
    QSignalSpy ended(view->page(), &QWebEnginePage::renderProcessTerminated);
    ASSERT_EQ(::kill(static_cast<pid_t>(pid), SIGKILL), 0);
    ASSERT_TRUE(ended.wait(15000));
    EXPECT_TRUE(
        WaitFor([&] { return completed[tabBrowser(1)].contains(server.urlBytes("/two.php")); }));
    EXPECT_TRUE(view->crashNotice()->isHidden());
    EXPECT_NE(view->page()->renderProcessPid(), pid);
    EXPECT_EQ(evaluate(tabBrowser(1), QStringLiteral("document.title")).toString(),
              QStringLiteral("Page Two"));
    EXPECT_EQ(tabBrowser(1)->SessionURL(), server.urlBytes("/two.php"));
}

// A page tab that shows a posted page keeps the notice: nothing is posted again.
TEST_F(BrowsingTest, AKilledRendererOfAPostedPageKeepsTheNoticeAndPostsNothing)
{
    TFrame_WebPopWindows* frame = window->OpenNewActiveTab();
    watch(frame->Browser());
    frame->Browser()->NavigatePost(server.urlBytes("/two.php"), "bet=7",
                                   "Content-Type: application/x-www-form-urlencoded");
    ASSERT_TRUE(completes(frame->Browser(), "/two.php"));
    auto* view = real(frame->Browser());
    QSignalSpy ended(view->page(), &QWebEnginePage::renderProcessTerminated);
    ASSERT_EQ(::kill(static_cast<pid_t>(view->page()->renderProcessPid()), SIGKILL), 0);
    ASSERT_TRUE(ended.wait(15000));
    EXPECT_TRUE(WaitFor([&] { return view->crashNotice()->isVisible(); }));
    WaitFor([] { return false; }, 1000);
    EXPECT_EQ(server.count("/two.php"), 1);
    EXPECT_TRUE(view->crashNotice()->isVisible());
    EXPECT_EQ(view->page()->renderProcessPid(), 0);
}

} // namespace
