// The client as it ships (shell::ClientProgram), driven by the runner's
// commands. The program folder is the executable's, as for the client.

#include "BenchProtocol.h"

#include "browsing/PageTabs.h"
#include "browsing/TabSheet.h"
#include "browsing/U_WebPopWindows.h"
#include "menu/MenuToolbarBuilder.h"
#include "shell/ClientProgram.h"
#include "shell/U_PrintTicket.h"
#include "webview/WebBrowser.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

// The longest time between two turns of the GUI thread's event loop, seen by
// a timer that asks to run every 5 ms, from the loop's first turn on. Its
// own turns cost the GUI thread too, so only the stall runs have one.
class LoopGapMeter
{
public:
    LoopGapMeter()
    {
        FTimer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&FTimer, &QTimer::timeout, &FTimer, [this] {
            const long long now = bench::NowNs();
            if (FLast)
                FLongest = std::max(FLongest, now - FLast);
            FLast = now;
        });
        FTimer.start(5);
    }
    double longestMs() const { return double(FLongest) / 1e6; }

private:
    QTimer FTimer;
    long long FLast = 0;
    long long FLongest = 0;
};

class ClientDriver
{
public:
    ClientDriver(Tfrm_printTicket& window, bool meterStalls) : FWindow(window)
    {
        if (meterStalls)
            FGaps = std::make_unique<LoopGapMeter>();
        webview::WebBrowser* home = FWindow.HomeBrowser();
        QObject::connect(home, &webview::WebBrowser::DocumentComplete, home,
                         [this, home](const QByteArray& url) {
                             if (FHomeComplete || url != home->LocationURL())
                                 return;
                             FHomeComplete = true;
                             FHomeCompleteNs = bench::NowNs();
                             bench::Answer("complete " + QByteArray::number(FHomeCompleteNs));
                             bench::MarkCpu("at home complete");
                         });
    }

    void command(const QByteArray& line)
    {
        const QList<QByteArray> words = line.split(' ');
        if (words.value(0) == "menu") {
            const long long start = bench::NowNs();
            if (!chooseMenuItem([start](long long end) {
                    bench::Answer("menu " + QByteArray::number(end - start));
                }))
                bench::Answer("error no menu item or no free tab");
        } else if (words.value(0) == "open") {
            openUpTo(words.value(1).toInt());
        } else if (words.value(0) == "close") {
            close(words.value(1).toInt());
        } else if (words.value(0) == "stall") {
            answerStall(words.value(1).toInt());
        } else if (words.value(0) == "quit") {
            // As the operator ends the day: the main window's close, so that
            // the next start restores no tabs of this run.
            FWindow.close();
        } else {
            bench::Answer("error unknown command");
        }
    }

private:
    QTabWidget& tabs() const
    {
        return *FWindow.findChild<QTabWidget*>(QStringLiteral("PageWebClient"));
    }

    int openTabs() const
    {
        int open = 0;
        for (int i = 0; i < tabs().count(); ++i)
            open += tabs().isTabVisible(i) ? 1 : 0;
        return open;
    }

    webview::WebBrowser* viewOfTab(int index) const
    {
        auto* sheet = static_cast<TRzTabSheet*>(tabs().widget(index));
        TFrame_WebPopWindows* frame =
            sheet ? FWindow.Tabs().PageFrames().value(sheet->Tag) : nullptr;
        return frame ? frame->Browser() : nullptr;
    }

    QAction* benchMenuItem() const
    {
        for (int n = 0; n < menu::MenuButtonCount; ++n) {
            const auto* popup = FWindow.findChild<QMenu*>(QStringLiteral("PopupM%1").arg(n));
            if (!popup)
                continue;
            for (QAction* item : popup->actions())
                if (menu::MenuItemTarget(item))
                    return item;
        }
        return nullptr;
    }

