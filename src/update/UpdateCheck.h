#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace update {

// What the update check does to the world, so that it can run against a test
// server and record instead of quitting. Only `downloadFile` has no default.
struct UpdateOperations
{
    using DownloadFn =
        std::function<bool(const QByteArray& url, const QByteArray& file, bool report)>;

    explicit UpdateOperations(DownloadFn download) : downloadFile(std::move(download)) {}

    DownloadFn downloadFile;
    // Starts the updater without waiting; by default StartDetachedHidden.
    std::function<bool(const QString& program)> startDetached;
    // Posts the application's quit request; it takes effect back in the event loop.
    std::function<void()> terminateApplication;
    // One pass over the pending events.
    std::function<void()> processMessages;
    // Seed of the generator of the "?Ver=" numbers, drawn anew at every check.
    std::function<quint32()> randomSeed;
};

// Starts `program` detached and hidden; on systems with execute bits the
// owner's bit is set first, as a fetched updater arrives without one.
bool StartDetachedHidden(const QString& program);

// Compares AutoUpdate.ini in the program folder with the one on its
// UpdateServer and acts on the difference with the operator's consent.
// True when the program's Version differs, whatever the operator answers.
bool CheckUpdate(const UpdateOperations& ops);

// The on-demand command: the check, and a note when there is nothing to do.
void act_updateExecute(const UpdateOperations& ops);

} // namespace update
