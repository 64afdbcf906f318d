#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include <httplib.h>

#include "SiteContent.h"

namespace demosite {

// Adds the site's pages to a server: the company search and its result pages, the company detail
// pages, the redirecting links, the release page and a small front page.
void RegisterSiteRoutes(httplib::Server& server, const SiteOptions& options);

// The site on 127.0.0.1, served from a thread of its own. Tests may add handlers to Http() (a
// pre-routing handler for faults, for instance) before Start.
class SiteServer {
public:
    explicit SiteServer(SiteOptions options = {});
    ~SiteServer();
    SiteServer(const SiteServer&) = delete;
    SiteServer& operator=(const SiteServer&) = delete;

    httplib::Server& Http() { return *server_; }
    // Binds the port (0: any free one) and starts serving; false when the port cannot be bound.
    bool Start(int port = 0);
    void Stop();
    int Port() const { return port_; }
    // "http://127.0.0.1:PORT"
    std::string Address() const;

private:
    SiteOptions options_;
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = -1;
};

}  // namespace demosite
