#include "browsing/SessionStore.h"

#include "support/LocalHttpServer.h"
#include "support/Wait.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <optional>

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The shipped client in a program folder of its own, with data, cache,
// config and runtime folders of its own, started as a station starts it.
class Client
{
public:
    Client(const QString& programFolder, const QString& home)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"}) {
            const QString dir = home + QLatin1Char('/') + QString::fromLatin1(name);
            QDir().mkpath(dir);
            QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            env.insert(QString::fromLatin1(name), dir);
        }
        FProcess.setProcessEnvironment(env);
        FProcess.setWorkingDirectory(programFolder);
        FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        FProcess.start(programFolder + QStringLiteral("/zantu"), {});
        FProcess.waitForStarted(30000);
    }
    ~Client() { kill(); }
    bool running() const { return FProcess.state() == QProcess::Running; }
    bool ended(int timeoutMs) { return FProcess.waitForFinished(timeoutMs); }
    void signal(int number) { ::kill(pid_t(FProcess.processId()), number); }
    // SIGKILL: what a power cut leaves, no clean-up at all.
    void kill()
    {
        if (FProcess.state() == QProcess::NotRunning)
            return;
        FProcess.kill();
        FProcess.waitForFinished(10000);
    }

private:
    QProcess FProcess;
};

class SessionProcessTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The first visit of the home page opens three page tabs, as a
        // station's morning does; later visits open none.
        server.server().Get("/home.php", [this](const httplib::Request&, httplib::Response& res) {
            const bool first = homeVisits++ == 0;
            res.set_content(std::string("<html><head><title>Home</title></head><body>home") +
                                (first ? "<script>window.open('/one.php');"
                                         "window.open('/two.php');"
                                         "window.open('/three.php');</script>"
                                       : "") +
                                "</body></html>",
                            "text/html");
        });
        for (const char* path : {"/one.php", "/two.php", "/three.php"})
            server.page(path, std::string("<html><head><title>") + path +
                                  "</title></head><body>page</body></html>");
        server.start();

        ASSERT_TRUE(programFolder.isValid() && home.isValid());
        const QString exe = programFolder.filePath(QStringLiteral("zantu"));
        std::error_code linked;
        std::filesystem::create_hard_link(ZANTU_CLIENT_PATH, exe.toStdString(), linked);
        if (linked) {
            ASSERT_TRUE(QFile::copy(QStringLiteral(ZANTU_CLIENT_PATH), exe));
        }
        QFile descriptor(programFolder.filePath(QStringLiteral("AutoUpdate.ini")));
        ASSERT_TRUE(descriptor.open(QIODevice::WriteOnly));
        descriptor.write("[Version]\r\nHomePage=" + server.urlBytes("/home.php") + "\r\n");
    }

    // The session file, wherever the client's data folder put it.
    QString sessionFile() const
    {
        QDirIterator it(home.path(), {QStringLiteral("Session.txt")}, QDir::Files,
                        QDirIterator::Subdirectories);
        return it.hasNext() ? it.next() : QString();
    }
    std::optional<browsing::SessionStore::Contents> session() const
    {
        const QString path = sessionFile();
        if (path.isEmpty())
            return std::nullopt;
        return browsing::SessionStore::Parse(readFile(path));
    }
    QList<QByteArray> pages() const
    {
        return {server.urlBytes("/one.php"), server.urlBytes("/two.php"),
                server.urlBytes("/three.php")};
    }
    bool sessionHoldsThePages(int timeoutMs = 20000) const
    {
        return WaitFor(
            [&] {
                const auto contents = session();
                return contents && !contents->closed && contents->tabs == pages();
            },
            timeoutMs);
    }
    int requests(const char* path) const { return server.count(path); }

    std::atomic<int> homeVisits{0};
    LocalHttpServer server;
    QTemporaryDir programFolder;
    QTemporaryDir home;
};

// Start, open three page tabs, end the process with SIGKILL, start again:
// the three pages are requested again and their tabs stand in order.
TEST_F(SessionProcessTest, AKilledRunsPageTabsComeBackInOrderAtTheNextStart)
{
    {
        Client first(programFolder.path(), home.path());
        ASSERT_TRUE(first.running());
        ASSERT_TRUE(sessionHoldsThePages()) << readFile(sessionFile()).toStdString() << "home "
                                            << homeVisits << " one " << requests("/one.php");
        for (const char* path : {"/one.php", "/two.php", "/three.php"})
            EXPECT_EQ(requests(path), 1) << path;
        first.kill();
    }
    // The engine's helpers of the killed run end with it.
    WaitFor([] { return false; }, 1000);
    Client second(programFolder.path(), home.path());
    ASSERT_TRUE(second.running());
    // The home page and the three tabs load side by side, in no fixed order.
    EXPECT_TRUE(WaitFor(
        [&] {
            return requests("/one.php") == 2 && requests("/two.php") == 2 &&
                   requests("/three.php") == 2 && homeVisits >= 2;
        },
        60000));
    EXPECT_EQ(homeVisits, 2) << "the home page as at every start, and no tab of its own";
    // This run's own record: the restored tabs, in the same order.
    WaitFor([] { return false; }, 1500);
    EXPECT_TRUE(sessionHoldsThePages(10000)) << readFile(sessionFile()).toStdString();
    const QDir logs(programFolder.filePath(QStringLiteral("log")));
    const QStringList sessionLogs = logs.entryList({QStringLiteral("Session-*.txt")});
    ASSERT_EQ(sessionLogs.size(), 1);
    EXPECT_TRUE(readFile(logs.filePath(sessionLogs.first())).contains(" 3"));
}

// A second copy shows no window of its own and never asks the site for
// anything, even while it waits seconds for a running copy that does not
// answer.
TEST_F(SessionProcessTest, ASecondCopyLoadsNoHomePage)
{
    Client first(programFolder.path(), home.path());
    ASSERT_TRUE(first.running());
    ASSERT_TRUE(sessionHoldsThePages());
    ASSERT_EQ(homeVisits, 1);
    first.signal(SIGSTOP);
    {
        Client second(programFolder.path(), home.path());
        WaitFor([&] { return homeVisits > 1; }, 3000);
        EXPECT_TRUE(second.running()) << "the second copy still waits for an answer";
    }
    first.signal(SIGCONT);
    EXPECT_EQ(homeVisits, 1);
}

} // namespace
