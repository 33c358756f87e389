#pragma once

#include "UpdateFiles.h"

#include <httplib.h>

#include <iosfwd>
#include <mutex>
#include <string>

// The lottery site and its update server in one, on 127.0.0.1. Every request
// is written to the log as one line "METHOD target", flushed, so a script can
// wait for a page to be asked for.
class DemoSite
{
public:
    DemoSite(UpdateFiles updateFiles, std::ostream& log);
    DemoSite(const DemoSite&) = delete;
    DemoSite& operator=(const DemoSite&) = delete;

    // Port 0 picks a free port. Returns the port, or -1 when it cannot bind.
    int bind(int port);
    // Serves until stop() is called from another thread.
    bool listen();
    void stop();

    std::string siteUrl() const;

private:
    void route(const httplib::Request& req, httplib::Response& res);
    void logRequest(const httplib::Request& req);

    httplib::Server FServer;
    UpdateFiles FUpdateFiles;
    int FPort = 0;
    std::ostream& FLog;
    std::mutex FLogMutex;
};
