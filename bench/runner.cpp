// Runs the client and the baseline cold, turn about, on the same local page,
// and prints the medians of each figure and the client/baseline ratios.
// Usage: bench_runner --client PATH --baseline PATH [--runs N] [--start-only]
//        [--against-client PATH]   (another build of the client as the baseline)

#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr double MaxRatio = 1.15;
constexpr double MaxStartRatio = 1.10;
constexpr double MaxKeptShare = 0.10;
constexpr double MaxStallMs = 100;
constexpr int StallWindowMs = 5000;
// Cold starts of each program per run for the start figure. A single start
// spreads widely on a busy machine (here 120 to 230 ms for the same program),
// and a start costs about a second, so this figure takes more of them.
constexpr int StartsPerRun = 3;
constexpr int AnswerTimeoutMs = 120000;

long long nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// GBK text: "lottery plans of the day", a table, an image and a script.
std::string benchPage()
{
    std::string rows;
    for (int i = 1; i <= 40; ++i) {
        const std::string n = std::to_string(i);
        rows += "<tr><td>" + n + "</td><td>\xCB\xAB\xC9\xAB\xC7\xF2 " + n +
                "</td><td class=\"amount\">" + std::to_string(i * 37 % 500 + 2) +
                "</td><td>\xD2\xD1\xB3\xF6\xC6\xB1</td></tr>\n";
    }
    return "<!DOCTYPE html>\n<html><head><meta charset=\"gbk\">"
           "<title>\xBD\xF1\xC8\xD5\xB7\xBD\xB0\xB8</title>"
           "<style>body{font-family:sans-serif;margin:12px}table{border-collapse:collapse}"
           "td{border:1px solid #88a;padding:2px 8px}.amount{text-align:right}</style>"
           "</head><body><h1>\xBD\xF1\xC8\xD5\xB7\xBD\xB0\xB8</h1>"
           "<p>\xB1\xBE\xD5\xBE\xBD\xF1\xC8\xD5\xB5\xC4\xCD\xB6\xD7\xA2\xB7\xBD\xB0\xB8\xA3\xAC"
           "\xB9\xB2 40 \xCF\xEE\xA1\xA3</p>"
           "<img src=\"/bench.bmp\" width=\"160\" height=\"90\" alt=\"chart\">"
           "<table id=\"plans\">\n" +
           rows +
           "<tr><td colspan=\"2\">\xBA\xCF\xBC\xC6</td><td id=\"total\" class=\"amount\"></td>"
           "<td></td></tr></table><script src=\"/bench.js\"></script></body></html>\n";
}

const char* const BenchScript = R"JS(
(function () {
    var total = 0;
    document.querySelectorAll('#plans .amount').forEach(function (cell) {
        total += parseInt(cell.textContent, 10) || 0;
    });
    document.getElementById('total').textContent = String(total);
})();
)JS";

