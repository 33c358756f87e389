#include "webview/CrashNotice.h"
#include "webview/HangWatch.h"
#include "webview/NetworkRetry.h"
#include "webview/ViewNotice.h"
#include "webview/WebPage.h"
#include "webview/WebView.h"

#include "support/LocalHttpServer.h"
#include "support/MessageBoxRecorder.h"
#include "support/PageScript.h"
#include "support/TempProgramFolder.h"
#include "support/Wait.h"
#include "support/WebTestProfile.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QSignalSpy>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <iostream>

namespace {

const std::string Page = "<html><head><title>Back</title></head><body>back</body></html>";

// A view of its own on a site that may not be there yet.
class SelfHealingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        view = std::make_unique<webview::WebView>(profile.get(), nullptr);
        view->resize(800, 600);
        view->show();
        QObject::connect(view.get(), &webview::WebBrowser::DocumentComplete, view.get(),
                         [this](const QByteArray& url) { completed.append(url); });
    }
    void TearDown() override { view.reset(); }

    webview::ViewNotice* notice(const char* name) const
    {
        return view->findChild<webview::ViewNotice*>(QString::fromLatin1(name));
    }
    QByteArray sessionLog() const
    {
        return folder.read(TempProgramFolder::DayLogName(QStringLiteral("Session")));
    }
    bool loadAndWait(LocalHttpServer& server, const std::string& path)
    {
        const QByteArray url = server.urlBytes(path);
        const int before = completed.count(url);
        view->Navigate(url);
        return WaitFor([&] { return completed.count(url) > before; });
    }

    TempProgramFolder folder;
    MessageBoxRecorder boxes;
    std::unique_ptr<QWebEngineProfile> profile = MakeTestProfile();
    std::unique_ptr<webview::WebView> view;
    QList<QByteArray> completed;
};

TEST(NetworkRetryRules, WaitsTwoFourEightSixteenThenEveryThirtySeconds)
{
    const int expected[] = {2000, 4000, 8000, 16000, 30000, 30000, 30000};
    for (int attempt = 1; attempt <= 7; ++attempt)
        EXPECT_EQ(webview::NetworkRetry::DelayMs(attempt), expected[attempt - 1]) << attempt;
}

TEST(NetworkRetryRules, OnlyAFailureOfTheNetworkIsRetried)
{
    struct Case
    {
        int code;
        bool network;
    };
    // Refused, reset, timed out, name not resolved, offline; against an
    // aborted load, a certificate error, a bad response, an unsafe port.
    for (const Case& c : {Case{-102, true}, Case{-101, true}, Case{-118, true}, Case{-7, true},
                          Case{-105, true}, Case{-106, true}, Case{-3, false}, Case{-202, false},
                          Case{-320, false}, Case{-312, false}, Case{0, false}, Case{404, false}})
        EXPECT_EQ(webview::NetworkRetry::IsNetworkFailure(c.code), c.network) << c.code;
}

// The server is down at the first load and comes up on the same port 3 s
// later: the page comes by itself, and the line of ours goes.
TEST_F(SelfHealingTest, APageWhoseServerComesBackLoadsByItself)
{
    const int port = LocalHttpServer::FreePort();
    ASSERT_GT(port, 0);
    const QByteArray url = "http://127.0.0.1:" + QByteArray::number(port) + "/back.html";
    view->Navigate(url);
    webview::ViewNotice* line = notice("NetworkRetryNotice");
    ASSERT_NE(line, nullptr);
    ASSERT_TRUE(WaitFor([&] { return line->isVisible(); }));
    EXPECT_LT(line->height(), view->engineView()->height() / 4) << "one line, not a cover";
    EXPECT_TRUE(sessionLog().contains(url)) << sessionLog().toStdString();

    WaitFor([] { return false; }, 3000);
    LocalHttpServer server;
    server.page("/back.html", Page);
    ASSERT_TRUE(server.start(port));
    QElapsedTimer sinceUp;
    sinceUp.start();
    // 2, 4, 8 s: the third attempt, 14 s after the first failure, at the latest.
    ASSERT_TRUE(WaitFor([&] { return completed.contains(url); }, 20000));
    std::cout << "[ MEASURE  ] shown " << sinceUp.elapsed() << " ms after the server came up\n";
    EXPECT_EQ(server.count("/back.html"), 1);
    EXPECT_TRUE(WaitFor([&] { return line->isHidden(); }));
    EXPECT_EQ(RunPageScript(view->page(), QStringLiteral("document.title"))->toString(),
              QStringLiteral("Back"));
    EXPECT_EQ(sessionLog().count(url), 1) << "one line a series";
}

// A post to a server that is down is never sent again, even once the server
// is up; a site's own error answer is not retried either.
TEST_F(SelfHealingTest, APostOrTheSitesOwnErrorIsNotRetried)
{
    const int port = LocalHttpServer::FreePort();
    const QByteArray url = "http://127.0.0.1:" + QByteArray::number(port) + "/bet.php";
    QSignalSpy finished(view->page(), &QWebEnginePage::loadFinished);
    view->NavigatePost(url, "bet=1", "Content-Type: application/x-www-form-urlencoded");
    ASSERT_TRUE(finished.wait(15000));
    EXPECT_FALSE(finished.first().first().toBool());
    LocalHttpServer server;
    server.page("/bet.php", Page);
    server.server().Get("/gone.php", [](const httplib::Request&, httplib::Response& res) {
        res.status = 503;
        res.set_content("busy", "text/html");
    });
    ASSERT_TRUE(server.start(port));
    // Past the first two attempts of a series (2 and 6 s).
    WaitFor([] { return false; }, 7000);
    EXPECT_EQ(server.count("/bet.php"), 0);
    EXPECT_TRUE(notice("NetworkRetryNotice")->isHidden());

    view->Navigate(server.urlBytes("/gone.php"));
    ASSERT_TRUE(WaitFor([&] { return server.count("/gone.php") == 1; }));
    WaitFor([] { return false; }, 3000);
    EXPECT_EQ(server.count("/gone.php"), 1);
    EXPECT_TRUE(notice("NetworkRetryNotice")->isHidden());
    EXPECT_FALSE(sessionLog().contains("bet.php"));
}

