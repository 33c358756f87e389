#include "webview/WebView.h"
#include "webview/DownloadSaver.h"
#include "webview/WebPage.h"

#include "localfiles/Gbk.h"
#include "support/LocalHttpServer.h"
#include "support/MessageBoxRecorder.h"
#include "support/PageScript.h"
#include "support/TempProgramFolder.h"
#include "support/Wait.h"
#include "support/WebTestProfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineProfile>

#include <gtest/gtest.h>

namespace {

// Pages of a small site; the GBK title is "张三的页面".
class WebViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server.page("/plain.html",
                    "<html><head><title>Plain</title></head><body>plain text</body></html>");
        server.page("/notitle.html", "<html><body>no title here</body></html>");
        server.page(
            "/gbk.html",
            "<html><head><meta charset=\"gbk\"><title>\xD5\xC5\xC8\xFD\xB5\xC4\xD2\xB3\xC3\xE6"
            "</title></head><body>x</body></html>");
        server.page("/frames.html", "<html><head><title>Outer</title></head><body>"
                                    "<iframe src=\"/plain.html\"></iframe></body></html>");
        server.page("/opener.html",
                    "<html><head><title>Opener</title></head><body>"
                    "<script>function go(){ window.w = window.open('/plain.html'); }</script>"
                    "</body></html>");
        server.page("/image.png", std::string("\x89PNG\r\n\x1a\n", 8), "image/png");
        server.page("/echo", "<html><head><title>Echo</title></head><body>posted</body></html>");
        server.server().Get("/plan.zip", [this](const httplib::Request&, httplib::Response& res) {
            res.set_header("Content-Disposition", "attachment; filename=\"plan.zip\"");
            res.set_content(planBytes.toStdString(), "application/octet-stream");
        });
        server.start();
        view = std::make_unique<webview::WebView>(profile.get(), nullptr);
        view->resize(800, 600);
        view->show();
        QObject::connect(view.get(), &webview::WebBrowser::BeforeNavigate2, view.get(),
                         [this](const QByteArray& url) { navigations.append(url); });
        QObject::connect(view.get(), &webview::WebBrowser::DocumentComplete, view.get(),
                         [this](const QByteArray& url) { completed.append(url); });
    }

    bool loadAndWait(const std::string& path)
    {
        const QByteArray url = server.urlBytes(path);
        const int before = completed.count(url);
        view->Navigate(url);
        return WaitFor([&] { return completed.count(url) > before; });
    }

    // Every byte value, and more than one read's worth.
    const QByteArray planBytes = [] {
        QByteArray bytes;
        for (int i = 0; i < 300000; ++i)
            bytes += char((i * 7 + i / 256) & 0xFF);
        return bytes;
    }();
    LocalHttpServer server;
    std::unique_ptr<QWebEngineProfile> profile = MakeTestProfile();
    std::unique_ptr<webview::WebView> view;
    QList<QByteArray> navigations;
    QList<QByteArray> completed;

    void TearDown() override { view.reset(); }
};

TEST_F(WebViewTest, ReportsNavigationAndCompletionOfMainFrameAndFrames)
{
    QByteArray titleAtFrame;
    QObject::connect(view.get(), &webview::WebBrowser::DocumentComplete, view.get(),
                     [&](const QByteArray& url) {
                         if (url == server.urlBytes("/plain.html"))
                             titleAtFrame = view->DocumentTitle();
                     });
    ASSERT_TRUE(loadAndWait("/frames.html"));
    EXPECT_EQ(titleAtFrame, "Outer"); // the page's title, already while its frame completes
    EXPECT_TRUE(navigations.contains(server.urlBytes("/frames.html")));
    EXPECT_TRUE(navigations.contains(server.urlBytes("/plain.html")));
    // The frame's document completes before the page that holds it.
    ASSERT_TRUE(completed.contains(server.urlBytes("/plain.html")));
    EXPECT_LT(completed.indexOf(server.urlBytes("/plain.html")),
              completed.indexOf(server.urlBytes("/frames.html")));
    EXPECT_EQ(view->DocumentTitle(), "Outer");
    EXPECT_FALSE(view->Busy());
    EXPECT_EQ(view->LocationURL(), server.urlBytes("/frames.html"));
}

