// The least a Qt WebEngine program pays: bare views of the default profile
// in one window, one shown at a time, as a tab widget shows its tabs.
// Usage: bench_baseline URL [--profile NAME]
// With --profile the views use a persistent profile of that name in place of
// the default one, to tell what the client's persistent profile costs.

#include "BenchProtocol.h"

#include <QApplication>
#include <QStackedWidget>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

class Baseline
{
public:
    Baseline(const QUrl& url, QWebEngineProfile* profile) : FUrl(url), FProfile(profile)
    {
        FWindow.showMaximized();
        // Process start to the first view's load: the runner holds the start.
        addView([](long long) {
            bench::Answer("complete " + QByteArray::number(bench::NowNs()));
            bench::MarkCpu("at home complete");
        });
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
        if (FProfile)
            view->setPage(new QWebEnginePage(FProfile, view));
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
    QWebEngineProfile* FProfile;
    QStackedWidget FWindow;
};

} // namespace

int main(int argc, char** argv)
{
    std::fprintf(stderr, "bench mark main %lld\n", bench::NowNs());
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (argc < 2) {
        bench::Answer("error usage: bench_baseline URL");
        return 2;
    }
    const QStringList args = app.arguments();
    const int named = args.indexOf(QStringLiteral("--profile"));
    std::unique_ptr<QWebEngineProfile> profile;
    if (named > 0 && named + 1 < args.size())
        profile = std::make_unique<QWebEngineProfile>(args[named + 1]);
    std::fprintf(stderr, "baseline profile: %s\n",
                 (profile ? profile.get() : QWebEngineProfile::defaultProfile())->isOffTheRecord()
                     ? "off the record"
                     : "persistent");
    // The views go before the profile.
    auto baseline = std::make_unique<Baseline>(QUrl(args[1]), profile.get());
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &app, [&baseline] { baseline.reset(); });
    bench::ReadCommands(&app, [&baseline](const QByteArray& line) {
        if (baseline)
            baseline->command(line);
    });
    return app.exec();
}
