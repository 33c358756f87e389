#include "shell/SingleInstanceGuard.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QUuid>
#include <QWidget>

#include <gtest/gtest.h>

#include <csignal>
#include <iostream>
#include <memory>
#include <vector>

namespace {

using shell::SingleInstanceGuard;

// One guard name per test, so the tests never meet a real running client or
// each other's leftovers.
QString uniqueGuardName()
{
    return QStringLiteral("zantu-guard-test-") +
           QUuid::createUuid().toString(QUuid::Id128).left(12);
}

// One probe process and everything it printed.
class Probe
{
public:
    explicit Probe(const QString& guardName, const QStringList& extra = {})
    {
        FProcess.setProcessChannelMode(QProcess::SeparateChannels);
        FProcess.start(QStringLiteral(GUARD_PROBE_PATH), QStringList{guardName} + extra);
        FStarted.start();
        FPid = FProcess.processId();
    }
    ~Probe() { kill(); }

    QProcess& process() { return FProcess; }
    qint64 pid() const { return FPid; }
    bool running() const { return FProcess.state() != QProcess::NotRunning; }

    const QByteArray& output()
    {
        FOutput += FProcess.readAllStandardOutput();
        return FOutput;
    }

    // Waits until the output holds `text`; false when the time runs out or the
    // probe ends first.
    bool waitForOutput(const QByteArray& text, int ms = 10000)
    {
        QDeadlineTimer deadline(ms);
        while (!output().contains(text)) {
            if (deadline.hasExpired() || (!running() && FProcess.bytesAvailable() == 0))
                return false;
            FProcess.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        }
        return true;
    }

    bool waitForEnd(int ms = 10000)
    {
        const bool ended = !running() || FProcess.waitForFinished(ms);
        output();
        if (ended && FEndedAfter < 0)
            FEndedAfter = FStarted.elapsed();
        return ended;
    }

    // Milliseconds from start to the end of the process, as seen by waitForEnd.
    qint64 endedAfter() const { return FEndedAfter; }

    // The probe's own way out: its standard input closes, it quits its event loop.
    bool endGracefully()
    {
        FProcess.closeWriteChannel();
        return waitForEnd();
    }

    void kill()
    {
        if (!running())
            return;
        ::kill(pid_t(FProcess.processId()), SIGCONT);
        FProcess.kill();
        FProcess.waitForFinished(5000);
    }

private:
    QProcess FProcess;
    QByteArray FOutput;
    QElapsedTimer FStarted;
    qint64 FEndedAfter = -1;
    qint64 FPid = 0;
};

class SingleInstanceGuardTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        FProbes.clear(); // kills what still runs
        QFile::remove(SingleInstanceGuard::lockFilePath(FName));
        QFile::remove(SingleInstanceGuard::serverName(FName));
    }

    Probe& start(const QStringList& extra = {})
    {
        FProbes.push_back(std::make_unique<Probe>(FName, extra));
        return *FProbes.back();
    }

    QString FName = uniqueGuardName();
    std::vector<std::unique_ptr<Probe>> FProbes;
};

QByteArray lineValue(const QByteArray& output, const QByteArray& key)
{
    const int at = output.indexOf(key);
    if (at < 0)
        return {};
    const int begin = at + key.size();
    int end = begin;
    while (end < output.size() && output[end] != ' ' && output[end] != '\n')
        ++end;
    return output.mid(begin, end - begin);
}

