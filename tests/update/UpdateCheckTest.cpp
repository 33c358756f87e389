#include "RawHttpServer.h"
#include "UpdateRig.h"

#include "localfiles/unt_Public.h"
#include "support/MessageBoxRecorder.h"
#include "ui/MessageBoxes.h"
#include "update/DetachedStart.h"
#include "update/UpdateCheck.h"
#include "update/UpdateDecision.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <iostream>

namespace {

using ui::Answer::No;
using ui::Answer::Yes;

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

    EXPECT_EQ(rig.check(), row.result);

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

// The decision alone, as a pure function of the two descriptors' values.
TEST(UpdateDecision, TableOfTheFourCases)
{
    using update::UpdateQuestion;
    struct Case
    {
        QByteArray version, updateVer;
        UpdateQuestion question;
        bool fetchUpdater, quitAndStart, copy, done, result;
    };
    const update::DescriptorValues local{"1.0", "5"};
    const Case cases[] = {
        {"2.0", "6", UpdateQuestion::ProgramRelease, true, true, true, false, true},
        {"2.0", "5", UpdateQuestion::ProgramRelease, false, true, true, false, true},
        {"1.0", "6", UpdateQuestion::UpdaterRelease, true, false, true, true, false},
        {"1.0", "5", UpdateQuestion::None, false, false, false, false, false},
        {"1.0A", "5", UpdateQuestion::ProgramRelease, false, true, true, false, true},
        {"", "", UpdateQuestion::ProgramRelease, true, true, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version.toStdString() + "/" + c.updateVer.toStdString());
        const update::UpdateDecision d = update::DecideUpdate(local, {c.version, c.updateVer});
        EXPECT_EQ(d.question, c.question);
        EXPECT_EQ(d.fetchUpdater, c.fetchUpdater);
        EXPECT_EQ(d.quitAndStartUpdater, c.quitAndStart);
        EXPECT_EQ(d.copyDescriptor, c.copy);
        EXPECT_EQ(d.reportDone, c.done);
        EXPECT_EQ(d.result, c.result);
    }
}

// One check at a time: a second start while the first is under way is refused.
TEST(UpdateCheck, OneCheckAtATime)
{
    UpdateRig rig;
    rig.serveDescriptor(kLocalVersion, kLocalUpdateVer);
    MessageBoxRecorder boxes(Yes);
    QSignalSpy finished(&rig.runner(), &update::UpdateRunner::Finished);
    QElapsedTimer onGuiThread;
    onGuiThread.start();
    ASSERT_TRUE(update::CheckUpdate(rig.runner(), rig.ops()));
    std::cout << "[ measure ] starting a check took " << onGuiThread.nsecsElapsed() / 1000
              << " us on the GUI thread" << std::endl;
    EXPECT_FALSE(update::CheckUpdate(rig.runner(), rig.ops()));
    ASSERT_TRUE(WaitFor([&] { return finished.size() == 1; }, 30000));
    EXPECT_EQ(rig.http().count("/AutoUpdate.ini"), 1);
    EXPECT_TRUE(update::CheckUpdate(rig.runner(), rig.ops()));
    ASSERT_TRUE(WaitFor([&] { return finished.size() == 2; }, 30000));
}

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
        EXPECT_EQ(rig.check(), false);
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

    EXPECT_EQ(rig.check(), false);
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
    EXPECT_EQ(rig.check(), true);
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
    EXPECT_EQ(rig.check(), true);
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
    EXPECT_EQ(rig.check(), true);
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
    EXPECT_EQ(rig.check(), true);
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
        QSignalSpy finished(&rig.runner(), &update::UpdateRunner::Finished);
        update::act_updateExecute(rig.runner(), rig.ops());
        ASSERT_TRUE(WaitFor([&] { return !finished.isEmpty(); }, 30000));
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

} // namespace