    // Calls `done` with the time the new tab's main document completed.
    bool chooseMenuItem(std::function<void(long long)> done)
    {
        QAction* item = benchMenuItem();
        if (!item)
            return false;
        const int before = openTabs();
        item->trigger();
        if (openTabs() != before + 1)
            return false;
        webview::WebBrowser* view = viewOfTab(tabs().currentIndex());
        if (!view)
            return false;
        auto* wait = new QObject(view);
        QObject::connect(view, &webview::WebBrowser::DocumentComplete, wait,
                         [view, wait, done](const QByteArray& url) {
                             if (url != view->LocationURL() || url == "about:blank")
                                 return;
                             const long long end = bench::NowNs();
                             wait->deleteLater();
                             QObject::disconnect(view, nullptr, wait, nullptr);
                             done(end);
                         });
        return true;
    }

    void openUpTo(int count)
    {
        if (openTabs() >= count) {
            bench::Answer("ready");
            return;
        }
        // The next tab once this one's handlers are done, as an operator would.
        if (!chooseMenuItem([this, count](long long) {
                QTimer::singleShot(0, &FWindow, [this, count] { openUpTo(count); });
            }))
            bench::Answer("error no menu item or no free tab");
    }

    // As the operator does: the last page tab made active, then its close button.
    void close(int count)
    {
        auto pending = std::make_shared<int>(0);
        for (int n = 0; n < count; ++n) {
            int last = -1;
            for (int i = tabs().count() - 1; i > 0 && last < 0; --i)
                if (tabs().isTabVisible(i))
                    last = i;
            if (last < 0)
                break;
            webview::WebBrowser* view = viewOfTab(last);
            tabs().setCurrentIndex(last);
            if (view) {
                ++*pending;
                auto* wait = new QObject(view);
                QObject::connect(view, &webview::WebBrowser::DocumentComplete, wait,
                                 [this, view, wait, pending](const QByteArray& url) {
                                     if (url != "about:blank")
                                         return;
                                     QObject::disconnect(view, nullptr, wait, nullptr);
                                     wait->deleteLater();
                                     if (--*pending == 0)
                                         closed();
                                 });
            }
            FWindow.findChild<QToolButton*>(QStringLiteral("PageWebClientCloseButton"))->click();
        }
        if (*pending == 0)
            closed();
    }

    // The longest stall of the event loop until `afterMs` past the home page's completion.
    void answerStall(int afterMs)
    {
        if (!FGaps) {
            bench::Answer("error no stall meter: start with --stall-meter");
            return;
        }
        const long long sinceMs = (bench::NowNs() - FHomeCompleteNs) / 1000000;
        if (!FHomeComplete || sinceMs < afterMs) {
            QTimer::singleShot(FHomeComplete ? int(afterMs - sinceMs) : 50, &FWindow,
                               [this, afterMs] { answerStall(afterMs); });
            return;
        }
        bench::Answer("stall " + QByteArray::number(FGaps->longestMs(), 'f', 1));
    }

    void closed()
    {
        // The discard of a blank page waits for the event loop: let it run.
        QTimer::singleShot(0, &FWindow, [] { bench::Answer("ready"); });
    }

    Tfrm_printTicket& FWindow;
    bool FHomeComplete = false;
    long long FHomeCompleteNs = 0;
    std::unique_ptr<LoopGapMeter> FGaps;
};

// Marks of the start on stderr, for a reader of one run's time line.
void Mark(const char* what)
{
    std::fprintf(stderr, "bench mark %s %lld\n", what, bench::NowNs());
}

class FirstPaintMark : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            Mark("first-paint");
            watched->removeEventFilter(this);
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    Mark("main");
    shell::ClientProgram client(argc, argv);
    Mark("constructed");
    FirstPaintMark paintMark;
    client.mainWindow().installEventFilter(&paintMark);
    ClientDriver driver(client.mainWindow(),
                        QCoreApplication::arguments().contains(QStringLiteral("--stall-meter")));
    bench::ReadCommands(&client.mainWindow(),
                        [&driver](const QByteArray& line) { driver.command(line); });
    return client.exec();
}
