#include "RawHttpServer.h"

#include "localfiles/unt_Public.h"
#include "shell/MessageBoxes.h"
#include "support/LocalHttpServer.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempProgramFolder.h"
#include "update/FileDownloader.h"
#include "update/HttpFetch.h"
#include "update/UpdateCheck.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <iostream>

namespace {

using shell::Answer::No;
using shell::Answer::Yes;

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

QByteArray descriptor(const QByteArray& server, const QByteArray& version,
                      const QByteArray& updateVer)
{
    return "[Version]\r\nUpdateServer=" + server + "\r\nVersion=" + version +
           "\r\nUpdateVer=" + updateVer + "\r\nHomePage=http://site.example/\r\n";
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

    void serve(const std::string& path, const QByteArray& body)
    {
        FServer.page(path, body.toStdString());
    }
    QByteArray serveDescriptor(const QByteArray& version, const QByteArray& updateVer)
    {
        const QByteArray served = descriptor(server(), version, updateVer);
        serve("/AutoUpdate.ini", served);
        return served;
    }

    update::UpdateOperations ops()
    {
        update::UpdateOperations ops(
            [this](const QByteArray& url, const QByteArray& file, bool report) {
                const QByteArray shown =
                    url.startsWith(server()) ? "/" + url.mid(server().size()) : url;
                trace.append("get " + shown + (report ? " report" : ""));
                return update::DownloadFile(url, file, report, [] { return true; });
            });
        ops.terminateApplication = [this] { trace.append("quit"); };
        ops.startDetached = [this](const QString& program) {
            trace.append("start " + QFile::encodeName(program));
            return true;
        };
        ops.processMessages = [this] { trace.append("process"); };
        return ops;
    }

    // The trace with the random numbers of the first two fetches dropped.
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

    QList<QByteArray> trace;

private:
    LocalHttpServer FServer;
    TempProgramFolder FFolder;
    QByteArray FLocal;
};

struct Row
{
    const char* name;
    QByteArray newVersion;
    QByteArray newUpdateVer;
    int answer;
    QByteArray question; // empty: none asked
    QList<QByteArray> stepsAfterDescriptor;
    bool updaterReplaced;
    bool copied;
    bool done;
    bool result;
};

void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.name;
}

class DecisionTable : public ::testing::TestWithParam<Row>
{
};

TEST_P(DecisionTable, AsksFetchesStartsCopies)
{
    const Row& row = GetParam();
    UpdateRig rig;
    const QByteArray served = rig.serveDescriptor(row.newVersion, row.newUpdateVer);
    rig.serve("/Update.exe", kNewUpdater);
    MessageBoxRecorder boxes(row.answer);

    EXPECT_EQ(update::CheckUpdate(rig.ops()), row.result);

    QList<QByteArray> expected{"get /AutoUpdate.ini"};
    for (QByteArray step : row.stepsAfterDescriptor)
        expected.append(step.replace("$APP", localfiles::AppPath()));
    EXPECT_EQ(rig.steps(), expected);

    QList<QByteArray> texts;
    if (!row.question.isEmpty())
        texts.append(row.question);
    if (row.done)
        texts.append(kDone);
    ASSERT_EQ(boxes.texts(), texts);
    if (!row.question.isEmpty()) {
        EXPECT_EQ(boxes.boxes()[0].caption, kAskCaption);
        EXPECT_EQ(boxes.boxes()[0].flags, 36u);
    }
    if (row.done) {
        EXPECT_EQ(boxes.boxes().back().caption, kInfoCaption);
        EXPECT_EQ(boxes.boxes().back().flags, 64u);
    }

    EXPECT_EQ(rig.folder().read("data/AutoUpdate.ini"), served);
    EXPECT_EQ(rig.folder().read("AutoUpdate.ini"), row.copied ? served : rig.localDescriptor());
    EXPECT_EQ(rig.folder().read("Update.exe"), row.updaterReplaced ? kNewUpdater : kOldUpdater);
    EXPECT_EQ(rig.folder().read("zantu.dll"), kMenu);
    EXPECT_EQ(rig.http().count("/zantu.dll"), 0);
}

const QByteArray kStart = "start $APPUpdate.exe";