// A 160 x 90 gradient as a 24-bit BMP.
std::string benchImage()
{
    const int w = 160, h = 90, stride = w * 3;
    const int size = 54 + stride * h;
    std::string b(size_t(size), '\0');
    auto put32 = [&b](int at, int v) {
        for (int i = 0; i < 4; ++i)
            b[size_t(at + i)] = char((v >> (8 * i)) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, w);
    put32(22, h);
    b[26] = 1;
    b[28] = 24;
    put32(34, stride * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t at = size_t(54 + y * stride + x * 3);
            b[at] = char(255 - y * 2);
            b[at + 1] = char(x);
            b[at + 2] = char(80 + (x + y) % 100);
        }
    return b;
}

// Proportional set size, in kB, of a process and all its descendants, and
// how many processes these are. `foreign` counts the other processes that map
// the engine: they share its pages, and so lower the tree's PSS.
long long treePssKb(qint64 root, int* processes = nullptr, int* foreign = nullptr)
{
    std::map<long long, std::vector<long long>> children;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || !std::all_of(name.begin(), name.end(), ::isdigit))
            continue;
        QFile stat(QString::fromStdString(entry.path().string() + "/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        const int close = text.lastIndexOf(')');
        if (close < 0)
            continue;
        const QList<QByteArray> fields = text.mid(close + 2).split(' ');
        if (fields.size() > 1)
            children[fields[1].toLongLong()].push_back(std::stoll(name));
    }
    long long total = 0;
    std::vector<long long> todo{root};
    std::vector<long long> tree;
    if (processes)
        *processes = 0;
    while (!todo.empty()) {
        const long long pid = todo.back();
        todo.pop_back();
        tree.push_back(pid);
        if (processes)
            ++*processes;
        QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
        if (rollup.open(QIODevice::ReadOnly))
            for (const QByteArray& line : rollup.readAll().split('\n'))
                if (line.startsWith("Pss:"))
                    total += line.mid(4).trimmed().split(' ').value(0).toLongLong();
        for (long long child : children[pid])
            todo.push_back(child);
    }
    if (foreign) {
        *foreign = 0;
        for (const auto& [parent, kids] : children)
            for (long long pid : kids) {
                if (pid == qint64(QCoreApplication::applicationPid()) ||
                    std::find(tree.begin(), tree.end(), pid) != tree.end())
                    continue;
                QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
                if (maps.open(QIODevice::ReadOnly) &&
                    maps.readAll().contains("libQt6WebEngineCore"))
                    ++*foreign;
            }
    }
    return total;
}

// Whether any process but this one maps the engine: a program measured
// before may still be ending its renderers. A stopped process keeps nothing
// busy.
bool engineRunning()
{
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || !std::all_of(name.begin(), name.end(), ::isdigit) ||
            std::stoll(name) == QCoreApplication::applicationPid())
            continue;
        QFile stat(QString::fromStdString(entry.path().string() + "/stat"));
        if (stat.open(QIODevice::ReadOnly)) {
            const QByteArray fields = stat.readAll();
            const int end = fields.lastIndexOf(')');
            if (end > 0 && fields.mid(end + 2, 1) == "T")
                continue;
        }
        QFile maps(QString::fromStdString(entry.path().string() + "/maps"));
        if (maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngineCore"))
            return true;
    }
    return false;
}

