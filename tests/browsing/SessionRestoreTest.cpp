#include "browsing/SessionStore.h"

#include "browsing/PageTabs.h"
#include "browsing/U_WebPopWindows.h"
#include "shell/U_PrintTicket.h"
#include "support/LocalHttpServer.h"
#include "support/MessageBoxRecorder.h"
#include "support/QuietMainWindow.h"
#include "support/TempProgramFolder.h"
#include "support/Wait.h"
#include "support/WebTestProfile.h"
#include "support/WindowParts.h"
#include "webview/WebView.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTabWidget>
#include <QWebEngineProfile>

#include <gtest/gtest.h>

#include <optional>

namespace {

using browsing::SessionStore;

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

TEST(SessionFile, FormatAndParseAgree)
{
    const SessionStore::Contents running{false, {"http://a/1", "http://b/2?x=%D5%C5"}};
    const QByteArray text = SessionStore::Format(running);
    EXPECT_EQ(text,
              "ZantuSession 1\nstate running\ntab http://a/1\ntab http://b/2?x=%D5%C5\nend\n");
    const auto back = SessionStore::Parse(text);
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->closed);
    EXPECT_EQ(back->tabs, running.tabs);
    const auto closed = SessionStore::Parse(SessionStore::Format({true, {}}));
    ASSERT_TRUE(closed);
    EXPECT_TRUE(closed->closed);
    EXPECT_TRUE(closed->tabs.isEmpty());
}

TEST(SessionFile, DamagedTextIsNothing)
{
    for (const QByteArray& text :
         {QByteArray(), QByteArray("\n"), QByteArray("garbage\x00\xFF", 9),
          QByteArray("ZantuSession 1\nstate running\ntab http://a/1\n"),    // cut short
          QByteArray("ZantuSession 1\nstate running\ntab http://a/1\nend"), // last LF missing
          QByteArray("ZantuSession 2\nstate running\nend\n"),
          QByteArray("ZantuSession 1\nstate maybe\nend\n"),
          QByteArray("ZantuSession 1\nstate running\ntab \nend\n"),
          QByteArray("ZantuSession 1\nstate running\ntab http://a/ b\nend\n"),
          QByteArray("ZantuSession 1\nstate running\nhttp://a/1\nend\n")})
        EXPECT_FALSE(SessionStore::Parse(text)) << text.toStdString();
}

// The main window with real views, and its session file in a folder of its own.
class SessionRestoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* path : {"/home.php", "/one.php", "/two.php", "/three.php"})
            server.page(path, std::string("<html><head><title>") + path +
                                  "</title></head><body>page</body></html>");
        server.start();
        folder.write("AutoUpdate.ini",
                     "[Version]\r\nHomePage=" + server.urlBytes("/home.php") + "\r\n");
        QDir().mkpath(folder.filePath(QStringLiteral("data-folder")));
        sessionPath = folder.filePath(QStringLiteral("data-folder/Session.txt"));
    }
    void TearDown() override { window.reset(); }

    // A start as the client makes it: the session read, the window shown.
    QList<QByteArray> start()
    {
        store = std::make_unique<SessionStore>(sessionPath);
        const QList<QByteArray> unfinished = store->Open();
        window = std::make_unique<QuietMainWindow>(browsers);
        window->SetSessionStore(store.get());
        window->show();
        window->RestorePageTabs(unfinished);
        return unfinished;
    }
    std::optional<SessionStore::Contents> onDisk() const
    {
        return SessionStore::Parse(readFile(sessionPath));
    }
    bool diskHolds(const QList<QByteArray>& tabs) const
    {
        return WaitFor([&] {
            const auto contents = onDisk();
            return contents && !contents->closed && contents->tabs == tabs;
        });
    }
    QList<QByteArray> urls(std::initializer_list<const char*> paths) const
    {
        QList<QByteArray> list;
        for (const char* path : paths)
            list.append(server.urlBytes(path));
        return list;
    }
    void openTab(const char* path)
    {
        window->OpenNewActiveTab()->Browser()->Navigate(server.urlBytes(path));
    }

    TempProgramFolder folder;
    MessageBoxRecorder boxes;
    LocalHttpServer server;
    std::unique_ptr<QWebEngineProfile> profile = MakeTestProfile();
    webview::WebViewFactory browsers{profile.get()};
    QString sessionPath;
    std::unique_ptr<SessionStore> store;
    std::unique_ptr<QuietMainWindow> window;
};

