#pragma once

#include "update/FileDownloader.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace update {

// What the update check does to the world, so that it can run against a test
// server and record instead of quitting. Only `downloadFile` has no default.
struct UpdateOperations
{
    // Starts one fetch; `done` runs on the GUI thread once it has ended.
    using DownloadFn = std::function<void(const FileFetch& fetch, FetchDone done)>;

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

} // namespace update
