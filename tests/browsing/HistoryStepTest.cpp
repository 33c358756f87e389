#include "shell/U_PrintTicket.h"

#include "browsing/NavigationBar.h"
#include "browsing/U_WebPopWindows.h"
#include "support/LocalHttpServer.h"
#include "support/MessageBoxRecorder.h"
#include "support/QuietMainWindow.h"
#include "support/TempProgramFolder.h"
#include "support/Wait.h"
#include "support/WebTestProfile.h"
#include "support/WindowParts.h"
#include "webview/WebPage.h"
#include "webview/WebView.h"

#include <QTabWidget>
#include <QToolButton>
#include <QWebEngineHistory>

#include <gtest/gtest.h>

namespace {

std::string page(const std::string& title, const std::string& script = {})
{
    return "<html><head><title>" + title + "</title><script>" + script + "</script></head><body>" +
           title + "</body></html>";
}

// Back and forward go one step of the view's history whenever their button is
// enabled, also over a page that moved on by itself, without a user gesture,
// which the engine's own back and forward skip.
class HistoryStepTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server.page("/start.php", page("Start"));
        // Moves on by a timer, the first time only: shown again by a history
        // step, it stays.
        server.page("/timer.php",
                    page("Timer",
                         "if (!sessionStorage.moved) { sessionStorage.moved = '1';"
                         " setTimeout(function () { location.href = '/after.php'; }, 50); }"));
        server.page("/after.php", page("After"));
        server.start();
        folder.write("AutoUpdate.ini",
                     "[Version]\r\nHomePage=" + server.urlBytes("/start.php") + "\r\n");
        window = std::make_unique<QuietMainWindow>(browsers);
        window->show();
    }
    void TearDown() override { window.reset(); }

    // The address the browser shows, once it has loaded it.
    bool shows(webview::WebBrowser* browser, const std::string& path)
    {
        const QByteArray url = server.urlBytes(path);
        return WaitFor([&] {
            return browser->LocationURL() == url && !browser->Busy() && browser->HasDocument() &&
                   browser->DocumentTitle() != QByteArray();
        });
    }
    static int historyIndex(webview::WebBrowser* browser)
    {
        return browser->page()->history()->currentItemIndex();
    }
    // Presses the button once it is enabled; false when it never is.
    static bool press(QToolButton* button)
    {
        if (!WaitFor([&] { return button->isEnabled(); }))
            return false;
        button->click();
        return true;
    }

    TempProgramFolder folder;
    MessageBoxRecorder boxes;
    LocalHttpServer server;
    std::unique_ptr<QWebEngineProfile> profile = MakeTestProfile();
    webview::WebViewFactory browsers{profile.get()};
    std::unique_ptr<QuietMainWindow> window;
};

TEST_F(HistoryStepTest, EachPressGoesOneStepOverAPageThatMovedOnByATimer)
{
    struct Tab
    {
        const char* name;
        webview::WebBrowser* browser;
        QToolButton* back;
        QToolButton* forward;
    };
    ASSERT_TRUE(shows(window->HomeBrowser(), "/start.php"));
    TFrame_WebPopWindows* frame = window->OpenNewActiveTab();
    ASSERT_NE(frame, nullptr);
    // The home tab starts from its home page; the page tab's first page is the
    // one that moves on, so that the engine's back step has nowhere to go.
    frame->Browser()->Navigate(server.urlBytes("/timer.php"));
    ASSERT_TRUE(shows(frame->Browser(), "/after.php"));
    PageWebClient(*window)->setCurrentIndex(0);
    window->HomeBrowser()->Navigate(server.urlBytes("/timer.php"));
    ASSERT_TRUE(shows(window->HomeBrowser(), "/after.php"));

    for (const Tab& tab :
         {Tab{"home tab", window->HomeBrowser(), Panel3(*window)->btn_goBack,
              Panel3(*window)->btn_goforword},
          Tab{"page tab", frame->Browser(), PartOf<QToolButton>(*frame, "btn_goBack"),
              PartOf<QToolButton>(*frame, "btn_goforword")}}) {
        SCOPED_TRACE(tab.name);
        webview::WebBrowser* b = tab.browser;
        const int last = historyIndex(b);
        ASSERT_TRUE(press(tab.back));
        ASSERT_TRUE(shows(b, "/timer.php"));
        EXPECT_EQ(historyIndex(b), last - 1);
        EXPECT_TRUE(WaitFor([&] { return tab.forward->isEnabled(); }));

        ASSERT_TRUE(press(tab.forward));
        ASSERT_TRUE(shows(b, "/after.php"));
        EXPECT_EQ(historyIndex(b), last);
        EXPECT_TRUE(WaitFor([&] { return !tab.forward->isEnabled(); }));

        // Back to the first page, one step a press, and no further.
        ASSERT_TRUE(press(tab.back));
        ASSERT_TRUE(shows(b, "/timer.php"));
        if (b == window->HomeBrowser()) {
            ASSERT_TRUE(press(tab.back));
            ASSERT_TRUE(shows(b, "/start.php"));
            // Forward from the first page stops at the page that moved on.
            ASSERT_TRUE(press(tab.forward));
            ASSERT_TRUE(shows(b, "/timer.php"));
            ASSERT_TRUE(press(tab.back));
            ASSERT_TRUE(shows(b, "/start.php"));
        }
        EXPECT_EQ(historyIndex(b), 0);
        EXPECT_TRUE(WaitFor([&] { return !tab.back->isEnabled(); }));
        EXPECT_TRUE(tab.forward->isEnabled());
    }
}

} // namespace