// While the program runs, the file follows the open page tabs in order; the
// main window's close leaves nothing for the next start.
TEST_F(SessionRestoreTest, OpenTabsAreKeptInOrderAndANormalCloseRestoresNothing)
{
    EXPECT_TRUE(start().isEmpty());
    ASSERT_TRUE(WaitFor([&] { return onDisk().has_value(); }))
        << "the file is there within a second of the start";
    openTab("/one.php");
    openTab("/two.php");
    openTab("/three.php");
    EXPECT_TRUE(diskHolds(urls({"/one.php", "/two.php", "/three.php"})));
    window->ClosePageTab(2);
    EXPECT_TRUE(diskHolds(urls({"/one.php", "/three.php"})));
    window->close();
    const auto closed = onDisk();
    ASSERT_TRUE(closed);
    EXPECT_TRUE(closed->closed);
    window.reset();

    EXPECT_TRUE(start().isEmpty());
    WaitFor([] { return false; }, 500);
    EXPECT_EQ(PageWebClient(*window)->count(), 1);
    EXPECT_EQ(server.count("/one.php"), 1);
}

// Writes come at most once a second however often the tabs change.
TEST_F(SessionRestoreTest, TheFileIsWrittenAtMostOnceASecond)
{
    SessionStore throttled(sessionPath);
    QList<qint64> writes;
    QElapsedTimer clock;
    clock.start();
    throttled.SetTabSource([&] {
        writes.append(clock.elapsed());
        return QList<QByteArray>{"http://a/" + QByteArray::number(writes.size())};
    });
    throttled.Open();
    while (clock.elapsed() < 3500) {
        throttled.Changed();
        WaitFor([] { return false; }, 50);
    }
    ASSERT_GE(writes.size(), 2);
    EXPECT_LE(writes.size(), 4);
    EXPECT_GE(writes.first(), 990);
    for (int i = 1; i < writes.size(); ++i)
        EXPECT_GE(writes[i] - writes[i - 1], 990) << i;
}

// After a run that did not end by the main window's close, the page tabs
// come back in their order after the home tab, their pages requested again.
TEST_F(SessionRestoreTest, AnUnfinishedRunsTabsOpenAgainInOrder)
{
    const QByteArray left =
        SessionStore::Format({false, urls({"/three.php", "/one.php", "/two.php"})});
    writeFile(sessionPath, left);
    EXPECT_EQ(start().size(), 3);
    // Until this run writes, an end without a close would find the same tabs.
    EXPECT_EQ(readFile(sessionPath), left);
    ASSERT_EQ(PageWebClient(*window)->count(), 4);
    EXPECT_EQ(PageWebClient(*window)->currentIndex(), 0);
    EXPECT_TRUE(WaitFor([&] {
        return server.count("/one.php") == 1 && server.count("/two.php") == 1 &&
               server.count("/three.php") == 1;
    }));
    EXPECT_EQ(window->Tabs().SessionTabs(), urls({"/three.php", "/one.php", "/two.php"}));
    EXPECT_TRUE(diskHolds(urls({"/three.php", "/one.php", "/two.php"})));
    EXPECT_TRUE(
        folder.read(TempProgramFolder::DayLogName(QStringLiteral("Session"))).contains(" 3"));
}

// A damaged or empty file is ignored, the client starts as it always does,
// and the file is replaced by a sound one.
TEST_F(SessionRestoreTest, ADamagedOrEmptyFileIsIgnoredAndReplaced)
{
    for (const QByteArray& text :
         {QByteArray(),
          QByteArray("ZantuSession 1\nstate running\ntab " + server.urlBytes("/one.php") + "\n"),
          QByteArray("\xFF\xFE garbage \x00 here", 17)}) {
        writeFile(sessionPath, text);
        EXPECT_TRUE(start().isEmpty()) << text.toStdString();
        EXPECT_EQ(PageWebClient(*window)->count(), 1);
        ASSERT_TRUE(WaitFor([&] { return onDisk().has_value(); })) << text.toStdString();
        const auto replaced = onDisk();
        EXPECT_FALSE(replaced->closed);
        window.reset();
    }
    EXPECT_EQ(server.count("/one.php"), 0);
}

} // namespace
