#pragma once

#include "update/HttpFetch.h"

#include <QByteArray>

#include <atomic>
#include <functional>

namespace update {

class FetchWorker;

// Empties the body of the home tab's page; false when there is no document
// or no body to empty.
using ClearHomeBody = std::function<bool()>;

// One file of the update server.
struct FileFetch
{
    QByteArray url;
    QByteArray file; // full path; its folder must exist
    bool report = false;
    HttpFetch::Bound bound = HttpFetch::Bound::SmallFile;
    // Lower-case hex SHA-256 the body must have to be written; empty: any body.
    QByteArray sha256;
};

struct FetchOutcome
{
    bool ok = false;
    bool abandoned = false;
    bool setupFailed = false;
    QByteArray why; // for the log; never shown to the operator
};

using FetchDone = std::function<void(const FetchOutcome&)>;

// The fetch and the write, on the calling thread: an existing file is
// replaced only once the complete body has arrived (and matched its hash),
// and never when it is read-only or the fetch has been abandoned.
FetchOutcome FetchToFile(const FileFetch& fetch, const std::atomic<bool>* abandon);

// FetchToFile on `worker`'s thread; back on the GUI thread a failure with
// `report` blanks the home page and warns the operator, then `done` runs.
// An abandoned fetch reports nothing and `done` never runs.
void DownloadFile(FetchWorker& worker, const FileFetch& fetch, const ClearHomeBody& clearHomeBody,
                  FetchDone done);

} // namespace update
