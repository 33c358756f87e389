// The main window as the client starts it, on a real X server with a real
// window manager (Xvfb and openbox): without a window manager no window is
// ever maximised, so the offscreen platform of the other tests cannot tell.

#include "shell/ClientProgram.h"
#include "shell/U_PrintTicket.h"

#include "browsing/U_WebPopWindows.h"
#include "support/LocalHttpServer.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempProgramFolder.h"
#include "support/Wait.h"
#include "webview/WebView.h"

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

int gArgc = 0;
char** gArgv = nullptr;

// Xvfb on a display number it picks itself, with openbox managing it.
class DesktopSession
{
public:
    bool Start()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return Fail("no pipe");
        FXvfb = fork();
        if (FXvfb == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        if (FXvfb < 0)
            return Fail("cannot fork for Xvfb");
        // Xvfb writes its display number once it takes connections.
        std::string number;
        char c = 0;
        while (read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (number.empty())
            return Fail("Xvfb did not start (is the xvfb package installed?)");
        FDisplay = ":" + number;
        setenv("DISPLAY", FDisplay.c_str(), 1);

        FOpenbox = fork();
        if (FOpenbox == 0) {
            execlp("openbox", "openbox", static_cast<char*>(nullptr));
            _exit(127);
        }
        if (FOpenbox < 0)
            return Fail("cannot fork for openbox");
        // The window manager is up once it has named itself on the root window.
        for (int i = 0; i < 200; ++i) {
            if (waitpid(FOpenbox, nullptr, WNOHANG) == FOpenbox) {
                FOpenbox = -1;
                return Fail("openbox did not start (is the openbox package installed?)");
            }
            const int rc = std::system("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null "
                                       "| grep -q 'window id'");
            if (WIFEXITED(rc) && WEXITSTATUS(rc) == 0)
                return true;
            usleep(50 * 1000);
        }
        return Fail("openbox did not take the screen within 10 s (is x11-utils installed?)");
    }

    ~DesktopSession()
    {
        for (pid_t pid : {FOpenbox, FXvfb}) {
            if (pid > 0) {
                kill(pid, SIGTERM);
                waitpid(pid, nullptr, 0);
            }
        }
    }

    const std::string& failure() const { return FFailure; }

private:
    bool Fail(const std::string& why)
    {
        FFailure = why;
        return false;
    }

    pid_t FXvfb = -1;
    pid_t FOpenbox = -1;
    std::string FDisplay;
    std::string FFailure;
};

DesktopSession* gDesktop = nullptr;

// The window manager's view of a window: its _NET_WM_STATE atoms.
QString WindowManagerState(WId window)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-id"), QString::number(window), QStringLiteral("_NET_WM_STATE")});
    if (!xprop.waitForFinished(5000))
        return {};
    return QString::fromLatin1(xprop.readAllStandardOutput());
}

struct Seen
{
    bool stateMaximised = false;
    bool geometryIsAvailableArea = false;
    bool managerSaysMaximised = false;
    QString managerState;
    QRect frame;
    QRect available;

    bool all() const { return stateMaximised && geometryIsAvailableArea && managerSaysMaximised; }
};

Seen Look(const QWidget& window)
{
    Seen seen;
    seen.stateMaximised = window.windowState().testFlag(Qt::WindowMaximized);
    seen.frame = window.frameGeometry();
    if (const QScreen* screen = window.screen())
        seen.available = screen->availableGeometry();
    seen.geometryIsAvailableArea = seen.frame == seen.available;
    seen.managerState = WindowManagerState(window.winId());
    seen.managerSaysMaximised =
        seen.managerState.contains(QStringLiteral("_NET_WM_STATE_MAXIMIZED_VERT")) &&
        seen.managerState.contains(QStringLiteral("_NET_WM_STATE_MAXIMIZED_HORZ"));
    return seen;
}

