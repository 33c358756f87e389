#pragma once

#include "localfiles/unt_Public.h"
#include "support/LocalHttpServer.h"
#include "support/TempProgramFolder.h"
#include "support/Wait.h"
#include "update/FileDownloader.h"
#include "update/UpdateRunner.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QSignalSpy>

#include <optional>

const QByteArray kInfoCaption = "\xCC\xE1\xCA\xBE\xD0\xC5\xCF\xA2";                // 提示信息
const QByteArray kAskCaption = "\xD6\xD8\xD2\xAA\xCC\xE1\xCA\xBE\xD0\xC5\xCF\xA2"; // 重要提示信息
const QByteArray kProgramQuestion = "\xD2\xD1\xBE\xAD\xBC\xEC\xB2\xE2\xB5\xBD\xD3\xD0\xB8\xFC\xD0"
                                    "\xC2\xB0\xE6\xB1\xBE\xB5\xC4\xB3\xCC"
                                    "\xD0\xF2\xA3\xAC\xC4\xE3\xCA\xC7\xB7\xF1\xCD\xCB\xB3\xF6\xB5"
                                    "\xB1\xC7\xB0\xB2\xD9\xD7\xF7\xA3\xAC"
                                    "\xBD\xF8\xD0\xD0\xB8\xFC\xD0\xC2\xA3\xBF";
const QByteArray kUpdaterQuestion =
    "\xD2\xD1\xBE\xAD\xBC\xEC\xB2\xE2\xB5\xBD\xD3\xD0\xC9\xFD\xBC\xB6\xB3\xCC\xD0\xF2\xD0\xE8\xD2"
    "\xAA"
    "\xB8\xFC\xD0\xC2\xA3\xAC\xC4\xE3\xCA\xC7\xB7\xF1\xBD\xF8\xD0\xD0\xB8\xFC\xD0\xC2\xA3\xBF";
const QByteArray kDone = "\xC9\xFD\xBC\xB6\xCD\xEA\xB3\xC9\xA3\xA1"; // 升级完成！
const QByteArray kNothing = "\xB5\xB1\xC7\xB0\xC3\xBB\xD3\xD0\xD2\xAA\xC9\xFD\xBC\xB6\xB5\xC4\xCE"
                            "\xC4\xBC\xFE"; // 当前没有要升级的文件
const QByteArray kWarnCaption = "\xD6\xD8\xD2\xAA\xCC\xE1\xCA\xBE\xA3\xA1"; // 重要提示！

const QByteArray kLocalVersion = "1.0";
const QByteArray kLocalUpdateVer = "5";
const QByteArray kOldUpdater = "old updater";
const QByteArray kNewUpdater = "#!/bin/sh\nnew updater\n";
const QByteArray kMenu = "menu file\r\n";

inline QByteArray descriptor(const QByteArray& server, const QByteArray& version,
                             const QByteArray& updateVer, const QByteArray& more = {})
{
    return "[Version]\r\nUpdateServer=" + server + "\r\nVersion=" + version +
           "\r\nUpdateVer=" + updateVer + "\r\nHomePage=http://site.example/\r\n" + more;
}

// A program folder with the local descriptor, the data folder, a menu file
// and an old updater, an update server on 127.0.0.1, and operations that
// record instead of quitting or starting anything.
class UpdateRig
{
public:
    UpdateRig()
    {
        FServer.start();
        FLocal = descriptor(server(), kLocalVersion, kLocalUpdateVer);
        FFolder.write("AutoUpdate.ini", FLocal);
        QDir(FFolder.path()).mkdir("data");
        FFolder.write("zantu.dll", kMenu);
        FFolder.write("Update.exe", kOldUpdater);
    }

    QByteArray server() const { return FServer.urlBytes("/"); }
    LocalHttpServer& http() { return FServer; }
    TempProgramFolder& folder() { return FFolder; }
    const QByteArray& localDescriptor() const { return FLocal; }
    update::UpdateRunner& runner() { return FRunner; }

    void serve(const std::string& path, const QByteArray& body)
    {
        FServer.page(path, body.toStdString());
    }
    QByteArray serveDescriptor(const QByteArray& version, const QByteArray& updateVer,
                               const QByteArray& more = {})
    {
        const QByteArray served = descriptor(server(), version, updateVer, more);
        serve("/AutoUpdate.ini", served);
        return served;
    }

    update::UpdateOperations ops()
    {
        update::UpdateOperations ops([this](const update::FileFetch& fetch,
                                            update::FetchDone done) {
            const QByteArray shown =
                fetch.url.startsWith(server()) ? "/" + fetch.url.mid(server().size()) : fetch.url;
            trace.append("get " + shown + (fetch.report ? " report" : ""));
            update::DownloadFile(
                FRunner.Fetches(), fetch, [] { return true; }, std::move(done));
        });
        ops.terminateApplication = [this] { trace.append("quit"); };
        ops.startDetached = [this](const QString& program) {
            trace.append("start " + QFile::encodeName(program));
            return true;
        };
        ops.processMessages = [this] { trace.append("process"); };
        return ops;
    }

    // Runs one check to its end (bounded); nullopt when it did not end.
    // WaitFor turns the event loop itself: a quit left pending by a test
    // before would end a nested loop at once.
    std::optional<bool> check(int timeoutMs = 30000)
    {
        QSignalSpy finished(&FRunner, &update::UpdateRunner::Finished);
        if (!FRunner.Start(ops()) || !WaitFor([&] { return !finished.isEmpty(); }, timeoutMs))
            return std::nullopt;
        return finished.at(0).at(0).toBool();
    }

    // The trace with the random numbers of the first fetches dropped.
    QList<QByteArray> steps() const
    {
        QList<QByteArray> result;
        for (QByteArray step : trace) {
            if (step.startsWith("get ") && !step.contains("Update.exe"))
                step.truncate(step.indexOf('?'));
            result.append(step);
        }
        return result;
    }

    // Today's lines of the daily log "Update".
    QByteArray updateLog() const
    {
        QFile f(QString::fromLocal8Bit(
            localfiles::AppPath() + "log/Update-" +
            QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")).toLatin1() + ".txt"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QList<QByteArray> trace;

private:
    LocalHttpServer FServer;
    TempProgramFolder FFolder;
    QByteArray FLocal;
    update::UpdateRunner FRunner; // last: its fetches end before the server goes
};