// Going elsewhere ends a series: the page that failed is not loaded over the
// one the operator chose.
TEST_F(SelfHealingTest, NavigatingElsewhereEndsTheRetries)
{
    LocalHttpServer server;
    server.page("/other.html", Page);
    server.start();
    const int port = LocalHttpServer::FreePort();
    const QByteArray url = "http://127.0.0.1:" + QByteArray::number(port) + "/back.html";
    view->Navigate(url);
    ASSERT_TRUE(WaitFor([&] { return notice("NetworkRetryNotice")->isVisible(); }));
    ASSERT_TRUE(loadAndWait(server, "/other.html"));
    EXPECT_TRUE(notice("NetworkRetryNotice")->isHidden());
    LocalHttpServer late;
    late.page("/back.html", Page);
    ASSERT_TRUE(late.start(port));
    WaitFor([] { return false; }, 3000);
    EXPECT_EQ(late.count("/back.html"), 0);
    EXPECT_EQ(view->LocationURL(), server.urlBytes("/other.html"));
}

class HangTest : public SelfHealingTest
{
protected:
    void SetUp() override
    {
        SelfHealingTest::SetUp();
        server.page("/spin.html", "<html><head><title>Spin</title></head><body>"
                                  "<script>function spin(ms){ var end = Date.now() + ms;"
                                  " while (ms < 0 || Date.now() < end) {} }</script>"
                                  "spin</body></html>");
        server.start();
    }
    void spin(int ms)
    {
        view->page()->runJavaScript(
            QStringLiteral("setTimeout(function(){ spin(%1); }, 0)").arg(ms));
    }
    LocalHttpServer server;
};

// A script that never returns: the notice comes within 20 s, and its button
// ends the renderer and gives the page again.
TEST_F(HangTest, AHungPageGetsTheNoticeAndItsButtonGivesAWorkingPage)
{
    ASSERT_TRUE(loadAndWait(server, "/spin.html"));
    webview::ViewNotice* hang = notice("HangNotice");
    ASSERT_NE(hang, nullptr);
    const qint64 pid = view->page()->renderProcessPid();
    QElapsedTimer clock;
    clock.start();
    spin(-1);
    ASSERT_TRUE(WaitFor([&] { return hang->isVisible(); }, 20000));
    std::cout << "[ MEASURE  ] hang notice after " << clock.elapsed() << " ms\n";
    EXPECT_GE(clock.elapsed(), webview::HangWatch::HangAfterMs - 100);
    EXPECT_TRUE(sessionLog().contains("/spin.html"));
    ASSERT_NE(hang->button(), nullptr);
    hang->button()->click();
    const QByteArray url = server.urlBytes("/spin.html");
    ASSERT_TRUE(WaitFor([&] { return completed.count(url) == 2; }));
    EXPECT_EQ(server.count("/spin.html"), 2);
    EXPECT_NE(view->page()->renderProcessPid(), pid);
    EXPECT_TRUE(hang->isHidden());
    EXPECT_TRUE(view->crashNotice()->isHidden());
    EXPECT_EQ(RunPageScript(view->page(), QStringLiteral("document.title"))->toString(),
              QStringLiteral("Spin"));
}

// A page busy for 5 s that then answers never gets the notice.
TEST_F(HangTest, APageBusyForFiveSecondsIsNotHung)
{
    ASSERT_TRUE(loadAndWait(server, "/spin.html"));
    webview::ViewNotice* hang = notice("HangNotice");
    bool shown = false;
    spin(5000);
    ASSERT_TRUE(WaitFor(
        [&] {
            shown = shown || hang->isVisible();
            return RunPageScript(view->page(), QStringLiteral("1"), 100).has_value();
        },
        20000))
        << "the page answers again";
    // Long enough for a question asked during the spin to have timed out.
    WaitFor(
        [&] {
            shown = shown || hang->isVisible();
            return false;
        },
        webview::HangWatch::HangAfterMs);
    EXPECT_FALSE(shown);
    EXPECT_FALSE(sessionLog().contains("/spin.html"));
}

// A hung posted page: the button ends its renderer, and the notice of an
// ended page stays; nothing is posted again.
TEST_F(HangTest, TheButtonOnAHungPostedPageLeavesTheCrashNotice)
{
    const QByteArray url = server.urlBytes("/spin.html");
    view->NavigatePost(url, "bet=1", "Content-Type: application/x-www-form-urlencoded");
    ASSERT_TRUE(WaitFor([&] { return completed.contains(url); }));
    webview::ViewNotice* hang = notice("HangNotice");
    spin(-1);
    ASSERT_TRUE(WaitFor([&] { return hang->isVisible(); }, 20000));
    hang->button()->click();
    EXPECT_TRUE(WaitFor([&] { return view->crashNotice()->isVisible(); }));
    EXPECT_TRUE(hang->isHidden());
    WaitFor([] { return false; }, 1000);
    EXPECT_EQ(server.count("/spin.html"), 1);
    EXPECT_EQ(view->page()->renderProcessPid(), 0);
}

} // namespace
