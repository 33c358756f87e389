#include "support/LocalHttpServer.h"

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

void LocalHttpServer::page(const std::string& path, const std::string& body, const std::string& contentType)
{
    const auto handler = [body, contentType](const httplib::Request&, httplib::Response& res) {
        res.set_content(body, contentType.c_str());
    };
    FServer.Get(path, handler);
    FServer.Post(path, handler);
}

void LocalHttpServer::start()
{
    FPort = FServer.bind_to_any_port("127.0.0.1");
    // The socket listens from bind on, so a request sent before the thread
    // accepts waits in the backlog.
    FThread = std::thread([this] { FServer.listen_after_bind(); });
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
