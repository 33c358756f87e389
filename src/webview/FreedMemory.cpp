#include "webview/FreedMemory.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace webview {

namespace {

constexpr int SettleMs = 1000;

} // namespace

bool ReleaseFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
    return true;
#else
    return false;
#endif
}

void ReleaseFreedMemorySoon()
{
    static QPointer<QTimer> timer;
    if (!timer) {
        timer = new QTimer(QCoreApplication::instance());
        timer->setSingleShot(true);
        timer->setInterval(SettleMs);
        QObject::connect(timer, &QTimer::timeout, timer, [] { ReleaseFreedMemory(); });
    }
    timer->start();
}

} // namespace webview