INSTANTIATE_TEST_SUITE_P(
    Rows, DecisionTable,
    ::testing::Values(
        Row{"BothDiffer_Yes",
            "2.0",
            "6",
            Yes,
            kProgramQuestion,
            {"get /Update.exe?Ver=6 report", "quit", kStart},
            true,
            true,
            false,
            true},
        Row{"BothDiffer_No", "2.0", "6", No, kProgramQuestion, {}, false, false, false, true},
        Row{"VersionDiffers_Yes",
            "2.0",
            kLocalUpdateVer,
            Yes,
            kProgramQuestion,
            {"quit", kStart},
            false,
            true,
            false,
            true},
        Row{"VersionDiffers_No",
            "2.0",
            kLocalUpdateVer,
            No,
            kProgramQuestion,
            {},
            false,
            false,
            false,
            true},
        Row{"UpdaterDiffers_Yes",
            kLocalVersion,
            "6",
            Yes,
            kUpdaterQuestion,
            {"process", "get /Update.exe?Ver=6 report"},
            true,
            true,
            true,
            false},
        Row{"UpdaterDiffers_No",
            kLocalVersion,
            "6",
            No,
            kUpdaterQuestion,
            {},
            false,
            false,
            false,
            false},
        Row{"BothEqual_Yes",
            kLocalVersion,
            kLocalUpdateVer,
            Yes,
            {},
            {},
            false,
            false,
            false,
            false},
        Row{"BothEqual_No", kLocalVersion, kLocalUpdateVer, No, {}, {}, false, false, false, false},
        // Versions are compared as bytes: case matters, neither is taken as newer.
        Row{"VersionCaseDiffers",
            "1.0A",
            kLocalUpdateVer,
            No,
            kProgramQuestion,
            {},
            false,
            false,
            false,
            true}),
    [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

// The check ends quietly with false, before any question.
TEST(UpdateCheck, QuietEnds)
{
    struct Case
    {
        const char* name;
        std::function<void(UpdateRig&)> arrange;
        QList<QByteArray> steps;
    };
    const QList<Case> cases{
        {"no local descriptor",
         [](UpdateRig& r) { QFile::remove(r.folder().filePath("AutoUpdate.ini")); },
         {"get AutoUpdate.ini"}},
        {"no UpdateServer",
         [](UpdateRig& r) { r.folder().write("AutoUpdate.ini", "[Version]\r\nVersion=1.0\r\n"); },
         {"get AutoUpdate.ini"}},
        {"no data folder",
         [](UpdateRig& r) { QDir(r.folder().filePath("data")).removeRecursively(); },
         {"get /AutoUpdate.ini"}},
        {"menu file missing and not served",
         [](UpdateRig& r) { QFile::remove(r.folder().filePath("zantu.dll")); },
         {"get /AutoUpdate.ini", "get /zantu.dll"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UpdateRig rig;
        rig.serveDescriptor("2.0", "6");
        rig.serve("/Update.exe", kNewUpdater);
        c.arrange(rig);
        MessageBoxRecorder boxes(Yes);
        EXPECT_FALSE(update::CheckUpdate(rig.ops()));
        EXPECT_EQ(rig.steps(), c.steps);
        EXPECT_TRUE(boxes.boxes().isEmpty());
        EXPECT_EQ(rig.http().count("/Update.exe"), 0);
    }
}

TEST(UpdateCheck, MissingMenuFileIsFetchedWithItsOwnRandomNumber)
{
    UpdateRig rig;
    rig.serveDescriptor(kLocalVersion, kLocalUpdateVer);
    rig.serve("/zantu.dll", "served menu");
    QFile::remove(rig.folder().filePath("zantu.dll"));

    EXPECT_FALSE(update::CheckUpdate(rig.ops()));
    EXPECT_EQ(rig.steps(), (QList<QByteArray>{"get /AutoUpdate.ini", "get /zantu.dll"}));
    EXPECT_EQ(rig.folder().read("zantu.dll"), "served menu");
    const QList<LocalHttpServer::Request> requests = rig.http().requests();
    ASSERT_EQ(requests.size(), 2);
    for (const LocalHttpServer::Request& request : requests) {
        const QString ver =
            QUrlQuery(QUrl(QString::fromStdString(request.target)).query()).queryItemValue("Ver");
        bool number = false;
        const int n = ver.toInt(&number);
        EXPECT_TRUE(number && n >= 0 && n <= 999) << request.target;
    }
}

// An error page served with 200 has no Version: it differs from the local one.
TEST(UpdateCheck, ServedPageWithoutVersionAsks)
{
    UpdateRig rig;
    rig.serve("/AutoUpdate.ini", "<html><body>Service unavailable</body></html>");
    MessageBoxRecorder boxes(No);
    EXPECT_TRUE(update::CheckUpdate(rig.ops()));
    EXPECT_EQ(boxes.texts(), QList<QByteArray>{kProgramQuestion});
}

// The copy is relative to the working directory: from elsewhere it finds no
// data/AutoUpdate.ini and the local descriptor stays old.
TEST(UpdateCheck, OtherWorkingDirectoryCopiesNothing)
{
    UpdateRig rig;
    rig.serveDescriptor("2.0", kLocalUpdateVer);
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    MessageBoxRecorder boxes(Yes);
    EXPECT_TRUE(update::CheckUpdate(rig.ops()));
    EXPECT_EQ(rig.folder().read("AutoUpdate.ini"), rig.localDescriptor());
    EXPECT_FALSE(QFileInfo::exists(elsewhere.filePath("AutoUpdate.ini")));
    QDir::setCurrent(rig.folder().path());
}

// A failed updater fetch warns the operator and the check goes on.
TEST(UpdateCheck, FailedUpdaterFetchWarnsAndGoesOn)
{
    UpdateRig rig;
    const QByteArray served = rig.serveDescriptor("2.0", "6");
    MessageBoxRecorder boxes(Yes);
    EXPECT_TRUE(update::CheckUpdate(rig.ops()));
    ASSERT_EQ(boxes.boxes().size(), 2);
    EXPECT_EQ(boxes.boxes()[1].caption, kWarnCaption);
    EXPECT_EQ(rig.steps(),
              (QList<QByteArray>{"get /AutoUpdate.ini", "get /Update.exe?Ver=6 report", "quit",
                                 "start " + localfiles::AppPath() + "Update.exe"}));
    EXPECT_EQ(rig.folder().read("Update.exe"), kOldUpdater);
    EXPECT_EQ(rig.folder().read("AutoUpdate.ini"), served);
}

// Without an updater in the program folder the command is left to the search path.
TEST(UpdateCheck, UpdaterNotInProgramFolderIsStartedByName)
{
    UpdateRig rig;
    rig.serveDescriptor("2.0", kLocalUpdateVer);
    QFile::remove(rig.folder().filePath("Update.exe"));
    MessageBoxRecorder boxes(Yes);
    EXPECT_TRUE(update::CheckUpdate(rig.ops()));
    EXPECT_EQ(rig.steps().back(), "start Update.exe");
}

TEST(UpdateCheck, UpdateCommandTellsWhenThereIsNothingToDo)
{
    struct Case
    {
        QByteArray version, updateVer;
        int answer;
        QList<QByteArray> texts;
    };
    const QList<Case> cases{
        {kLocalVersion, kLocalUpdateVer, Yes, {kNothing}},
        {kLocalVersion, "6", Yes, {kUpdaterQuestion, kDone, kNothing}},
        {"2.0", kLocalUpdateVer, No, {kProgramQuestion}},
    };
    for (const Case& c : cases) {
        UpdateRig rig;
        rig.serveDescriptor(c.version, c.updateVer);
        rig.serve("/Update.exe", kNewUpdater);
        MessageBoxRecorder boxes(c.answer);
        update::act_updateExecute(rig.ops());
        EXPECT_EQ(boxes.texts(), c.texts);
        EXPECT_EQ(boxes.boxes().back().flags, c.texts.back() == kNothing ? 64u : 36u);
    }
}

// A fetched updater has no execute bit; the default start gives the owner one.
TEST(UpdateCheck, DefaultStartRunsAFetchedUpdater)
{
    TempProgramFolder folder;
    const QString marker = folder.filePath("ran.txt");
    folder.write("Update.exe", "#!/bin/sh\necho ran > '" + QFile::encodeName(marker) + "'\n");
    QFile::setPermissions(folder.filePath("Update.exe"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    EXPECT_TRUE(update::StartDetachedHidden(folder.filePath("Update.exe")));
    EXPECT_TRUE(QFileInfo(folder.filePath("Update.exe")).permissions() & QFileDevice::ExeOwner);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(marker), 10000);
}

// How long the first paint is blocked, with the real time-outs.
TEST(UpdateCheck, BlockTimeWithRealLimits)
{
    ASSERT_EQ(update::HttpFetch::CurrentLimits().lowSpeedSeconds, 20);
    struct Case
    {
        const char* name;
        qint64 minMs, maxMs;
    };
    for (const Case& c : {Case{"server up", 0, 2000}, Case{"connection refused", 0, 2000},
                          Case{"silent server", 19000, 26000}}) {
        UpdateRig rig;
        rig.serveDescriptor(kLocalVersion, kLocalUpdateVer);
        std::unique_ptr<RawHttpServer> other;
        if (std::string(c.name) != "server up") {
            other = std::make_unique<RawHttpServer>("", RawHttpServer::End::Hold);
            rig.folder().write("AutoUpdate.ini",
                               descriptor(other->url("/"), kLocalVersion, kLocalUpdateVer));
            if (std::string(c.name) == "connection refused")
                other.reset(); // its port now refuses
        }
        MessageBoxRecorder boxes(Yes);
        QElapsedTimer timer;
        timer.start();
        update::CheckUpdate(rig.ops());
        const qint64 ms = timer.elapsed();
        std::cout << "[ measure ] update check blocked " << ms << " ms with " << c.name
                  << std::endl;
        EXPECT_GE(ms, c.minMs) << c.name;
        EXPECT_LE(ms, c.maxMs) << c.name;
        EXPECT_TRUE(boxes.boxes().isEmpty());
    }
}

} // namespace