TEST_F(SingleInstanceGuardTest, SecondCopyShowsNothingAsksTheRunningCopyAndEnds)
{
    Probe& first = start();
    ASSERT_TRUE(first.waitForOutput("SHOWN")) << first.output().constData();
    EXPECT_TRUE(first.output().startsWith("FIRST\n"));
    const QByteArray firstWindowId = lineValue(first.output(), " id=");

    Probe& second = start();
    ASSERT_TRUE(second.waitForEnd(9000)) << "the second copy did not end on the answer";
    std::cout << "[ measure  ] second copy ended " << second.endedAfter()
              << " ms after its start\n";
    EXPECT_EQ(second.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.process().exitCode(), 0);
    const QByteArray out = second.output();
    EXPECT_TRUE(out.startsWith("SECOND\n")) << out.constData();
    EXPECT_FALSE(out.contains("SHOWN")) << out.constData();
    EXPECT_TRUE(out.contains("EXIT visible=0")) << out.constData();
    EXPECT_EQ(lineValue(out, "SECOND answered id="), firstWindowId);
    EXPECT_NE(firstWindowId, "0");

    ASSERT_TRUE(first.waitForOutput("REQUEST received pid=" + QByteArray::number(second.pid())))
        << first.output().constData();
    EXPECT_TRUE(first.running());

    // A first copy that ends normally takes its lock and socket with it.
    ASSERT_TRUE(first.endGracefully());
    EXPECT_FALSE(QFileInfo::exists(SingleInstanceGuard::lockFilePath(FName)));
    EXPECT_FALSE(QFileInfo::exists(SingleInstanceGuard::serverName(FName)));
    Probe& next = start();
    ASSERT_TRUE(next.waitForOutput("SHOWN"));
    EXPECT_TRUE(next.output().startsWith("FIRST\n"));
}

TEST_F(SingleInstanceGuardTest, MinimisedRunningCopyIsRestoredBeforeItAnswers)
{
    Probe& first = start({QStringLiteral("--minimized")});
    ASSERT_TRUE(first.waitForOutput("SHOWN minimized=1")) << first.output().constData();

    Probe& second = start();
    ASSERT_TRUE(second.waitForEnd(9000));
    EXPECT_TRUE(second.output().contains("SECOND answered")) << second.output().constData();
    ASSERT_TRUE(first.waitForOutput("REQUEST received")) << first.output().constData();
    EXPECT_TRUE(first.output().contains("minimized=0\n")) << first.output().constData();
}

TEST_F(SingleInstanceGuardTest, LockAndSocketOfAKilledCopyDoNotBlockTheNextStart)
{
    Probe& crashed = start();
    ASSERT_TRUE(crashed.waitForOutput("SHOWN"));
    crashed.process().kill(); // SIGKILL: no clean-up at all
    ASSERT_TRUE(crashed.waitForEnd());
    ASSERT_TRUE(QFileInfo::exists(SingleInstanceGuard::lockFilePath(FName)));
    ASSERT_TRUE(QFileInfo::exists(SingleInstanceGuard::serverName(FName)));

    Probe& next = start();
    ASSERT_TRUE(next.waitForOutput("SHOWN")) << next.output().constData();
    EXPECT_TRUE(next.output().startsWith("FIRST\n")) << next.output().constData();
    EXPECT_FALSE(next.output().contains("FAILURE")) << next.output().constData();

    // And it listens where the dead copy did.
    Probe& second = start();
    ASSERT_TRUE(second.waitForEnd(9000));
    EXPECT_TRUE(second.output().contains("SECOND answered")) << second.output().constData();
    EXPECT_TRUE(next.waitForOutput("REQUEST received"));
}

TEST_F(SingleInstanceGuardTest, SecondCopyGivesUpQuietlyOnARunningCopyThatNeverAnswers)
{
    Probe& first = start();
    ASSERT_TRUE(first.waitForOutput("SHOWN"));
    // Stopped, it holds the lock and its socket still accepts connections,
    // but it answers nothing.
    ASSERT_EQ(::kill(pid_t(first.pid()), SIGSTOP), 0);

    Probe& second = start();
    const bool ended = second.waitForEnd(20000);
    ::kill(pid_t(first.pid()), SIGCONT);
    ASSERT_TRUE(ended);
    std::cout << "[ measure  ] unanswered second copy ended " << second.endedAfter()
              << " ms after its start\n";
    EXPECT_GE(second.endedAfter(), 9900);
    EXPECT_LE(second.endedAfter(), 15000);
    EXPECT_EQ(second.process().exitCode(), 0);
    EXPECT_TRUE(second.output().contains("SECOND gave up")) << second.output().constData();
    EXPECT_FALSE(second.output().contains("SHOWN"));
}

