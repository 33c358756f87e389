#pragma once

#include "update/FetchWorker.h"
#include "update/UpdateOperations.h"

#include <QObject>

#include <functional>
#include <memory>

namespace update {

// Runs one update check at a time: the fetches on its fetch thread, and
// between them, on the GUI thread, the decision, the questions, the start of
// the updater and the copy. With "UpdateKey.pub" in the program folder it
// trusts only a descriptor whose minisign signature verifies against that
// key, and files whose SHA-256 that descriptor names.
class UpdateRunner : public QObject
{
    Q_OBJECT
public:
    explicit UpdateRunner(QObject* parent = nullptr);
    ~UpdateRunner() override;

    // Starts a check; `finished` gets its result (true when the program's
    // Version differs, whatever the operator answers). False, and nothing
    // started, while a check is under way.
    bool Start(UpdateOperations ops, std::function<void(bool result)> finished = {});
    bool Running() const { return FCheck != nullptr; }
    FetchWorker& Fetches() { return FFetches; }

signals:
    void Finished(bool result);

private:
    struct Check;

    void Guarded(const std::function<void()>& step);
    void Fetch(const FileFetch& fetch, std::function<void(const FetchOutcome&)> next);
    void FetchDescriptor();
    void FetchSignature();
    void VerifyDescriptor();
    void FetchMenuIfMissing();
    void Decide();
    void ProgramRelease();
    void VerifyUpdaterThenStart();
    void StartUpdater();
    void UpdaterRelease();
    void CopyDescriptor();
    void Finish();
    void Log(const QByteArray& line);

    FetchWorker FFetches;
    std::unique_ptr<Check> FCheck;
};

} // namespace update
