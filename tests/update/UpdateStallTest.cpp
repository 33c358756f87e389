#include "RawHttpServer.h"
#include "UpdateRig.h"

#include "shell/U_PrintTicket.h"
#include "support/FakeWebBrowser.h"
#include "support/MessageBoxRecorder.h"
#include "support/Wait.h"
#include "update/HttpFetch.h"

#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <iostream>
#include <memory>

namespace {

using update::HttpFetch;

// The longest time between two turns of the GUI thread's event loop while
// it lives, seen by a timer that asks to run every 5 ms.
class LoopGapMeter
{
public:
    LoopGapMeter()
    {
        FClock.start();
        FTimer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&FTimer, &QTimer::timeout, &FTimer, [this] {
            const qint64 now = FClock.elapsed();
            FLongest = qMax(FLongest, now - FLast);
            FLast = now;
        });
        FTimer.start(5);
    }
    qint64 longestMs() const { return FLongest; }

private:
    QElapsedTimer FClock;
    QTimer FTimer;
    qint64 FLast = 0;
    qint64 FLongest = 0;
};

class UpdateStall : public ::testing::Test
{
protected:
    void SetUp() override
    {
        HttpFetch::Limits limits;
        limits.lowSpeedSeconds = 120; // so the overall bound is what ends them
        limits.smallFileTimeoutMs = 1500;
        HttpFetch::SetLimitsForTesting(limits);
    }
    void TearDown() override { HttpFetch::ResetLimitsForTesting(); }
};

// A silent or trickling update server: the window's event loop keeps
// turning, and the check ends quietly by the overall bound.
TEST_F(UpdateStall, EventLoopKeepsTurningWhileTheServerIsSilentOrTrickles)
{
    for (const RawHttpServer::End end : {RawHttpServer::End::Hold, RawHttpServer::End::Trickle}) {
        SCOPED_TRACE(end == RawHttpServer::End::Hold ? "silent" : "trickling");
        RawHttpServer server("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n", end);
        UpdateRig rig;
        rig.folder().write("AutoUpdate.ini",
                           descriptor(server.url("/"), kLocalVersion, kLocalUpdateVer));
        MessageBoxRecorder boxes(ui::Answer::Yes);
        QElapsedTimer timer;
        timer.start();
        std::optional<bool> result;
        {
            LoopGapMeter meter;
            result = rig.check(20000);
            std::cout << "[ measure ] longest event-loop gap " << meter.longestMs() << " ms"
                      << std::endl;
            EXPECT_LT(meter.longestMs(), 100);
        }
        EXPECT_EQ(result, std::optional<bool>(false));
        EXPECT_GE(timer.elapsed(), 1400);
        EXPECT_TRUE(boxes.boxes().isEmpty());
        EXPECT_EQ(server.requests().size(), 1);
        EXPECT_FALSE(rig.folder().exists("data/AutoUpdate.ini"));
    }
}

