// Measures how long a silent print takes: from a page's window.print() to the
// job in the queue of the local CUPS scheduler, on a cups-pdf printer of its
// own, through the shipped WebView and a Print.ini with a silent profile.
// Usage: bench_print [--runs N]; prints one line, or why CUPS cannot run here.

#include "localfiles/unt_Public.h"
#include "support/Wait.h"
#include "webview/CupsPdfPrinter.h"
#include "webview/WebPage.h"
#include "webview/WebView.h"

#include <httplib.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWebEngineProfile>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

long long nowUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    int runs = 10;
    const QStringList args = app.arguments();
    const int at = args.indexOf(QStringLiteral("--runs"));
    if (at > 0 && at + 1 < args.size())
        runs = std::max(1, args[at + 1].toInt());

    CupsPdfPrinter printer;
    if (!printer.failure().isEmpty() || !printer.unavailable().isEmpty()) {
        std::printf("print: not measured, CUPS cannot run here: %s\n",
                    qPrintable(printer.failure() + printer.unavailable()));
        return printer.failure().isEmpty() ? 0 : 1;
    }

    QTemporaryDir folder;
    localfiles::SetAppPathForTesting(QFile::encodeName(folder.path()));
    QFile ini(folder.filePath(QStringLiteral("Print.ini")));
    if (!ini.open(QIODevice::WriteOnly))
        return 1;
    ini.write("[Ticket80]\r\nUrlContains=/ticket.html\r\nPrinter=" + printer.name().toLatin1() +
              "\r\nSilent=1\r\nPaperWidthMm=80\r\nPaperHeightMm=200\r\nMarginsMm=4\r\n");
    ini.close();

    const std::string title =
        "ZantuBenchTicket" + std::to_string(QCoreApplication::applicationPid());
    std::string rows;
    for (int i = 1; i <= 12; ++i)
        rows += "<tr><td>" + std::to_string(i) + "</td><td>03 08 15 21 27 33 + 09</td></tr>";
    httplib::Server server;
    server.Get("/ticket.html", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content("<html><head><title>" + title +
                            "</title></head><body><h2>Ticket 2046</h2><table>" + rows +
                            "</table></body></html>",
                        "text/html");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread serverThread([&] { server.listen_after_bind(); });

    int code = 0;
    {
        QWebEngineProfile profile;
        webview::WebView view(&profile, nullptr);
        view.resize(800, 600);
        view.show();
        bool loaded = false;
        QObject::connect(&view, &webview::WebBrowser::DocumentComplete, &view,
                         [&](const QByteArray&) { loaded = true; });
        view.Navigate("http://127.0.0.1:" + QByteArray::number(port) + "/ticket.html");
        WaitFor([&] { return loaded; }, 30000);

        // lpstat runs on a thread of its own, so the view's thread is never held up.
        std::atomic<bool> stop{false};
        std::atomic<int> jobs{static_cast<int>(printer.jobs().size())};
        std::atomic<long long> seenAt{0};
        std::thread poller([&] {
            while (!stop) {
                const int n = static_cast<int>(printer.jobs().size());
                if (n != jobs) {
                    seenAt = nowUs();
                    jobs = n;
                }
            }
        });
        std::vector<double> toQueue, toFinished;
        long long finishedAt = 0;
        QObject::connect(&view, &webview::WebView::PrintFinished, &view,
                         [&](bool) { finishedAt = nowUs(); });
        for (int run = 0; run < runs && code == 0; ++run) {
            const int before = jobs;
            finishedAt = 0;
            const long long start = nowUs();
            view.page()->runJavaScript(QStringLiteral("window.print()"));
            if (!WaitFor([&] { return jobs > before && finishedAt != 0; }, 60000)) {
                std::fprintf(stderr, "bench_print: run %d: no job reached the queue\n", run + 1);
                code = 1;
                break;
            }
            toQueue.push_back((seenAt - start) / 1000.0);
            toFinished.push_back((finishedAt - start) / 1000.0);
            std::fprintf(stderr, "print run %d: %.0f ms to the queue\n", run + 1, toQueue.back());
        }
        stop = true;
        poller.join();
        if (code == 0) {
            std::printf("print: window.print() to the job in CUPS's queue, one-page 80 x 200 mm "
                        "ticket: median %.0f ms (%.0f-%.0f) over %d; to the program's word "
                        "printed %.0f ms\n",
                        median(toQueue), *std::min_element(toQueue.begin(), toQueue.end()),
                        *std::max_element(toQueue.begin(), toQueue.end()), runs,
                        median(toFinished));
        }
        // cups-pdf's files, once it has written them.
        WaitFor(
            [&] {
                return printer.finishedPdfs(QString::fromStdString(title)).size() >=
                       static_cast<qsizetype>(toQueue.size());
            },
            60000);
        for (const QString& pdf : printer.finishedPdfs(QString::fromStdString(title)))
            QFile::remove(pdf);
    }
    server.stop();
    serverThread.join();
    localfiles::SetAppPathForTesting({});
    return code;
}
