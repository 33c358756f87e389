#include "webview/HangWatch.h"

#include "localfiles/SessionLog.h"
#include "webview/ViewNotice.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineScript>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <csignal>
#include <sys/types.h>
#endif

namespace webview {
HangWatch::HangWatch(QWebEnginePage* page, QWidget* covered)
    : QObject(page), FPage(page), FCovered(covered),
      FNotice(new ViewNotice(covered, QStringLiteral("HangNotice"), QStringLiteral(u"页面无响应"),
                             QStringLiteral(u"结束此页面"), ViewNotice::CoverView))
{
    connect(FNotice, &ViewNotice::ButtonClicked, this, &HangWatch::EndRequested);
    // A new document or renderer drops the question the old one was asked.
    connect(page, &QWebEnginePage::loadStarted, this, &HangWatch::Forget);
    connect(page, &QWebEnginePage::urlChanged, this, &HangWatch::Forget);
    connect(page, &QWebEnginePage::renderProcessPidChanged, this, &HangWatch::Forget);
    connect(page, &QWebEnginePage::renderProcessTerminated, this, [this] {
        Forget();
        FNotice->hide();
    });
    FTimer.setInterval(TickMs);
    connect(&FTimer, &QTimer::timeout, this, &HangWatch::Tick);
    covered->installEventFilter(this);
    FTimer.start();
}

void HangWatch::Tick()
{
    // A view off screen is looked at less often: twenty background tabs wake
    // the program four times a second, not twenty.
    const bool onScreen = FCovered->isVisible();
    // A tick long overdue means the program itself was held (a blocking
    // fetch of the update check): the page's answer may still be queued.
    const bool programHeld = FLastTick.isValid() && FLastTick.elapsed() > FTimer.interval() + 2000;
    FLastTick.start();
    FTimer.setInterval(onScreen ? TickMs : HiddenTickMs);
    // A page that never loaded would become about:blank on being asked; a
    // discarded one has no renderer to ask.
    if (FPage->url().isEmpty() || FPage->renderProcessPid() == 0 ||
        FPage->lifecycleState() != QWebEnginePage::LifecycleState::Active) {
        Forget();
        return;
    }
    if (FOutstanding != 0) {
        if (programHeld || QApplication::activeModalWidget()) {
            FAsked.restart();
            return;
        }
        if (FAsked.elapsed() >= HangAfterMs && FNotice->isHidden()) {
            FNotice->ShowOver();
            localfiles::WriteSessionLog(QStringLiteral(u"页面无响应：") + FPage->url().toString());
        }
        return;
    }
    if (FAsked.isValid() && FAsked.elapsed() < (onScreen ? ProbeEveryMs : HiddenProbeEveryMs))
        return;
    FOutstanding = ++FLastProbe;
    FAsked.start();
    QPointer<HangWatch> self(this);
    const quint64 probe = FOutstanding;
    FPage->runJavaScript(QStringLiteral("1"), QWebEngineScript::ApplicationWorld,
                         [self, probe](const QVariant&) {
                             if (self)
                                 self->Answered(probe);
                         });
}

bool HangWatch::eventFilter(QObject* watched, QEvent* event)
{
    // A tab brought to the front is looked at from now on at the full pace.
    if (watched == FCovered && event->type() == QEvent::Show && FTimer.isActive() &&
        FTimer.interval() != TickMs) {
        FLastTick.start();
        FTimer.start(TickMs);
    }
    return QObject::eventFilter(watched, event);
}

void HangWatch::Answered(quint64 probe)
{
    if (probe != FOutstanding)
        return;
    FOutstanding = 0;
    FNotice->hide();
}

void HangWatch::Forget()
{
    FOutstanding = 0;
    FAsked.invalidate();
}

bool HangWatch::EndRenderer(QWebEnginePage* page)
{
    const qint64 pid = page->renderProcessPid();
    if (pid <= 0)
        return false;
#ifdef Q_OS_WIN
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, DWORD(pid));
    if (!process)
        return false;
    const bool ended = TerminateProcess(process, 1);
    CloseHandle(process);
    return ended;
#else
    return ::kill(pid_t(pid), SIGKILL) == 0;
#endif
}

} // namespace webview
