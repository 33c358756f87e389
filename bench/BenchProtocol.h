#pragma once

// What the two measured programs share: the clock and the command channel.
// Commands come one a line on stdin; answers go one a line to stdout.

#include <QByteArray>
#include <QCoreApplication>
#include <QObject>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <iostream>
#include <string>
#include <thread>

namespace bench {

// CLOCK_MONOTONIC, so that the runner can compare it with its own.
inline long long NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The CPU time the calling thread and its whole process have used so far, on
// stderr: where a start's time went, for a reader of one run. The engine's
// UI work runs on the GUI thread, so what the program adds there before the
// home page completes is what its start pays.
inline void MarkCpu(const char* what)
{
    auto ms = [](clockid_t clock) {
        timespec t{};
        clock_gettime(clock, &t);
        return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
    };
    std::fprintf(stderr, "bench cpu %s %s: this thread %.1f ms, process %.1f ms\n",
                 qPrintable(QCoreApplication::applicationName()), what,
                 ms(CLOCK_THREAD_CPUTIME_ID), ms(CLOCK_PROCESS_CPUTIME_ID));
}

inline void Answer(const QByteArray& line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Reads stdin on a thread of its own and hands each line to `handler` on the
// GUI thread; the end of input quits the application.
inline void ReadCommands(QObject* context, std::function<void(const QByteArray&)> handler)
{
    std::thread([context, handler] {
        std::string line;
        while (std::getline(std::cin, line)) {
            const QByteArray command = QByteArray::fromStdString(line).trimmed();
            QMetaObject::invokeMethod(
                context, [handler, command] { handler(command); }, Qt::QueuedConnection);
        }
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                  Qt::QueuedConnection);
    }).detach();
}

} // namespace bench