std::string Describe(const Seen& seen)
{
    return "windowState maximised " + std::to_string(seen.stateMaximised) + ", frame " +
           std::to_string(seen.frame.width()) + "x" + std::to_string(seen.frame.height()) + "+" +
           std::to_string(seen.frame.x()) + "+" + std::to_string(seen.frame.y()) + ", available " +
           std::to_string(seen.available.width()) + "x" + std::to_string(seen.available.height()) +
           ", " + seen.managerState.toStdString();
}

bool Loaded(webview::WebBrowser* browser, const QByteArray& url)
{
    return browser->LocationURL() == url && !browser->Busy() && browser->HasDocument();
}

// The window is maximised at start, with its home page loaded, and stays so
// when the next web view (a page tab's) starts drawing in it.
TEST(MaximisedWindow, TheMainWindowIsMaximisedAtStartAndStaysSoUnderAWindowManager)
{
    if (!gDesktop->failure().empty())
        GTEST_SKIP() << "no X desktop for this test: " << gDesktop->failure();

    LocalHttpServer server;
    server.page("/home.php", "<html><head><title>Home</title></head><body>home</body></html>");
    server.page("/one.php", "<html><head><title>One</title></head><body>one</body></html>");
    server.start();
    TempProgramFolder folder;
    // The home page comes from the working directory's descriptor; no update server.
    folder.write("AutoUpdate.ini",
                 "[Version]\r\nHomePage=" + server.urlBytes("/home.php") + "\r\n");
    MessageBoxRecorder boxes;

    shell::ClientProgram client(gArgc, gArgv);
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    Tfrm_printTicket& window = client.mainWindow();

    Seen atStart;
    Seen afterTab;
    bool homeLoaded = false;
    bool tabLoaded = false;
    WId firstNativeWindow = 0;
    WId lastNativeWindow = 0;
    QTimer::singleShot(0, &window, [&] {
        homeLoaded = WaitFor(
            [&] { return Loaded(window.HomeBrowser(), server.urlBytes("/home.php")); }, 30000);
        WaitFor([&] { return (atStart = Look(window)).all(); }, 15000);
        firstNativeWindow = window.winId();

        TFrame_WebPopWindows* frame = window.OpenNewActiveTab();
        if (frame) {
            frame->Browser()->Navigate(server.urlBytes("/one.php"));
            webview::WebBrowser* view = frame->Browser();
            tabLoaded = WaitFor(
                [&] {
                    return Loaded(frame->Browser(), server.urlBytes("/one.php")) &&
                           view->engineView()->focusProxy();
                },
                30000);
        }
        // The new view's drawing widget (its focus proxy) has joined the window:
        // a native window made again for it would have been made by now.
        afterTab = Look(window);
        lastNativeWindow = window.winId();
        QCoreApplication::quit();
    });
    QTimer::singleShot(120000, &window, [] { QCoreApplication::exit(1); });
    ASSERT_EQ(client.exec(), 0) << "the checks did not end";

    ASSERT_TRUE(homeLoaded);
    EXPECT_TRUE(atStart.stateMaximised) << Describe(atStart);
    EXPECT_TRUE(atStart.geometryIsAvailableArea) << Describe(atStart);
    EXPECT_TRUE(atStart.managerSaysMaximised) << Describe(atStart);
    ASSERT_TRUE(tabLoaded);
    EXPECT_TRUE(afterTab.all()) << Describe(afterTab);
    EXPECT_EQ(lastNativeWindow, firstNativeWindow) << "the native window was made again";
    EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.boxes().value(0).text.toStdString();
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    gArgc = argc;
    gArgv = argv;

    // The program's profile, lock and settings go to folders of this run.
    char home[] = "/tmp/zantu-desktop-XXXXXX";
    if (!mkdtemp(home))
        return 2;
    const std::string root = home;
    setenv("HOME", root.c_str(), 1);
    setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
    setenv("XDG_CACHE_HOME", (root + "/cache").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", root.c_str(), 1); // mkdtemp made it 0700

    DesktopSession desktop;
    gDesktop = &desktop;
    if (desktop.Start())
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    const int result = RUN_ALL_TESTS();
    gDesktop = nullptr;
    QDir(QString::fromStdString(root)).removeRecursively();
    return result;
}