// A cold start begins on a machine that no earlier run still keeps busy.
void waitForEngineToEnd(int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    while (engineRunning() && waited.elapsed() < timeoutMs)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

// An update server that accepts and then never answers, or answers with a
// reply that trickles in at 2 bytes a second, for ever.
class StallingServer
{
public:
    enum class Kind { Silent, Trickle };

    explicit StallingServer(Kind kind) : FKind(kind)
    {
        FListen = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (FListen < 0 || bind(FListen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
            listen(FListen, 16) != 0 ||
            getsockname(FListen, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
            throw std::runtime_error("stalling server: cannot listen");
        FPort = ntohs(addr.sin_port);
        FThread = std::thread([this] { run(); });
    }
    ~StallingServer()
    {
        FStop = true;
        FThread.join();
        for (int fd : FClients)
            close(fd);
        close(FListen);
    }
    int port() const { return FPort; }

private:
    void run()
    {
        long long lastByte = 0;
        while (!FStop) {
            std::vector<pollfd> fds{{FListen, POLLIN, 0}};
            for (int fd : FClients)
                fds.push_back({fd, POLLIN, 0});
            poll(fds.data(), nfds_t(fds.size()), 50);
            if (fds[0].revents & POLLIN) {
                const int fd = accept(FListen, nullptr, nullptr);
                if (fd >= 0) {
                    FClients.push_back(fd);
                    if (FKind == Kind::Trickle) {
                        const char head[] = "HTTP/1.1 200 OK\r\nContent-Length: 1000000\r\n\r\n";
                        (void)!send(fd, head, sizeof head - 1, MSG_NOSIGNAL);
                    }
                }
            }
            for (size_t i = 1; i < fds.size(); ++i) {
                char buffer[4096];
                if ((fds[i].revents & (POLLIN | POLLHUP)) &&
                    read(fds[i].fd, buffer, sizeof buffer) <= 0) {
                    close(fds[i].fd);
                    FClients.erase(std::find(FClients.begin(), FClients.end(), fds[i].fd));
                }
            }
            if (FKind == Kind::Trickle && nowNs() - lastByte > 500000000LL) {
                lastByte = nowNs();
                for (int fd : FClients)
                    (void)!send(fd, "x", 1, MSG_NOSIGNAL);
            }
        }
    }

    Kind FKind;
    int FListen = -1;
    int FPort = 0;
    std::vector<int> FClients;
    std::atomic<bool> FStop{false};
    std::thread FThread;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

// One cold start of a measured program. Its data, cache, config and runtime
// folders lie in `home`, which each kind of program keeps for itself.
class Program
{
public:
    Program(const QString& exe, const QStringList& args, const QString& workDir,
            const QString& home)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
        for (const char* name :
             {"XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"}) {
            const QString dir = home + QLatin1Char('/') + QString::fromLatin1(name);
            QDir().mkpath(dir);
            QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            env.insert(QString::fromLatin1(name), dir);
        }
        FProcess.setProcessEnvironment(env);
        FProcess.setWorkingDirectory(workDir);
        FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        waitForEngineToEnd(10000);
        FStart = nowNs();
        FProcess.start(exe, args);
        if (!FProcess.waitForStarted(30000))
            throw std::runtime_error("cannot start " + exe.toStdString());
    }
    ~Program()
    {
        FProcess.write("quit\n");
        FProcess.closeWriteChannel();
        if (!FProcess.waitForFinished(20000)) {
            FProcess.kill();
            FProcess.waitForFinished(5000);
        }
    }

    long long start() const { return FStart; }
    void send(const QByteArray& command) { FProcess.write(command + "\n"); }

    // The next answer that starts with `word`; the rest of its line.
    QByteArray expect(const QByteArray& word)
    {
        const long long deadline = nowNs() + AnswerTimeoutMs * 1000000LL;
        for (;;) {
            while (FProcess.canReadLine()) {
                const QByteArray line = FProcess.readLine().trimmed();
                if (line.startsWith("error"))
                    throw std::runtime_error(line.toStdString());
                if (line == word || line.startsWith(word + " "))
                    return line.mid(word.size()).trimmed();
            }
            if (FProcess.state() != QProcess::Running)
                throw std::runtime_error("the program ended before answering " +
                                         word.toStdString());
            const long long left = (deadline - nowNs()) / 1000000;
            if (left <= 0)
                throw std::runtime_error("no answer " + word.toStdString());
            FProcess.waitForReadyRead(int(std::min<long long>(left, 1000)));
        }
    }

    // The memory of every process of the program once it has stopped moving,
    // read while no other Qt WebEngine program runs, if that comes within 45 s.
    double settledPssMb()
    {
        constexpr long long SettleLimitNs = 20000000000LL, QuietLimitNs = 45000000000LL;
        std::vector<long long> last;
        const long long start = nowNs();
        long long quietSince = 0;
        for (;;) {
            int foreign = 0;
            const long long kb = treePssKb(FProcess.processId(), &FProcesses, &foreign);
            const long long now = nowNs();
            const bool shared = foreign > 0 && now - start < QuietLimitNs;
            if (shared) {
                last.clear();
                quietSince = 0;
            } else {
                if (!quietSince)
                    quietSince = now;
                last.push_back(kb);
                if (last.size() > 8)
                    last.erase(last.begin());
            }
            if (last.size() == 8) {
                const auto [lo, hi] = std::minmax_element(last.begin(), last.end());
                if (*hi - *lo <= *hi / 200 || now - quietSince > SettleLimitNs) {
                    if (foreign > 0) {
                        ++FSharedReadings;
                        std::fprintf(stderr, "  (read beside %d other Qt WebEngine processes)\n",
                                     foreign);
                    }
                    std::fprintf(stderr, "  %s: %d processes, %.1f MB\n",
                                 qPrintable(QFileInfo(FProcess.program()).fileName()), FProcesses,
                                 double(last.back()) / 1024.0);
                    return double(last.back()) / 1024.0;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        }
    }

private:
    QProcess FProcess;
    long long FStart = 0;
    int FProcesses = 0;

public:
    // Readings that had to be taken while another engine program ran.
    static inline int FSharedReadings = 0;
};

struct Samples
{
    std::vector<double> client, baseline;
};

struct Figure
{
    std::string name, unit;
    Samples samples;
};

std::string span(const std::vector<double>& v, int digits = 1)
{
    const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
    char text[64];
    std::snprintf(text, sizeof text, "%.*f-%.*f", digits, *lo, digits, *hi);
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    auto option = [&args](const QString& name, const QString& fallback) {
        const int i = args.indexOf(name);
        return i >= 0 && i + 1 < args.size() ? args[i + 1] : fallback;
    };
    const QString clientExe = QFileInfo(option(QStringLiteral("--client"), {})).absoluteFilePath();
    const QString baselineExe =
        QFileInfo(option(QStringLiteral("--baseline"), {})).absoluteFilePath();
    const int runs = std::max(1, option(QStringLiteral("--runs"), QStringLiteral("9")).toInt());
    // Another build of the client in the baseline's place; only the start.
    const QString againstClient = option(QStringLiteral("--against-client"), {});
    // Only the start figure, for a reader who profiles the start.
    const bool startOnly =
        args.contains(QStringLiteral("--start-only")) || !againstClient.isEmpty();
    if (!args.contains(QStringLiteral("--client")) ||
        !args.contains(QStringLiteral("--baseline"))) {
        std::fprintf(
            stderr,
            "usage: bench_runner --client PATH --baseline PATH [--runs N] [--start-only] "
            "[--against-client PATH]\n");
        return 2;
    }

    try {
        httplib::Server server;
        const std::string page = benchPage();
        const std::string image = benchImage();
        std::string descriptor;
        server.Get("/bench.html", [&page](const httplib::Request&, httplib::Response& res) {
            res.set_header("Cache-Control", "no-store");
            res.set_content(page, "text/html; charset=gbk");
        });
        server.Get("/bench.js", [](const httplib::Request&, httplib::Response& res) {
            res.set_header("Cache-Control", "no-store");
            res.set_content(BenchScript, "application/javascript");
        });
        server.Get("/bench.bmp", [&image](const httplib::Request&, httplib::Response& res) {
            res.set_header("Cache-Control", "no-store");
            res.set_content(image, "image/bmp");
        });
        server.Get("/update/AutoUpdate.ini",
                   [&descriptor](const httplib::Request&, httplib::Response& res) {
                       res.set_header("Cache-Control", "no-store");
                       res.set_content(descriptor, "text/plain");
                   });
        const int port = server.bind_to_any_port("127.0.0.1");
        if (port <= 0)
            throw std::runtime_error("cannot listen on 127.0.0.1");
        std::thread serving([&server] { server.listen_after_bind(); });
        // However the runs end, the server stops before its thread goes.
        struct Stopper
        {
            httplib::Server& server;
            std::thread& thread;
            ~Stopper()
            {
                server.stop();
                thread.join();
            }
        } stopper{server, serving};
        const QByteArray base = "http://127.0.0.1:" + QByteArray::number(port);
        const QByteArray pageUrl = base + "/bench.html";

        descriptor = ("[Version]\r\nVersion=1.0.0\r\nUpdateVer=1\r\nUpdateServer=" + base +
                      "/update/\r\nHomePage=" + pageUrl + "\r\n")
                         .toStdString();
        // The client's program folder: the executable with its local files.
        // The update check fetches a descriptor of the same version from the
        // bench's own server, so it finds nothing to do.
        auto placeClient = [](const QString& exe, QTemporaryDir& into) {
            if (!into.isValid())
                throw std::runtime_error("no program folder");
            const QString placed = into.filePath(QStringLiteral("zantu"));
            // The client loads its fetch module from its own folder.
            const QString moduleName = QStringLiteral("libzantu_fetch.so");
            const QString module = QFileInfo(exe).absolutePath() + QLatin1Char('/') + moduleName;
            for (const auto& [from, to] : {std::pair{exe, placed},
                                           std::pair{module, into.filePath(moduleName)}}) {
                std::error_code linked;
                std::filesystem::create_hard_link(from.toStdString(), to.toStdString(), linked);
                if (linked && !QFile::copy(from, to))
                    throw std::runtime_error("cannot place " + from.toStdString() +
                                             " in its program folder");
            }
            return placed;
        };
        QTemporaryDir folder(QFileInfo(clientExe).absolutePath() +
                             QStringLiteral("/folder-XXXXXX"));
        const QString programExe = placeClient(clientExe, folder);
        // With --against-client the baseline's place goes to another build of
        // the client, in a program folder of its own.
        std::optional<QTemporaryDir> otherFolder;
        QString otherExe;
        if (!againstClient.isEmpty()) {
            otherFolder.emplace(QFileInfo(againstClient).absolutePath() +
                                QStringLiteral("/folder-XXXXXX"));
            otherExe = placeClient(againstClient, *otherFolder);
        }
        const QByteArray menuFile =
            "=\xCD\xB6\xD7\xA2:1\r\n@\xBD\xF1\xC8\xD5\xB7\xBD\xB0\xB8\xA3\xBA" + pageUrl +
            "\r\n+\r\n";
        // The update server of the next start; empty: the bench's own.
        QByteArray updateServer;
        auto prepareFolder = [&](QTemporaryDir& target) {
            writeFile(target.filePath(QStringLiteral("Config.ini")),
                      "[TaskConfig]\r\nHomePage=" + pageUrl + "\r\nStationName=bench\r\n");
            QByteArray local = QByteArray::fromStdString(descriptor);
            if (!updateServer.isEmpty())
                local.replace(base + "/update/", updateServer);
            writeFile(target.filePath(QStringLiteral("AutoUpdate.ini")), local);
            writeFile(target.filePath(QStringLiteral("zantu.dll")), menuFile);
            QDir(target.filePath(QStringLiteral("data"))).removeRecursively();
            QDir().mkpath(target.filePath(QStringLiteral("data")));
        };
        QTemporaryDir baselineDir;
        // A station's profile was made on its first day: each kind of program
        // keeps its folders from run to run, made by a first run not counted.
        QTemporaryDir clientHome, baselineHome, persistentHome;
        if (!baselineDir.isValid() || !clientHome.isValid() || !baselineHome.isValid() ||
            !persistentHome.isValid())
            throw std::runtime_error("no temporary folder");

        Figure start{"process start to home page complete", "ms", {}};
        Figure menu{"menu item to its tab complete", "ms", {}};
        Figure mem1{"memory with 1 tab (PSS, all processes)", "MB", {}};
        Figure mem10{"memory with 10 tabs (PSS, all processes)", "MB", {}};
        Figure mem50{"memory with 50 tabs (PSS, all processes)", "MB", {}};
        std::vector<double> keptShare, keptMb, openMb;

        // A cold start of the client in its program folder, or of the baseline.
        auto startCold = [&](bool client, const QStringList& clientArgs = {}) {
            if (client)
                prepareFolder(folder);
            if (!client && otherFolder) {
                prepareFolder(*otherFolder);
                return std::make_unique<Program>(otherExe, QStringList{}, otherFolder->path(),
                                                 baselineHome.path());
            }
            return std::make_unique<Program>(client ? programExe : baselineExe,
                                             client ? clientArgs
                                                    : QStringList{QString::fromLatin1(pageUrl)},
                                             client ? folder.path() : baselineDir.path(),
                                             client ? clientHome.path() : baselineHome.path());
        };
        auto pick = [](Figure& f, bool client) -> std::vector<double>& {
            return client ? f.samples.client : f.samples.baseline;
        };
        auto record = [&](Figure& f, bool client, double value) {
            pick(f, client).push_back(value);
            std::fprintf(stderr, "  %s: %s %.1f %s\n", f.name.c_str(),
                         client ? "client" : "baseline", value, f.unit.c_str());
        };
        auto expectStart = [&](Program& program, bool client) {
            const long long complete = program.expect("complete").toLongLong();
            record(start, client, double(complete - program.start()) / 1e6);
        };
        auto runStart = [&](bool client) { expectStart(*startCold(client), client); };
        auto runOne = [&](bool client) {
            const std::unique_ptr<Program> started = startCold(client);
            Program& program = *started;
            expectStart(program, client);
            pick(mem1, client).push_back(program.settledPssMb());
            program.send("menu");
            record(menu, client, program.expect("menu").toDouble() / 1e6);
            program.send("open 10");
            program.expect("ready");
            pick(mem10, client).push_back(program.settledPssMb());
            program.send("open 50");
            program.expect("ready");
            pick(mem50, client).push_back(program.settledPssMb());
        };
        auto runClosed = [&] {
            prepareFolder(folder);
            Program program(programExe, {}, folder.path(), clientHome.path());
            program.expect("complete");
            const double home = program.settledPssMb();
            program.send("open 21");
            program.expect("ready");
            const double open = program.settledPssMb();
            program.send("close 20");
            program.expect("ready");
            const double closed = program.settledPssMb();
            keptMb.push_back(closed - home);
            openMb.push_back(open - home);
            keptShare.push_back((closed - home) / (open - home));
        };

        // The default profile keeps nothing on disk; the client's must. For
        // reference, the start of a baseline with a persistent profile too.
        const QStringList persistentArgs{QString::fromLatin1(pageUrl), QStringLiteral("--profile"),
                                         QStringLiteral("zantu")};
        std::vector<double> persistentStart;
        auto runPersistent = [&](bool counted) {
            Program program(baselineExe, persistentArgs, baselineDir.path(), persistentHome.path());
            const long long complete = program.expect("complete").toLongLong();
            if (counted)
                persistentStart.push_back(double(complete - program.start()) / 1e6);
        };
        // The longest stall of the client's event loop, from its start to 5 s
        // after its home page completed, with an update server that stalls.
        std::vector<double> silentStall, trickleStall;
        auto runStall = [&](StallingServer::Kind kind) {
            StallingServer stalling(kind);
            updateServer = "http://127.0.0.1:" + QByteArray::number(stalling.port()) + "/";
            const std::unique_ptr<Program> program =
                startCold(true, {QStringLiteral("--stall-meter")});
            updateServer.clear();
            program->expect("complete");
            program->send("stall " + QByteArray::number(StallWindowMs));
            const double ms = program->expect("stall").toDouble();
            (kind == StallingServer::Kind::Silent ? silentStall : trickleStall).push_back(ms);
        };
        auto warmUp = [&](bool client) { startCold(client)->expect("complete"); };
        warmUp(true);
        warmUp(false);
        runPersistent(false);

        for (int i = 0; i < runs; ++i) {
            // Turn about, so that a busy moment of the machine hits both. A
            // full run gives the first start of each; the rest are starts alone.
            int starts = 0;
            if (!startOnly) {
                runOne(i % 2 == 0);
                runOne(i % 2 != 0);
                ++starts;
            }
            for (; starts < StartsPerRun; ++starts) {
                const bool clientFirst = (i + starts) % 2 == 0;
                runStart(clientFirst);
                runStart(!clientFirst);
            }
            runPersistent(true);
            if (!startOnly) {
                runClosed();
                runStall(StallingServer::Kind::Silent);
                runStall(StallingServer::Kind::Trickle);
            }
            std::fprintf(stderr, "run %d of %d done\n", i + 1, runs);
        }

        std::printf("%d runs each (the start: %d cold starts each), client and baseline turn "
                    "about; median (min-max)\n",
                    runs, runs * StartsPerRun);
        double worst = 0;
        std::string worstName;
        bool met = true;
        const std::vector<const Figure*> figures =
            startOnly ? std::vector<const Figure*>{&start}
                      : std::vector<const Figure*>{&start, &menu, &mem1, &mem10, &mem50};
        for (const Figure* f : figures) {
            const double c = median(f->samples.client);
            const double b = median(f->samples.baseline);
            const double ratio = c / b;
            if (ratio > worst) {
                worst = ratio;
                worstName = f->name;
            }
            met = met && ratio <= (f == &start ? MaxStartRatio : MaxRatio);
            std::printf("%-42s client %7.1f %s (%s)  baseline %7.1f %s (%s)  ratio %.3f\n",
                        f->name.c_str(), c, f->unit.c_str(), span(f->samples.client).c_str(), b,
                        f->unit.c_str(), span(f->samples.baseline).c_str(), ratio);
            if (f == &start)
                std::printf("%-42s baseline %7.1f ms (%s)  ratio %.3f, for reference\n",
                            "  start, baseline with a persistent profile", median(persistentStart),
                            span(persistentStart).c_str(), c / median(persistentStart));
        }
        if (startOnly)
            return met ? 0 : 1;
        for (const auto& [name, stalls] :
             {std::pair<const char*, const std::vector<double>*>{
                  "longest GUI stall, silent update server", &silentStall},
              {"longest GUI stall, trickling update server", &trickleStall}}) {
            const double worstStall = *std::max_element(stalls->begin(), stalls->end());
            met = met && median(*stalls) <= MaxStallMs;
            std::printf(
                "%-42s client %7.1f ms (%s)  worst %.1f ms, start to %d s after home complete\n",
                name, median(*stalls), span(*stalls).c_str(), worstStall, StallWindowMs / 1000);
        }
        const double share = median(keptShare);
        met = met && share <= MaxKeptShare;
        std::printf("%-42s kept %7.1f MB (%s)  open %7.1f MB (%s)  kept/open %.3f (%s)\n",
                    "20 closed tabs against 20 open (client)", median(keptMb), span(keptMb).c_str(),
                    median(openMb), span(openMb).c_str(), share, span(keptShare, 3).c_str());
        if (Program::FSharedReadings > 0)
            std::printf("note: %d memory readings were taken beside other Qt WebEngine programs, "
                        "which share the engine's pages and lower the PSS\n",
                        Program::FSharedReadings);
        std::printf(
            "worst ratio %.3f (%s); targets: start ratio <= %.2f, every other ratio <= %.2f, "
            "kept/open <= %.2f, every GUI stall <= %.0f ms: %s\n",
            worst, worstName.c_str(), MaxStartRatio, MaxRatio, MaxKeptShare, MaxStallMs,
            met ? "met" : "MISSED");
        return met ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_runner: %s\n", e.what());
        return 2;
    }
}
