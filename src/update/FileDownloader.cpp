#include "update/FileDownloader.h"

#include "localfiles/Gbk.h"
#include "localfiles/unt_Public.h"
#include "shell/MessageBoxes.h"
#include "update/HttpFetch.h"

#include <QFileInfo>
#include <QSaveFile>

namespace update {
namespace {

bool writeWhole(const QByteArray& localFile, const QByteArray& body)
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

} // namespace

bool DownloadFile(const QByteArray& url, const QByteArray& localFile, bool report,
                  const ClearHomeBody& clearHomeBody)
{
    try {
        const HttpFetchResult fetched = HttpFetch::Get(url);
        if (fetched.setupFailed) {
            logFailure();
            return false;
        }
        if (fetched.ok && writeWhole(localFile, fetched.body))
            return true;
        if (report) {
            const bool cleared = tryClear(clearHomeBody);
            shell::ShowMessageBox(gbk::fromUnicode(QStringLiteral(
                                      u"请注意：网络连接可能异常！ 请重新【刷新】后重试...)")),
                                  gbk::fromUnicode(QStringLiteral(u"重要提示！")),
                                  shell::Mb::Ok | shell::Mb::IconWarning);
            tryClear(clearHomeBody);
            if (!cleared)
                logFailure();
        }
        return false;
    } catch (...) {
        logFailure();
        return false;
    }
}

} // namespace update
