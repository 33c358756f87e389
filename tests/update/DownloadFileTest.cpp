#include "RawHttpServer.h"

#include "localfiles/unt_Public.h"
#include "support/LocalHttpServer.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempProgramFolder.h"
#include "support/Wait.h"
#include "ui/MessageBoxes.h"
#include "update/FetchWorker.h"
#include "update/FileDownloader.h"
#include "update/HttpFetch.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <thread>

using update::HttpFetch;

namespace {

const QByteArray kWarnCaption = "\xD6\xD8\xD2\xAA\xCC\xE1\xCA\xBE\xA3\xA1"; // 重要提示！
const QByteArray kWarnText = "\xC7\xEB\xD7\xA2\xD2\xE2\xA3\xBA\xCD\xF8\xC2\xE7\xC1\xAC\xBD\xD3\xBF"
                             "\xC9\xC4\xDC\xD2\xEC\xB3\xA3"
                             "\xA3\xA1\x20\xC7\xEB\xD6\xD8\xD0\xC2\xA1\xBE\xCB\xA2\xD0\xC2\xA1\xBF"
                             "\xBA\xF3\xD6\xD8\xCA\xD4..."
                             ")"; // 请注意：网络连接可能异常！ 请重新【刷新】后重试...)

const QByteArray kBinaryBody("\xD5\xC5\0\xFF\r\nend", 9);
constexpr qint64 kTestMaxBody = 4096;

using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;
enum class Target { Normal, MissingFolder, ReadOnly };

struct FetchCase
{
    const char* name;
    bool ok;
    QByteArray body;      // expected file content when ok
    Handler handler = {}; // served by cpp-httplib at /f
    QByteArray raw = {};  // or these bytes from the raw server
    RawHttpServer::End end = RawHttpServer::End::Close;
    QByteArray fixedUrl = {}; // or no server at all
    Target target = Target::Normal;
};

void PrintTo(const FetchCase& c, std::ostream* os)
{
    *os << c.name;
}

Handler status(int code, bool withLocation = false)
{
    return [=](const httplib::Request&, httplib::Response& res) {
        res.status = code;
        if (withLocation)
            res.set_header("Location", "/elsewhere");
        if (code != 304 && code != 204)
            res.set_content("page body", "text/html");
    };
}

Handler content(const QByteArray& body)
{
    return [=](const httplib::Request&, httplib::Response& res) {
        res.set_content(body.toStdString(), "application/octet-stream");
    };
}

Handler chunked(const QByteArray& body)
{
    return [=](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("text/plain", [=](size_t, httplib::DataSink& sink) {
            for (qsizetype at = 0; at < body.size(); at += 1000)
                sink.write(body.constData() + at, size_t(qMin<qsizetype>(1000, body.size() - at)));
            sink.done();
            return true;
        });
    };
}

// Owns whatever server a case needs and gives its URL.
struct Endpoint
{
    std::unique_ptr<LocalHttpServer> http;
    std::unique_ptr<RawHttpServer> raw;
    QByteArray url;

