// zantu-demo-site: the lottery site and update server the demo and the
// end-to-end checks run the client against.
//
//   zantu-demo-site [--port N] [--update-dir DIR]
//
// --port 0 (the default) picks a free port; the port is printed as the line
// "PORT <n>". Then every request is printed as "METHOD target". SIGINT or
// SIGTERM stops the server.

#include "DemoSite.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <pthread.h>
#include <string>
#include <thread>

namespace {

std::filesystem::path executableFolder(const char* argv0)
{
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        self = std::filesystem::absolute(argv0, ec);
    return self.parent_path();
}

int usage(const char* argv0, int rc)
{
    (rc ? std::cerr : std::cout)
        << "usage: " << argv0 << " [--port N] [--update-dir DIR]\n"
        << "  --port N         port on 127.0.0.1; 0 picks a free one (default)\n"
        << "  --update-dir DIR folder served under /update/ (default: program/update\n"
        << "                   beside this executable)\n";
    return rc;
}

bool parsePort(const std::string& text, int& port)
{
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 0 || value > 65535)
        return false;
    port = static_cast<int>(value);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    int port = 0;
    std::filesystem::path updateDir = executableFolder(argv[0]) / "program" / "update";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h")
            return usage(argv[0], 0);
        if (i + 1 >= argc)
            return usage(argv[0], 2);
        if (arg == "--port") {
            if (!parsePort(argv[++i], port)) {
                std::cerr << "zantu-demo-site: not a port: " << argv[i] << "\n";
                return 2;
            }
        } else if (arg == "--update-dir") {
            updateDir = argv[++i];
        } else {
            return usage(argv[0], 2);
        }
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(updateDir, ec))
        std::cerr << "zantu-demo-site: warning: no update folder " << updateDir
                  << "; /update/ answers 404\n";

    // Block the stop signals in every thread; one thread waits for them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    DemoSite site(UpdateFiles(updateDir), std::cout);
    const int bound = site.bind(port);
    if (bound < 0) {
        std::cerr << "zantu-demo-site: cannot listen on 127.0.0.1:" << port << "\n";
        return 1;
    }
    std::cout << "PORT " << bound << std::endl;

    std::thread stopper([&site, stopSignals] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        site.stop();
    });
    // listen() also ends when the socket fails; the stopper may then still be
    // waiting, and ends with the process.
    stopper.detach();
    return site.listen() ? 0 : 1;
}
