#include "support/LocalHttpServer.h"

#include <QTcpServer>

#include <atomic>

LocalHttpServer::LocalHttpServer()
{
    FServer.set_logger([this](const httplib::Request& req, const httplib::Response&) {
        std::lock_guard<std::mutex> lock(FMutex);
        FRequests.append({req.method, req.path, req.target, req.body, req.headers});
    });
}

LocalHttpServer::~LocalHttpServer()
{
    FServer.stop();
    if (FThread.joinable())
        FThread.join();
}

void LocalHttpServer::page(const std::string& path, const std::string& body,
                           const std::string& contentType)
{
    const auto handler = [body, contentType](const httplib::Request&, httplib::Response& res) {
        res.set_content(body, contentType.c_str());
    };
    FServer.Get(path, handler);
    FServer.Post(path, handler);
}

int LocalHttpServer::FreePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

bool LocalHttpServer::start(int port)
{
    if (port > 0) {
        if (!FServer.bind_to_port("127.0.0.1", port))
            return false;
        FPort = port;
    } else {
        FPort = FServer.bind_to_any_port("127.0.0.1");
    }
    // The socket listens from bind on, so a request sent before the thread
    // accepts waits in the backlog.
    const auto ended = std::make_shared<std::atomic<bool>>(false);
    FThread = std::thread([this, ended] {
        FServer.listen_after_bind();
        *ended = true;
    });
    // stop() does nothing until the loop runs: a server destroyed before its
    // thread got there would keep the destructor's join waiting for ever.
    while (!FServer.is_running() && !*ended)
        std::this_thread::yield();
    return true;
}

std::string LocalHttpServer::url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(FPort) + path;
}

QList<LocalHttpServer::Request> LocalHttpServer::requests() const
{
    std::lock_guard<std::mutex> lock(FMutex);
    return FRequests;
}

int LocalHttpServer::count(const std::string& path) const
{
    int n = 0;
    for (const Request& r : requests())
        n += r.path == path;
    return n;
}