// Run on a clean folder and on the leftovers of a killed copy, where all ten
// see the stale lock at once.
class SimultaneousStartTest : public SingleInstanceGuardTest,
                              public ::testing::WithParamInterface<bool>
{
};

TEST_P(SimultaneousStartTest, TenStartsAtOnceLeaveExactlyOneRunningCopy)
{
    if (GetParam()) {
        Probe& crashed = start();
        ASSERT_TRUE(crashed.waitForOutput("SHOWN"));
        crashed.process().kill();
        ASSERT_TRUE(crashed.waitForEnd());
        FProbes.clear();
        ASSERT_TRUE(QFileInfo::exists(SingleInstanceGuard::lockFilePath(FName)));
    }
    constexpr int Count = 10;
    for (int i = 0; i < Count; ++i)
        start();

    QDeadlineTimer deadline(30000);
    auto endedCount = [this] {
        int n = 0;
        for (auto& p : FProbes)
            n += !p->running();
        return n;
    };
    while (endedCount() < Count - 1 && !deadline.hasExpired())
        for (auto& p : FProbes)
            if (p->running())
                p->waitForEnd(20);
    ASSERT_EQ(endedCount(), Count - 1);

    Probe* survivor = nullptr;
    for (auto& p : FProbes) {
        if (p->running()) {
            survivor = p.get();
            continue;
        }
        p->waitForEnd();
        EXPECT_TRUE(p->output().startsWith("SECOND\n")) << p->output().constData();
        EXPECT_TRUE(p->output().contains("SECOND answered")) << p->output().constData();
        EXPECT_FALSE(p->output().contains("SHOWN"));
        EXPECT_EQ(p->process().exitCode(), 0);
    }
    ASSERT_NE(survivor, nullptr);
    EXPECT_TRUE(survivor->output().startsWith("FIRST\n"));
    ASSERT_TRUE(survivor->waitForOutput("SHOWN"));
    for (auto& p : FProbes) {
        if (p.get() == survivor)
            continue;
        const QByteArray request = "REQUEST received pid=" + QByteArray::number(p->pid()) + " ";
        EXPECT_TRUE(survivor->waitForOutput(request)) << survivor->output().constData();
    }
    EXPECT_EQ(survivor->output().count("REQUEST received"), Count - 1);
    EXPECT_TRUE(survivor->endGracefully());
}

INSTANTIATE_TEST_SUITE_P(Leftovers, SimultaneousStartTest, ::testing::Values(false, true),
                         [](const auto& info) {
                             return info.param ? "AfterAKilledCopy" : "Clean";
                         });

// In-process: the protocol as the running copy speaks it.
TEST(SingleInstanceGuardProtocol, RunningCopyIgnoresNoiseAndAnswersEveryRequestWithItsMainWindow)
{
    const QString name = uniqueGuardName();
    SingleInstanceGuard guard(name);
    ASSERT_TRUE(guard.isFirstCopy());
    ASSERT_TRUE(guard.failure().isEmpty()) << guard.failure().toStdString();
    QWidget mainWindow;
    mainWindow.show();
    guard.setMainWindow(&mainWindow);
    QSignalSpy requests(&guard, &SingleInstanceGuard::requestReceived);

    // The same name in the same process is already taken.
    EXPECT_FALSE(SingleInstanceGuard(name).isFirstCopy());

    QLocalSocket client;
    client.connectToServer(SingleInstanceGuard::serverName(name));
    ASSERT_TRUE(client.waitForConnected(3000));
    client.write("hello\n2 99\n7\n1 4242\n");
    QDeadlineTimer deadline(5000);
    while (!client.canReadLine() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(client.canReadLine());
    EXPECT_EQ(client.readLine(), "2 " + QByteArray::number(quint64(mainWindow.winId())) + "\n");
    ASSERT_EQ(requests.count(), 1);
    EXPECT_EQ(requests.at(0).at(0).toLongLong(), 4242);
    EXPECT_FALSE(client.canReadLine());
}

} // namespace
