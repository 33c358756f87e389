#pragma once

#include <QByteArray>
#include <QList>

#include <atomic>
#include <mutex>
#include <thread>

// A TCP server on 127.0.0.1 that answers every connection with fixed bytes,
// for the replies a well-behaved HTTP server never sends. It records what
// each client sent, up to the client's own close.
class RawHttpServer
{
public:
    enum class End {
        Close,   // send, shut down, read the client to its end
        Reset,   // send, then reset the connection
        Hold,    // send, then keep the connection open and silent
        Trickle, // send, then one more byte every half second, for ever
        NoAccept // never accept; the backlog is kept full so connecting stalls
    };

    RawHttpServer(QByteArray reply, End end);
    ~RawHttpServer();
    RawHttpServer(const RawHttpServer&) = delete;
    RawHttpServer& operator=(const RawHttpServer&) = delete;

    int port() const { return FPort; }
    QByteArray url(const QByteArray& target) const;
    QList<QByteArray> requests() const;

private:
    void run();
    void serve(int fd);
    bool waitReadable(int fd) const; // false once the server stops

    QByteArray FReply;
    End FEnd;
    int FListen = -1;
    int FFiller = -1;
    int FStopPipe[2] = {-1, -1};
    int FPort = 0;
    std::thread FThread;
    mutable std::mutex FMutex;
    QList<QByteArray> FRequests;
};
