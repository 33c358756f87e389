#include "update/FetchWorker.h"

#include <QCoreApplication>
#include <QThread>

namespace update {

FetchWorker::FetchWorker(QObject* parent) : QObject(parent)
{
    FHoldTimer.setSingleShot(true);
    FHoldTimer.setTimerType(Qt::PreciseTimer); // a coarse one may end the hold 5 % early
    connect(&FHoldTimer, &QTimer::timeout, this, &FetchWorker::Release);
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
                &FetchWorker::Abandon);
}

FetchWorker::~FetchWorker()
{
    Abandon();
    if (!FThread)
        return;
    FThread->quit();
    // An abandoned fetch ends within a tenth of a second; should the system
    // itself hang in a call, the process ends without waiting for it.
    if (FThread->wait(2000)) {
        delete FOnThread;
        delete FThread;
    }
}

void FetchWorker::Run(Job job, std::function<void()> done)
{
    if (!FHeld)
        return Dispatch(std::move(job), std::move(done));
    FWaiting.append({std::move(job), std::move(done)});
    if (!FHoldTimer.isActive())
        FHoldTimer.start();
}

void FetchWorker::Hold(int maxMs)
{
    FHeld = true;
    FHoldTimer.setInterval(maxMs);
}

void FetchWorker::Release()
{
    FHeld = false;
    FHoldTimer.stop();
    const QList<Waiting> waiting = std::move(FWaiting);
    FWaiting.clear();
    for (const Waiting& w : waiting)
        Dispatch(w.job, w.done);
}

void FetchWorker::Dispatch(Job job, std::function<void()> done)
{
    if (!FThread) {
        FThread = new QThread;
        FThread->setObjectName(QStringLiteral("update fetch"));
        FOnThread = new QObject;
        FOnThread->moveToThread(FThread);
        FThread->start();
    }
    QMetaObject::invokeMethod(
        FOnThread,
        [abandon = FAbandon, owner = thread(), job = std::move(job),
         done = std::move(done)]() mutable {
            if (!*abandon)
                job(*abandon);
            // Back on the owner's thread; a worker that is gone set the flag.
            QObject* context = QCoreApplication::instance();
            if (!context || context->thread() != owner)
                return;
            QMetaObject::invokeMethod(
                context,
                [abandon, done = std::move(done)] {
                    if (!*abandon && done)
                        done();
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void FetchWorker::Abandon()
{
    *FAbandon = true;
}

} // namespace update
