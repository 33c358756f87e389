#include "shell/U_PrintTicket.h"

#include "browsing/BrowserWindow.h"
#include "browsing/PageTabs.h"
#include "browsing/U_WebPopWindows.h"
#include "localfiles/Gbk.h"
#include "site/InputFilter.h"
#include "support/LocalHttpServer.h"
#include "support/MessageBoxRecorder.h"
#include "support/QuietMainWindow.h"
#include "support/TempProgramFolder.h"
#include "support/Wait.h"
#include "support/WebTestProfile.h"
#include "support/WindowParts.h"
#include "webview/DownloadSaver.h"
#include "webview/WebPage.h"
#include "webview/WebView.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QPrinter>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

std::string page(const std::string& title, const std::string& body = {})
{
    return "<html><head><title>" + title +
           "</title><script>function openWin(p){ window.open(p); }</script></head><body>" + body +
           "</body></html>";
}

QList<Tfrm_browserWindow*> browserWindows()
{
    QList<Tfrm_browserWindow*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<Tfrm_browserWindow*>(w))
            found.append(b);
    return found;
}

void js(webview::WebBrowser* browser, const QString& code)
{
    browser->page()->runJavaScript(code);
}
bool shows(webview::WebBrowser* browser, const QByteArray& url)
{
    return WaitFor([&] {
        return browser->LocationURL() == url && !browser->Busy() && browser->HasDocument() &&
               !browser->DocumentTitle().isEmpty();
    });
}

// With all 100 slots open, a page's new window opens in a browser window of
// its own, with the services of every other view.
class BrowserWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server.page("/home.php", page("Home"));
        server.page("/one.php", page("One"));
        server.page("/extra.php", page("Extra", "<p>the 101st</p>"));
        server.page("/more.php", page("More"));
        server.server().Get("/plan.txt", [](const httplib::Request&, httplib::Response& res) {
            res.set_header("Content-Disposition", "attachment; filename=\"plan.txt\"");
            res.set_content("plan 7\r\n", "application/octet-stream");
        });
        server.start();
        folder.write("AutoUpdate.ini",
                     "[Version]\r\nHomePage=" + server.urlBytes("/home.php") + "\r\n");
        window = std::make_unique<QuietMainWindow>(browsers);
        window->show();
        ASSERT_TRUE(shows(window->HomeBrowser(), server.urlBytes("/home.php")));
    }
    void TearDown() override
    {
        webview::WebView::SetPrintDialog({});
        window.reset();
    }

    TempProgramFolder folder;
    MessageBoxRecorder boxes;
    LocalHttpServer server;
    std::unique_ptr<QWebEngineProfile> profile = MakeTestProfile();
    webview::WebViewFactory browsers{profile.get()};
    webview::DownloadSaver downloads{profile.get()};
    std::unique_ptr<QuietMainWindow> window;
};

TEST_F(BrowserWindowTest, TheHundredAndFirstWindowOpensInAWindowOfItsOwnWithEveryService)
{
    js(window->HomeBrowser(),
       QStringLiteral("for (var i = 0; i < 99; ++i) openWin('/one.php?' + i);"));
    ASSERT_TRUE(WaitFor(
        [&] { return PageWebClient(*window)->count() == Tfrm_printTicket::SlotCount; }, 60000));
    ASSERT_TRUE(browserWindows().isEmpty());

    // The 101st, from the home tab.
    js(window->HomeBrowser(), QStringLiteral("openWin('/extra.php')"));
    ASSERT_TRUE(WaitFor([&] { return browserWindows().size() == 1; }));
    QPointer<Tfrm_browserWindow> own = browserWindows()[0];
    webview::WebBrowser* browser = own->Browser();
    ASSERT_TRUE(shows(browser, server.urlBytes("/extra.php")));
    EXPECT_EQ(PageWebClient(*window)->count(), Tfrm_printTicket::SlotCount);
    EXPECT_TRUE(own->isVisible());
    EXPECT_TRUE(own->isWindow());
    EXPECT_FALSE(own->windowFlags() & Qt::WindowStaysOnTopHint);
    ASSERT_NE(own->windowHandle(), nullptr);
    EXPECT_EQ(own->windowHandle()->transientParent(), nullptr); // not held above the main window
    EXPECT_TRUE(WaitFor([&] { return own->windowTitle() == QStringLiteral("Extra"); }));
    EXPECT_EQ(browser->page()->profile(), profile.get());
    EXPECT_TRUE(window->findChild<site::InputFilter*>()->IsRegistered(browser));

    // A page box belongs to this window.
    js(browser, QStringLiteral("alert('hello')"));
    ASSERT_TRUE(WaitFor([&] { return boxes.boxes().size() == 1; }));
    EXPECT_EQ(boxes.boxes()[0].text, "hello");
    EXPECT_EQ(boxes.boxes()[0].parent, own.data());

    // The page prints, asking in this window.
    QWidget* printOwner = nullptr;
    webview::WebView::SetPrintDialog([&](QPrinter&, QWidget* owner) {
        printOwner = owner;
        return false;
    });
    js(browser, QStringLiteral("window.print()"));
    ASSERT_TRUE(WaitFor([&] { return printOwner != nullptr; }));
    EXPECT_EQ(printOwner, own.data());

    // A download is saved, its file chosen in this window.
    QTemporaryDir saveFolder;
    QWidget* downloadOwner = nullptr;
    downloads.SetPathChooser([&](const QString&, QWidget* owner) {
        downloadOwner = owner;
        return saveFolder.filePath(QStringLiteral("plan.txt"));
    });
    QSignalSpy saved(&downloads, &webview::DownloadSaver::Finished);
    browser->Navigate(server.urlBytes("/plan.txt"));
    ASSERT_TRUE(WaitFor([&] { return !saved.isEmpty(); }));
    EXPECT_TRUE(saved[0][1].toBool());
    EXPECT_EQ(downloadOwner, own.data());
    QFile file(saveFolder.filePath(QStringLiteral("plan.txt")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "plan 7\r\n");

    // The 102nd, from a page tab, opens in a second window of its own.
    webview::WebBrowser* tab = window->Tabs().PageFrames()[1]->Browser();
    js(tab, QStringLiteral("openWin('/more.php')"));
    ASSERT_TRUE(WaitFor([&] { return browserWindows().size() == 2; }));
    Tfrm_browserWindow* second =
        browserWindows()[0] == own ? browserWindows()[1] : browserWindows()[0];
    EXPECT_TRUE(shows(second->Browser(), server.urlBytes("/more.php")));
    EXPECT_EQ(PageWebClient(*window)->count(), Tfrm_printTicket::SlotCount);

    // The page that was opened may close its window, which is then freed.
    js(browser, QStringLiteral("window.close()"));
    EXPECT_TRUE(WaitFor([&] { return own.isNull(); }));
    EXPECT_EQ(browserWindows().size(), 1);

    // The one left goes with the main window, before the web profile.
    QPointer<Tfrm_browserWindow> left = second;
    window.reset();
    EXPECT_TRUE(left.isNull());
}

} // namespace
