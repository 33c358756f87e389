#include "update/FileDownloader.h"

#include "localfiles/Gbk.h"
#include "localfiles/unt_Public.h"
#include "ui/MessageBoxes.h"
#include "update/FetchModule.h"
#include "update/FetchWorker.h"

#include <QFileInfo>
#include <QSaveFile>

#include <memory>

namespace update {
namespace {

bool writeWhole(const QByteArray& localFile, const QByteArray& body,
                const std::atomic<bool>* abandon)
{
    const QString path = gbk::toUnicode(localFile);
    const QFileInfo target(path);
    // A rename replaces a file whatever its permission bits; a read-only
    // target must stay as it is, as it would where the system comes from.
    if (target.exists() && !(target.permissions() & QFileDevice::WriteOwner))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(body) != body.size())
        return false; // the temporary file goes with `file`
    if (abandon && *abandon) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool tryClear(const ClearHomeBody& clearHomeBody)
{
    try {
        return clearHomeBody && clearHomeBody();
    } catch (...) {
        return false;
    }
}

void logFailure()
{
    QByteArray logPath;
    localfiles::WriteDayLog("05", "Warnning_Web", 0, logPath);
}

void report(const ClearHomeBody& clearHomeBody)
{
    const bool cleared = tryClear(clearHomeBody);
    ui::ShowMessageBox(
        gbk::fromUnicode(QStringLiteral(u"请注意：网络连接可能异常！ 请重新【刷新】后重试...)")),
        gbk::fromUnicode(QStringLiteral(u"重要提示！")), ui::Mb::Ok | ui::Mb::IconWarning);
    tryClear(clearHomeBody);
    if (!cleared)
        logFailure();
}

} // namespace

FetchOutcome FetchToFile(const FileFetch& fetch, const std::atomic<bool>* abandon)
{
    FetchOutcome outcome;
    try {
        const HttpFetchResult fetched = HttpFetch::Get(fetch.url, fetch.bound, abandon);
        outcome.abandoned = fetched.abandoned || (abandon && *abandon);
        outcome.setupFailed = fetched.setupFailed;
        if (!fetched.ok) {
            outcome.why = fetched.error;
            return outcome;
        }
        if (!fetch.sha256.isEmpty()) {
            const FetchModuleApi* api = FetchModule::Api();
            const QByteArray actual = api ? api->sha256Hex(fetched.body) : QByteArray();
            if (actual != fetch.sha256.toLower()) {
                outcome.why = "SHA-256 " + actual + " differs from " + fetch.sha256;
                return outcome;
            }
        }
        outcome.ok = writeWhole(fetch.file, fetched.body, abandon);
        if (!outcome.ok)
            outcome.why = "cannot write " + fetch.file;
    } catch (...) {
        outcome.ok = false;
        outcome.setupFailed = true;
        outcome.why = "the fetch failed unexpectedly";
    }
    outcome.abandoned = outcome.abandoned || (abandon && *abandon);
    return outcome;
}

void DownloadFile(FetchWorker& worker, const FileFetch& fetch, const ClearHomeBody& clearHomeBody,
                  FetchDone done)
{
    auto outcome = std::make_shared<FetchOutcome>();
    worker.Run([fetch, outcome](
                   const std::atomic<bool>& abandon) { *outcome = FetchToFile(fetch, &abandon); },
               [fetch, outcome, clearHomeBody, done = std::move(done)] {
                   if (outcome->abandoned)
                       return;
                   try {
                       if (outcome->setupFailed)
                           logFailure();
                       else if (!outcome->ok && fetch.report)
                           report(clearHomeBody);
                   } catch (...) {
                       logFailure();
                   }
                   if (done)
                       done(*outcome);
               });
}

} // namespace update