    explicit Endpoint(const FetchCase& c)
    {
        if (!c.fixedUrl.isEmpty()) {
            url = c.fixedUrl;
        } else if (c.handler) {
            http = std::make_unique<LocalHttpServer>();
            http->server().Get("/f", c.handler);
            http->start();
            url = http->urlBytes("/f?Ver=7");
        } else {
            raw = std::make_unique<RawHttpServer>(c.raw, c.end);
            url = raw->url("/f?Ver=7");
        }
    }
};

QByteArray refusedUrl()
{
    int port = 0;
    {
        RawHttpServer gone("", RawHttpServer::End::Close);
        port = gone.port();
    }
    return "http://127.0.0.1:" + QByteArray::number(port) + "/f";
}

QByteArray logFile()
{
    return localfiles::AppPath() + "log/Warnning_Web-" +
           QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")).toLatin1() + ".txt";
}

QByteArray readLog()
{
    QFile f(QString::fromLocal8Bit(logFile()));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// DownloadFile on a fetch thread of its own, waited for (bounded).
bool downloadAndWait(const QByteArray& url, const QByteArray& target, bool report,
                     const update::ClearHomeBody& clear)
{
    update::FetchWorker worker;
    std::optional<bool> result;
    update::DownloadFile(worker, {url, target, report, HttpFetch::Bound::SmallFile, {}}, clear,
                         [&](const update::FetchOutcome& outcome) { result = outcome.ok; });
    EXPECT_TRUE(WaitFor([&] { return result.has_value(); }, 30000));
    return result.value_or(false);
}

class DownloadFileTable : public ::testing::TestWithParam<FetchCase>
{
protected:
    void SetUp() override
    {
        HttpFetch::Limits limits;
        limits.connectTimeoutMs = 500;
        limits.lowSpeedSeconds = 1;
        limits.maxBodyBytes = kTestMaxBody;
        HttpFetch::SetLimitsForTesting(limits);
    }
    void TearDown() override { HttpFetch::ResetLimitsForTesting(); }
};

const QByteArray kOld = "old content";

TEST_P(DownloadFileTable, ResultFileBoxAndLog)
{
    const FetchCase& c = GetParam();
    TempProgramFolder folder;
    const Endpoint endpoint(c);
    const QByteArray target =
        localfiles::AppPath() + (c.target == Target::MissingFolder ? "none/f.bin" : "f.bin");

    struct Run
    {
        bool existing;
        bool report;
        bool clearSucceeds;
    };
    const Run runs[] = {{false, false, true}, {true, true, true}, {true, true, false}};
    for (const Run& run : runs) {
        SCOPED_TRACE(::testing::Message() << "existing " << run.existing << " report " << run.report
                                          << " clear " << run.clearSucceeds);
        QFile::remove(QString::fromLocal8Bit(logFile()));
        QFile file(QString::fromLocal8Bit(target));
        if (file.exists())
            file.setPermissions(file.permissions() | QFileDevice::WriteOwner);
        file.remove();
        const bool existing = run.existing && c.target != Target::MissingFolder;
        if (existing || c.target == Target::ReadOnly) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(kOld);
            file.close();
        }
        if (c.target == Target::ReadOnly)
            file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup);

        MessageBoxRecorder boxes;
        int clears = 0;
        QElapsedTimer timer;
        timer.start();
        const bool result = downloadAndWait(endpoint.url, target, run.report, [&] {
            ++clears;
            return run.clearSucceeds;
        });
        EXPECT_LT(timer.elapsed(), 5000);
        EXPECT_EQ(result, c.ok);

        const bool present = file.exists();
        if (c.ok) {
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), c.body);
            file.close();
        } else if (existing || c.target == Target::ReadOnly) {
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), kOld);
            file.close();
        } else {
            EXPECT_FALSE(present);
        }

        const bool warned = !c.ok && run.report;
        ASSERT_EQ(boxes.boxes().size(), warned ? 1 : 0);
        EXPECT_EQ(clears, warned ? 2 : 0);
        if (warned) {
            EXPECT_EQ(boxes.boxes()[0].caption, kWarnCaption);
            EXPECT_EQ(boxes.boxes()[0].text, kWarnText);
            EXPECT_EQ(boxes.boxes()[0].flags, 48u);
        }
        if (warned && !run.clearSucceeds) {
            const QByteArray log = readLog();
            EXPECT_TRUE(QRegularExpression(
                            QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d  05\r\n$"))
                            .match(QString::fromLatin1(log))
                            .hasMatch())
                << log.toStdString();
        } else {
            EXPECT_FALSE(QFile::exists(QString::fromLocal8Bit(logFile())));
        }
    }
}

const QByteArray kLimitBody(kTestMaxBody, 'x');
const QByteArray kOverLimitBody(kTestMaxBody + 1, 'x');

INSTANTIATE_TEST_SUITE_P(
    Replies, DownloadFileTable,
    ::testing::Values(
        FetchCase{"ContentLength", true, kBinaryBody, content(kBinaryBody)},
        FetchCase{"Chunked", true, kLimitBody, chunked(kLimitBody)},
        FetchCase{"CloseDelimited",
                  true,
                  "to the end\r\n",
                  {},
                  "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nto the end\r\n"},
        FetchCase{"NoContent204", true, "", status(204)},
        FetchCase{"Empty200", true, "", content("")},
        FetchCase{"ContinueThen200",
                  true,
                  "ok",
                  {},
                  "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"},
        FetchCase{"Ok200WithLocation", false, {}, status(200, true)},
        FetchCase{"Moved301", false, {}, status(301, true)},
        FetchCase{"Found302", false, {}, status(302, true)},
        FetchCase{"NotModified304", false, {}, status(304)},
        FetchCase{"Unauthorized401", false, {}, status(401)},
        FetchCase{"ProxyAuth407", false, {}, status(407)},
        FetchCase{"NotFound404", false, {}, status(404)},
        FetchCase{"ServerError500", false, {}, status(500)},
        FetchCase{"NotHttp", false, {}, {}, "SSH-2.0-OpenSSH_9.2\r\nProtocol mismatch.\r\n"},
        FetchCase{"ResetMidBody",
                  false,
                  {},
                  {},
                  "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npartial",
                  RawHttpServer::End::Reset},
        FetchCase{"ClosedMidBody",
                  false,
                  {},
                  {},
                  "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npartial"},
        FetchCase{"ChunkedCutShort",
                  false,
                  {},
                  {},
                  "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n"},
        FetchCase{"SilentServer", false, {}, {}, "", RawHttpServer::End::Hold},
        FetchCase{"ConnectStalls", false, {}, {}, "", RawHttpServer::End::NoAccept},
        FetchCase{"TooLargeAnnounced", false, {}, content(kOverLimitBody)},
        FetchCase{"TooLargeChunked", false, {}, chunked(kOverLimitBody)},
        FetchCase{"Refused", false, {}, {}, {}, {}, refusedUrl()},
        FetchCase{"Unresolvable", false, {}, {}, {}, {}, "http://no-such-host.invalid/f?Ver=1"},
        FetchCase{"Https", false, {}, {}, {}, {}, "https://127.0.0.1:9/f?Ver=1"},
        FetchCase{"NoServerPart", false, {}, {}, {}, {}, "AutoUpdate.ini?Ver=1"},
        FetchCase{"MissingFolder", false, {}, content("body"), {}, {}, {}, Target::MissingFolder},
        FetchCase{"ReadOnlyTarget", false, {}, content("body"), {}, {}, {}, Target::ReadOnly}),
    [](const ::testing::TestParamInfo<FetchCase>& info) { return std::string(info.param.name); });

