// A stand-in for the client around the single-instance guard: it wires the
// guard as the client's entry does and reports on stdout what happened, one
// line at a time. It ends when its standard input is closed.
//
//   guard_probe <guard name> [--minimized]
#include "shell/SingleInstanceGuard.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

namespace {

void say(const QByteArray& line)
{
    std::fputs((line + "\n").constData(), stdout);
    std::fflush(stdout);
}

class ProbeMainWindow : public QWidget
{
protected:
    void showEvent(QShowEvent* event) override
    {
        QWidget::showEvent(event);
        say("SHOWN minimized=" + QByteArray::number(isMinimized()) +
            " id=" + QByteArray::number(quint64(winId())));
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fputs("usage: guard_probe <guard name> [--minimized]\n", stderr);
        return 2;
    }
    shell::SingleInstanceGuard guard(args.at(1));
    say(guard.isFirstCopy() ? "FIRST" : "SECOND");
    if (!guard.failure().isEmpty())
        say("FAILURE " + guard.failure().toUtf8());

    ProbeMainWindow mainWindow;
    mainWindow.setWindowTitle(QStringLiteral("guard probe"));
    guard.setMainWindow(&mainWindow);

    QObject::connect(&guard, &shell::SingleInstanceGuard::requestReceived, &mainWindow,
                     [&mainWindow](qint64 pid) {
                         say("REQUEST received pid=" + QByteArray::number(pid) +
                             " minimized=" + QByteArray::number(mainWindow.isMinimized()));
                     });
    QObject::connect(&guard, &shell::SingleInstanceGuard::answerReceived, &app, [](quintptr id) {
        say("SECOND answered id=" + QByteArray::number(quint64(id)));
    });
    QObject::connect(&guard, &shell::SingleInstanceGuard::gaveUp, &app,
                     [] { say("SECOND gave up"); });

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&input] {
        char buffer[256];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
            input.setEnabled(false);
            QCoreApplication::quit();
        }
    });

    if (guard.isFirstCopy()) {
        if (args.contains(QStringLiteral("--minimized")))
            mainWindow.showMinimized();
        else
            mainWindow.showMaximized();
    } else {
        guard.askRunningCopy();
    }
    const int rc = app.exec();

    int visible = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        visible += w->isVisible();
    say("EXIT visible=" + QByteArray::number(visible));
    return rc;
}
