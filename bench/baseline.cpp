// The least a Qt WebEngine program pays: bare views of the default profile
// in one window, one shown at a time, as a tab widget shows its tabs.
// Usage: bench_baseline URL

#include "BenchProtocol.h"

#include <QApplication>
#include <QStackedWidget>
#include <QTimer>
#include <QWebEngineView>

#include <functional>

namespace {

class Baseline
{
public:
    explicit Baseline(const QUrl& url) : FUrl(url)
    {
        FWindow.showMaximized();
        // Process start to the first view's load: the runner holds the start.
        addView([](long long) { bench::Answer("complete " + QByteArray::number(bench::NowNs())); });
    }

    void command(const QByteArray& line)
    {
        const QList<QByteArray> words = line.split(' ');
        if (words.value(0) == "menu") {
            const long long start = bench::NowNs();
            addView([start](long long end) {
                bench::Answer("menu " + QByteArray::number(end - start));
            });
        } else if (words.value(0) == "open") {
            openUpTo(words.value(1).toInt());
        } else if (words.value(0) == "close") {
            bench::Answer("ready"); // nothing to close: the figure is the client's alone
        } else if (words.value(0) == "quit") {
            QCoreApplication::quit();
        } else {
            bench::Answer("error unknown command");
        }
    }

private:
    void addView(std::function<void(long long)> done)
    {
        auto* view = new QWebEngineView(&FWindow);
        FWindow.addWidget(view);
        FWindow.setCurrentWidget(view);
        QObject::connect(view, &QWebEngineView::loadFinished, view,
                         [done, view, fired = false](bool ok) mutable {
                             if (fired || !ok)
                                 return;
                             fired = true;
                             done(bench::NowNs());
                         });
        view->load(FUrl);
    }

    void openUpTo(int count)
    {
        if (FWindow.count() >= count) {
            bench::Answer("ready");
            return;
        }
        addView([this, count](long long) {
            QTimer::singleShot(0, &FWindow, [this, count] { openUpTo(count); });
        });
    }

    QUrl FUrl;
    QStackedWidget FWindow;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (argc < 2) {
        bench::Answer("error usage: bench_baseline URL");
        return 2;
    }
    Baseline baseline(QUrl(QString::fromLocal8Bit(argv[1])));
    bench::ReadCommands(&app, [&baseline](const QByteArray& line) { baseline.command(line); });
    return app.exec();
}
