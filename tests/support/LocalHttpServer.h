#pragma once

#include <httplib.h>

#include <QByteArray>
#include <QList>

#include <memory>
#include <mutex>
#include <string>
#include <thread>

// A real HTTP server on 127.0.0.1 and a free port, run on a thread of its own
// for one test. It records every request it is asked.
class LocalHttpServer
{
public:
    struct Request
    {
        std::string method;
        std::string path;   // without the query
        std::string target; // path and query as sent
        std::string body;
        httplib::Headers headers;
    };

    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    // Serves `body` at `path` (GET and POST) with the content type given.
    void page(const std::string& path, const std::string& body,
              const std::string& contentType = "text/html; charset=gbk");
    httplib::Server& server() { return FServer; }

    // Call after the routes are in place. On a port of the caller's choice
    // when given (false when it is taken), else on a free one.
    bool start(int port = 0);
    // A port that no server listens on now (connections to it are refused).
    static int FreePort();

    int port() const { return FPort; }
    std::string url(const std::string& path) const;
    QByteArray urlBytes(const std::string& path) const
    {
        return QByteArray::fromStdString(url(path));
    }

    QList<Request> requests() const;
    int count(const std::string& path) const;

private:
    httplib::Server FServer;
    std::thread FThread;
    int FPort = 0;
    mutable std::mutex FMutex;
    QList<Request> FRequests;
};
