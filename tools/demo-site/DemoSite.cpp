#include "DemoSite.h"

#include "SitePages.h"

#include <algorithm>
#include <cctype>
#include <ostream>

namespace {

const char* const Html = "text/html; charset=gbk";

bool endsWith(const std::string& s, const std::string& suffix)
{
    return s.size() >= suffix.size() &&
           s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool startsWith(const std::string& s, const std::string& prefix)
{
    return s.compare(0, prefix.size(), prefix) == 0;
}

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

} // namespace

DemoSite::DemoSite(UpdateFiles updateFiles, std::ostream& log)
    : FUpdateFiles(std::move(updateFiles)), FLog(log)
{
    // An idle browser connection would hold up stop() for the whole keep-alive time.
    FServer.set_keep_alive_timeout(1);
    FServer.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response&) {
        logRequest(req);
        return httplib::Server::HandlerResponse::Unhandled;
    });
    const auto handler = [this](const httplib::Request& req, httplib::Response& res) {
        route(req, res);
    };
    FServer.Get(".*", handler);
    FServer.Post(".*", handler);
}

int DemoSite::bind(int port)
{
    if (port == 0)
        FPort = FServer.bind_to_any_port("127.0.0.1");
    else
        FPort = FServer.bind_to_port("127.0.0.1", port) ? port : -1;
    return FPort;
}

bool DemoSite::listen()
{
    return FServer.listen_after_bind();
}

void DemoSite::stop()
{
    FServer.stop();
}

std::string DemoSite::siteUrl() const
{
    return "http://127.0.0.1:" + std::to_string(FPort);
}

void DemoSite::logRequest(const httplib::Request& req)
{
    std::lock_guard<std::mutex> lock(FLogMutex);
    FLog << req.method << ' ' << req.target << std::endl;
}

void DemoSite::route(const httplib::Request& req, httplib::Response& res)
{
    namespace pages = demosite::pages;
    const std::string& path = req.path;

    if (startsWith(path, "/update/")) {
        const std::string name = path.substr(8);
        std::string content;
        if (FUpdateFiles.read(name, siteUrl(), content))
            res.set_content(content, UpdateFiles::contentType(name).c_str());
        else {
            res.status = 404;
            res.set_content("not found\n", "text/plain");
        }
        return;
    }

    // The search boxes put their paths behind the whole home page address,
    // so these two answer under any prefix ("/index.php/Buy06/...").
    if (endsWith(path, "/Buy06/JoinLotteryProject.php")) {
        res.set_content(pages::planPage(req), Html);
        return;
    }
    if (endsWith(path, "/User/UserBuyInfo/UserBuyInfo.php")) {
        res.set_content(pages::userBuyInfo(req), Html);
        return;
    }
    if (lower(path).find("printdownload.php") != std::string::npos) {
        res.set_content(pages::planDownload(req), Html);
        return;
    }
    for (const char* account : pages::AccountPages) {
        if (path == std::string("/User/") + account) {
            res.set_content(pages::accountPage(account), Html);
            return;
        }
    }

    std::string body;
    if (path == "/" || path == "/index.php")
        body = pages::home();
    else if (path == "/StationIndex.php")
        body = pages::stationIndex();
    else if (path == "/User/AccountPopup.php")
        body = pages::accountPopup(req);
    else if (path == "/frames.php")
        body = pages::framesPage();
    else if (path == "/frame-inner.php")
        body = pages::frameInner();
    else if (path == "/Ticket/ticket.php")
        body = pages::ticket(req);
    else if (path == "/notitle.php")
        body = pages::noTitle();
    else if (path == "/longtitle.php")
        body = pages::longTitle(req.get_param_value("kind"));
    else if (path == "/images/plan.svg") {
        res.set_content(pages::planImageSvg(), "image/svg+xml");
        return;
    } else if (startsWith(path, "/Buy06/") || startsWith(path, "/User/") ||
               startsWith(path, "/Help/"))
        body = pages::menuTarget(req);
    else {
        res.status = 404;
        body = pages::notFound(req);
    }
    res.set_content(body, Html);
}
