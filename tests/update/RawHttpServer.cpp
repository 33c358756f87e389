#include "RawHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace {

sockaddr_in loopback(int port)
{
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(quint16(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return addr;
}

} // namespace

RawHttpServer::RawHttpServer(QByteArray reply, End end) : FReply(std::move(reply)), FEnd(end)
{
    if (pipe(FStopPipe) != 0)
        throw std::runtime_error("pipe");
    FListen = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr = loopback(0);
    socklen_t len = sizeof addr;
    if (FListen < 0 || bind(FListen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        listen(FListen, FEnd == End::NoAccept ? 0 : 8) != 0 ||
        getsockname(FListen, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        throw std::runtime_error("listen");
    FPort = ntohs(addr.sin_port);
    if (FEnd == End::NoAccept) {
        // With a backlog of 0 Linux queues one connection; later SYNs are dropped.
        FFiller = socket(AF_INET, SOCK_STREAM, 0);
        const sockaddr_in to = loopback(FPort);
        if (::connect(FFiller, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0)
            throw std::runtime_error("filler connect");
        return;
    }
    FThread = std::thread([this] { run(); });
}

RawHttpServer::~RawHttpServer()
{
    const char stop = 's';
    (void)!write(FStopPipe[1], &stop, 1);
    if (FThread.joinable())
        FThread.join();
    for (int fd : {FListen, FFiller, FStopPipe[0], FStopPipe[1]})
        if (fd >= 0)
            close(fd);
}

QByteArray RawHttpServer::url(const QByteArray& target) const
{
    return "http://127.0.0.1:" + QByteArray::number(FPort) + target;
}

QList<QByteArray> RawHttpServer::requests() const
{
    std::lock_guard<std::mutex> lock(FMutex);
    return FRequests;
}

bool RawHttpServer::waitReadable(int fd) const
{
    pollfd fds[2] = {{fd, POLLIN, 0}, {FStopPipe[0], POLLIN, 0}};
    while (poll(fds, 2, -1) < 0) {
    }
    return !(fds[1].revents & POLLIN);
}

void RawHttpServer::run()
{
    while (waitReadable(FListen)) {
        const int fd = accept(FListen, nullptr, nullptr);
        if (fd < 0)
            continue;
        serve(fd);
        close(fd);
    }
}

void RawHttpServer::serve(int fd)
{
    int index = 0;
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FRequests.append(QByteArray());
        index = FRequests.size() - 1;
    }
    const auto readSome = [&]() {
        char buffer[4096];
        if (!waitReadable(fd))
            return false;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        std::lock_guard<std::mutex> lock(FMutex);
        FRequests[index].append(buffer, n);
        return true;
    };
    const auto headersDone = [&]() {
        std::lock_guard<std::mutex> lock(FMutex);
        return FRequests[index].contains("\r\n\r\n");
    };
    while (!headersDone())
        if (!readSome())
            return;

    for (qsizetype sent = 0; sent < FReply.size();) {
        const ssize_t n =
            send(fd, FReply.constData() + sent, size_t(FReply.size() - sent), MSG_NOSIGNAL);
        if (n <= 0)
            return;
        sent += n;
    }
    switch (FEnd) {
    case End::Close:
        shutdown(fd, SHUT_WR);
        while (readSome()) {
        }
        break;
    case End::Reset: {
        const linger hard{1, 0};
        setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        break;
    }
    case End::Hold:
        while (readSome()) {
        }
        break;
    case End::Trickle:
        for (;;) {
            pollfd fds[2] = {{fd, POLLIN, 0}, {FStopPipe[0], POLLIN, 0}};
            if (poll(fds, 2, 500) < 0 || (fds[1].revents & POLLIN))
                return;
            if (fds[0].revents & POLLIN && !readSome())
                return; // the client has gone
            if (send(fd, "x", 1, MSG_NOSIGNAL) != 1)
                return;
        }
    case End::NoAccept:
        break;
    }
}