// Closing the main window while its check waits on a silent server: the
// event loop ends at once, the window goes at once, and the file the fetch
// would have replaced is untouched.
TEST_F(UpdateStall, ClosingTheMainWindowDuringAFetchEndsAtOnce)
{
    HttpFetch::Limits limits;
    limits.lowSpeedSeconds = 120;
    HttpFetch::SetLimitsForTesting(limits); // the real 60 s overall bound
    for (const RawHttpServer::End end :
         {RawHttpServer::End::Hold, RawHttpServer::End::Trickle, RawHttpServer::End::NoAccept}) {
        SCOPED_TRACE(int(end));
        RawHttpServer server("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n", end);
        TempProgramFolder folder;
        folder.write("AutoUpdate.ini", descriptor(server.url("/"), kLocalVersion, kLocalUpdateVer));
        QDir(folder.path()).mkdir("data");
        folder.write("data/AutoUpdate.ini", "old descriptor");
        MessageBoxRecorder boxes;
        FakeWebBrowserFactory browsers;
        auto window = std::make_unique<Tfrm_printTicket>(browsers);
        window->show();
        // The fetches wait for the home page's document; the fake view has none.
        emit window->HomeBrowser()->DocumentComplete("http://site.example/");
        if (end != RawHttpServer::End::NoAccept)
            ASSERT_TRUE(WaitFor([&] { return server.requests().size() == 1; }));
        else
            WaitFor([] { return false; }, 300); // connecting, never accepted

        QTimer::singleShot(0, window.get(), [&] { window->close(); });
        QTimer failsafe;
        failsafe.setSingleShot(true);
        QObject::connect(&failsafe, &QTimer::timeout, &failsafe, [] { QCoreApplication::exit(1); });
        failsafe.start(10000);
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(QCoreApplication::exec(), 0);
        window.reset();
        const qint64 ms = clock.elapsed();
        std::cout << "[ measure ] close to window gone " << ms << " ms" << std::endl;
        EXPECT_LT(ms, 1000);
        EXPECT_EQ(folder.read("data/AutoUpdate.ini"), "old descriptor");
        EXPECT_EQ(QDir(folder.filePath("data")).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"AutoUpdate.ini"});
        EXPECT_TRUE(boxes.boxes().isEmpty());
    }
}

// How long a check takes with the real time-outs, the event loop turning
// all the while.
TEST(UpdateCheckTime, WithRealLimits)
{
    ASSERT_EQ(HttpFetch::CurrentLimits().lowSpeedSeconds, 20);
    struct Case
    {
        const char* name;
        qint64 minMs, maxMs;
    };
    for (const Case& c : {Case{"server up", 0, 2000}, Case{"connection refused", 0, 2000},
                          Case{"silent server", 19000, 26000}}) {
        SCOPED_TRACE(c.name);
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
        MessageBoxRecorder boxes(ui::Answer::Yes);
        QElapsedTimer timer;
        timer.start();
        LoopGapMeter meter;
        EXPECT_EQ(rig.check(60000), std::optional<bool>(false));
        const qint64 ms = timer.elapsed();
        std::cout << "[ measure ] update check took " << ms << " ms with " << c.name
                  << ", longest event-loop gap " << meter.longestMs() << " ms" << std::endl;
        EXPECT_GE(ms, c.minMs);
        EXPECT_LE(ms, c.maxMs);
        // Far below the 20 s the fetch takes; over 20 s of a loaded machine the
        // scheduler alone can take a tenth of a second from the loop.
        EXPECT_LT(meter.longestMs(), 1000);
        EXPECT_TRUE(boxes.boxes().isEmpty());
    }
}

// The main window's check starts at the first paint, but its first fetch
// waits for the home page's document, and for 5 s at most without one.
TEST(UpdateStart, FetchesWaitForTheHomePagesDocument)
{
    for (const bool completes : {true, false}) {
        SCOPED_TRACE(completes ? "home page completes" : "home page never completes");
        UpdateRig rig;
        rig.serveDescriptor(kLocalVersion, kLocalUpdateVer);
        MessageBoxRecorder boxes;
        FakeWebBrowserFactory browsers;
        Tfrm_printTicket window(browsers);
        QElapsedTimer clock;
        clock.start();
        window.show();
        ASSERT_TRUE(WaitFor([&] { return window.FirstPaintDone(); }));
        WaitFor([] { return false; }, 300);
        EXPECT_EQ(rig.http().count("/AutoUpdate.ini"), 0);
        if (completes)
            emit window.HomeBrowser()->DocumentComplete("http://site.example/");
        ASSERT_TRUE(WaitFor([&] { return rig.folder().exists("data/AutoUpdate.ini"); }, 15000));
        if (completes) {
            EXPECT_LT(clock.elapsed(), 4000);
        } else {
            EXPECT_GE(clock.elapsed(), 4900);
        }
        EXPECT_EQ(rig.http().count("/AutoUpdate.ini"), 1);
    }
}

} // namespace