TEST_F(WebViewTest, TitleIsTheDocumentsOwnInGbk)
{
    ASSERT_TRUE(loadAndWait("/gbk.html"));
    EXPECT_EQ(view->DocumentTitle(), "\xD5\xC5\xC8\xFD\xB5\xC4\xD2\xB3\xC3\xE6");
    ASSERT_TRUE(loadAndWait("/notitle.html"));
    EXPECT_EQ(view->DocumentTitle(), "");
}

// The engine's word that a load finished can come after the next navigation
// has begun; the next document must still report itself, with its title.
TEST_F(WebViewTest, NavigationRightAfterACompletionReportsTheNextDocumentWithItsTitle)
{
    QList<QByteArray> titles;
    QObject::connect(view.get(), &webview::WebBrowser::DocumentComplete, view.get(),
                     [&](const QByteArray& url) {
                         if (url == server.urlBytes("/plain.html"))
                             view->Navigate(server.urlBytes("/gbk.html"));
                         else if (url == server.urlBytes("/gbk.html"))
                             titles.append(view->DocumentTitle());
                     });
    for (int i = 0; i < 5; ++i) {
        view->Navigate(server.urlBytes("/plain.html"));
        ASSERT_TRUE(WaitFor([&] { return titles.size() == i + 1; })) << "round " << i;
    }
    WaitFor([] { return false; }, 200);
    EXPECT_EQ(titles, QList<QByteArray>(5, "\xD5\xC5\xC8\xFD\xB5\xC4\xD2\xB3\xC3\xE6"));
}

TEST_F(WebViewTest, NonHtmlDocumentStillCompletes)
{
    EXPECT_TRUE(loadAndWait("/image.png"));
}

TEST_F(WebViewTest, BackAndForwardStateFollowsHistory)
{
    QList<QPair<int, bool>> states;
    QObject::connect(view.get(), &webview::WebBrowser::CommandStateChange, view.get(),
                     [&](int command, bool enable) {
                         states.append({command, enable});
                     });
    ASSERT_TRUE(loadAndWait("/plain.html"));
    ASSERT_TRUE(loadAndWait("/notitle.html"));
    ASSERT_TRUE(WaitFor([&] { return states.contains({webview::CommandBack, true}); }));
    view->GoBack();
    EXPECT_TRUE(WaitFor([&] { return states.contains({webview::CommandForward, true}); }));
    EXPECT_TRUE(WaitFor([&] { return view->LocationURL() == server.urlBytes("/plain.html"); }));
}

TEST_F(WebViewTest, NewWindowLoadsInTheBrowserHandedBackAndKeepsItsOpener)
{
    webview::WebView other(profile.get(), nullptr);
    QList<QByteArray> otherCompleted;
    QObject::connect(&other, &webview::WebBrowser::DocumentComplete, &other,
                     [&](const QByteArray& url) { otherCompleted.append(url); });
    QObject::connect(
        view.get(), &webview::WebBrowser::NewWindow2, view.get(),
        [&](webview::NewWindowRequest* request) { request->browser = other.Application(); });
    ASSERT_TRUE(loadAndWait("/opener.html"));
    view->page()->runJavaScript(QStringLiteral("go()"));
    ASSERT_TRUE(WaitFor([&] { return otherCompleted.contains(server.urlBytes("/plain.html")); }));
    bool hasWindow = false;
    bool answered = false;
    view->page()->runJavaScript(
        QStringLiteral("!!(window.w && !window.w.closed && window.w.document)"),
        [&](const QVariant& v) {
            hasWindow = v.toBool();
            answered = true;
        });
    ASSERT_TRUE(WaitFor([&] { return answered; }));
    EXPECT_TRUE(hasWindow);
}