TEST(HttpFetch, RealLimitsAreTheDefaults)
{
    const HttpFetch::Limits limits = HttpFetch::CurrentLimits();
    EXPECT_EQ(limits.connectTimeoutMs, 10000);
    EXPECT_EQ(limits.lowSpeedBytesPerSecond, 1);
    EXPECT_EQ(limits.lowSpeedSeconds, 20);
    EXPECT_EQ(limits.maxBodyBytes, 64 * 1024 * 1024);
    EXPECT_EQ(limits.smallFileTimeoutMs, 60 * 1000);
    EXPECT_EQ(limits.updaterTimeoutMs, 10 * 60 * 1000);
}

// A server that never goes quiet long enough for the low-speed bound still
// ends by the overall bound of its kind of file.
TEST(HttpFetch, OverallBoundEndsEveryFetch)
{
    struct Case
    {
        const char* name;
        RawHttpServer::End end;
        HttpFetch::Bound bound;
        long boundMs;
    };
    const Case cases[] = {
        {"silent, small file", RawHttpServer::End::Hold, HttpFetch::Bound::SmallFile, 1000},
        {"trickling, small file", RawHttpServer::End::Trickle, HttpFetch::Bound::SmallFile, 1000},
        {"trickling, updater", RawHttpServer::End::Trickle, HttpFetch::Bound::Updater, 2500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HttpFetch::Limits limits;
        limits.lowSpeedSeconds = 120;
        limits.smallFileTimeoutMs = c.bound == HttpFetch::Bound::SmallFile ? c.boundMs : 120000;
        limits.updaterTimeoutMs = c.bound == HttpFetch::Bound::Updater ? c.boundMs : 120000;
        HttpFetch::SetLimitsForTesting(limits);
        RawHttpServer server("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n", c.end);
        QElapsedTimer timer;
        timer.start();
        const update::HttpFetchResult result = HttpFetch::Get(server.url("/f"), c.bound);
        const qint64 ms = timer.elapsed();
        HttpFetch::ResetLimitsForTesting();
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.abandoned);
        EXPECT_GE(ms, c.boundMs - 50);
        EXPECT_LT(ms, c.boundMs + 10000);
    }
}

// A fetch that is abandoned ends at once, while connecting or while the
// server is silent.
TEST(HttpFetch, AbandonEndsAFetchUnderWay)
{
    for (RawHttpServer::End end :
         {RawHttpServer::End::Hold, RawHttpServer::End::NoAccept, RawHttpServer::End::Trickle}) {
        RawHttpServer server("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n", end);
        std::atomic<bool> abandon{false};
        QElapsedTimer sinceAbandon;
        std::thread abandoner([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            sinceAbandon.start();
            abandon = true;
        });
        const update::HttpFetchResult result =
            HttpFetch::Get(server.url("/f"), HttpFetch::Bound::SmallFile, &abandon);
        abandoner.join();
        const qint64 ms = sinceAbandon.elapsed();
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.abandoned);
        EXPECT_LT(ms, 1000) << int(end);
    }
}

// The request as it goes on the wire, with a proxy named in the environment
// that must not be used.
TEST(HttpFetch, RequestBytesOnTheWire)
{
    const QByteArray oldProxy = qgetenv("http_proxy");
    qputenv("http_proxy", "http://127.0.0.1:9");
    RawHttpServer server("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok",
                         RawHttpServer::End::Close);
    const update::HttpFetchResult result = HttpFetch::Get(server.url("/AutoUpdate.ini?Ver=123"));
    oldProxy.isNull() ? qunsetenv("http_proxy") : qputenv("http_proxy", oldProxy);

    EXPECT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.body, "ok");
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests()[0].toStdString(),
              "GET /AutoUpdate.ini?Ver=123 HTTP/1.1\r\n"
              "Host: 127.0.0.1:" +
                  std::to_string(server.port()) +
                  "\r\n"
                  "Content-Type: text/html\r\n"
                  "Accept: text/html, */*\r\n"
                  "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
                  "\r\n");
}

} // namespace
