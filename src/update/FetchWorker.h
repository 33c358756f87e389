#pragma once

#include <QList>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>

class QThread;

namespace update {

// The thread the update fetches run on, so that the GUI thread never waits
// for the network. Jobs run one after another; each one's `done` runs back
// on the thread that owns the worker. Once abandoned (at the application's
// quit, or when the worker goes) running jobs end early and no `done` runs.
class FetchWorker : public QObject
{
    Q_OBJECT
public:
    using Job = std::function<void(const std::atomic<bool>& abandon)>;

    explicit FetchWorker(QObject* parent = nullptr);
    ~FetchWorker() override;

    void Run(Job job, std::function<void()> done);
    void Abandon();
    bool Abandoned() const { return *FAbandon; }

    // Jobs wait from now until Release(), and at most `maxMs` after the first
    // of them came: while the program starts, the fetch module is not loaded
    // beside the engine's own start.
    void Hold(int maxMs);
    void Release();

private:
    struct Waiting
    {
        Job job;
        std::function<void()> done;
    };
    void Dispatch(Job job, std::function<void()> done);

    bool FHeld = false;
    QTimer FHoldTimer;
    QList<Waiting> FWaiting;
    // Shared with the jobs, which may outlive a worker whose thread hangs.
    std::shared_ptr<std::atomic<bool>> FAbandon = std::make_shared<std::atomic<bool>>(false);
    QThread* FThread = nullptr; // started at the first job
    QObject* FOnThread = nullptr;
};

} // namespace update