TEST_F(WebViewTest, NewWindowHandedBackToTheOpenerItselfIsBlocked)
{
    int requests = 0;
    QObject::connect(view.get(), &webview::WebBrowser::NewWindow2, view.get(),
                     [&](webview::NewWindowRequest* request) {
                         ++requests;
                         request->browser = view->Application();
                     });
    ASSERT_TRUE(loadAndWait("/opener.html"));
    view->page()->runJavaScript(QStringLiteral("go()"));
    ASSERT_TRUE(WaitFor([&] { return requests == 1; }));
    const std::optional<QVariant> title =
        RunPageScript(view->page(), QStringLiteral("document.title"));
    ASSERT_TRUE(title.has_value());
    EXPECT_EQ(title->toString(), QStringLiteral("Opener"));
}

TEST_F(WebViewTest, PostSendsExactlyTheBytesAndTheHeaderOfTheHeaderText)
{
    const QByteArray url = server.urlBytes("/echo");
    view->NavigatePost(
        url, "UserName=%D5%C5&Submit=", "Content-Type: application/x-www-form-urlencoded\n\r");
    ASSERT_TRUE(WaitFor([&] { return completed.contains(url); }));
    const auto requests = server.requests();
    const auto post =
        std::find_if(requests.begin(), requests.end(),
                     [](const LocalHttpServer::Request& r) { return r.method == "POST"; });
    ASSERT_NE(post, requests.end());
    EXPECT_EQ(post->body, "UserName=%D5%C5&Submit=");
    EXPECT_EQ(post->headers.find("Content-Type")->second, "application/x-www-form-urlencoded");
}

TEST_F(WebViewTest, ClearBodyTextNeedsADocumentWithABody)
{
    EXPECT_FALSE(view->ClearBodyText()); // never loaded
    ASSERT_TRUE(loadAndWait("/plain.html"));
    EXPECT_TRUE(view->ClearBodyText());
    QString text = QStringLiteral("unset");
    view->page()->runJavaScript(QStringLiteral("document.body.innerText"),
                                [&](const QVariant& v) { text = v.toString(); });
    ASSERT_TRUE(WaitFor([&] { return text != QStringLiteral("unset"); }));
    EXPECT_EQ(text, QString());
}

// A page's window.print() goes through the print dialog's seam, owned by the
// view's window, and the engine prints the page onto the printer set up
// there: here a PDF file, as where no printer is installed.
TEST_F(WebViewTest, APagesPrintRequestPrintsThePageToThePrinterChosen)
{
    TempProgramFolder program; // without a Print.ini
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("ticket.pdf"));
    QList<QWidget*> owners;
    webview::WebView::SetPrintDialog([&](QPrinter& printer, QWidget* window) {
        owners.append(window);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    QSignalSpy finished(view.get(), &webview::WebView::PrintFinished);
    server.page("/ticket.html", "<html><head><title>Ticket</title></head><body>"
                                "<h1>Ticket 2046</h1><p>" +
                                    std::string(400, 'x') + "</p></body></html>");
    ASSERT_TRUE(loadAndWait("/ticket.html"));
    view->page()->runJavaScript(QStringLiteral("window.print()"));
    EXPECT_TRUE(finished.wait(30000));
    webview::WebView::SetPrintDialog({});
    ASSERT_EQ(finished.size(), 1);
    EXPECT_TRUE(finished[0][0].toBool());
    EXPECT_EQ(owners, QList<QWidget*>{view->window()});
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_GT(bytes.size(), 2000); // a page with something drawn on it, not an empty shell
    EXPECT_TRUE(bytes.contains("/Page"));
}

TEST_F(WebViewTest, APrintThatFailsIsReportedInTheViewsWindow)
{
    TempProgramFolder program;
    MessageBoxRecorder boxes;
    QTemporaryDir folder;
    QFile blocker(folder.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    webview::WebView::SetPrintDialog([&](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder.filePath(QStringLiteral("file/ticket.pdf")));
        return true;
    });
    QSignalSpy finished(view.get(), &webview::WebView::PrintFinished);
    ASSERT_TRUE(loadAndWait("/plain.html"));
    view->Print();
    EXPECT_TRUE(finished.wait(30000));
    webview::WebView::SetPrintDialog({});
    ASSERT_EQ(finished.size(), 1);
    EXPECT_FALSE(finished[0][0].toBool());
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].parent, view->window());
    // The box names the page and where it was to go.
    const QByteArray target = QFile::encodeName(folder.filePath(QStringLiteral("file/ticket.pdf")));
    EXPECT_EQ(boxes.boxes()[0].text, gbk::fromUnicode(QStringLiteral(u"打印失败：页面“")) +
                                         server.urlBytes("/plain.html") +
                                         gbk::fromUnicode(QStringLiteral(u"”未能送到打印机“")) +
                                         target + gbk::fromUnicode(QStringLiteral(u"”。")));
    EXPECT_EQ(boxes.boxes()[0].caption, gbk::fromUnicode(QStringLiteral(u"打印提示")));
    EXPECT_EQ(boxes.boxes()[0].flags, ui::Mb::Ok | ui::Mb::IconError);

    // The next print is not held up by the failed one.
    int asked = 0;
    webview::WebView::SetPrintDialog([&](QPrinter&, QWidget*) { return ++asked, false; });
    view->Print();
    webview::WebView::SetPrintDialog({});
    EXPECT_EQ(asked, 1);
    const QByteArray log = program.read(TempProgramFolder::DayLogName(QStringLiteral("Print")));
    EXPECT_TRUE(
        log.contains("  -  " + target + "  " + server.urlBytes("/plain.html") + "  1  failed\r\n"))
        << log.toStdString();
    EXPECT_TRUE(log.endsWith("  -  -  " + server.urlBytes("/plain.html") + "  1  cancelled\r\n"))
        << log.toStdString();
}

// The save dialog's seam gets the site's file name and the window of the
// page's view; the file holds the bytes the server sent.
TEST_F(WebViewTest, ADownloadIsSavedWhereTheOperatorChoseOrRefused)
{
    QTemporaryDir folder;
    webview::DownloadSaver saver(profile.get());
    QStringList suggested;
    QList<QWidget*> owners;
    QString answer = folder.filePath(QStringLiteral("saved.zip"));
    saver.SetPathChooser([&](const QString& path, QWidget* window) {
        suggested.append(path);
        owners.append(window);
        return answer;
    });
    QSignalSpy finished(&saver, &webview::DownloadSaver::Finished);
    ASSERT_TRUE(loadAndWait("/plain.html"));
    view->page()->runJavaScript(QStringLiteral("location.href = '/plan.zip'"));
    ASSERT_TRUE(WaitFor([&] { return !finished.isEmpty(); }));
    EXPECT_EQ(finished[0][0].toString(), answer);
    EXPECT_TRUE(finished[0][1].toBool());
    QFile saved(answer);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll() == planBytes);
    ASSERT_EQ(suggested.size(), 1);
    EXPECT_TRUE(suggested[0].endsWith(QStringLiteral("/plan.zip")));
    EXPECT_EQ(owners, QList<QWidget*>{view->window()});
    EXPECT_EQ(view->LocationURL(), server.urlBytes("/plain.html")); // the page stays

    answer.clear(); // the operator cancels
    view->Navigate(server.urlBytes("/plan.zip"));
    ASSERT_TRUE(WaitFor([&] { return suggested.size() == 2; }));
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("saved.zip")});
    EXPECT_EQ(finished.size(), 1);
}

TEST_F(WebViewTest, TextAddressesKeepGbkBytesAndBareHostsBecomeHttp)
{
    EXPECT_EQ(webview::WebView::UrlFromText("http://h/p?n=\xD5\xC5").toEncoded(),
              "http://h/p?n=%D5%C5");
    EXPECT_EQ(webview::WebView::UrlFromText("www.zantu.com").toString(), "http://www.zantu.com");
    EXPECT_EQ(webview::WebView::UrlFromText(" http://h/a b ").toEncoded(), "http://h/a%20b");
}

} // namespace
