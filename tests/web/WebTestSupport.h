#pragma once

#include <httplib.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "text/Text.h"

namespace tarvolin::test {

// ASCII test data as Text.
inline Text T(std::string_view ascii) {
    return Text::FromBytes(ascii);
}
inline std::string S(const Text& text) {
    return text.bytes();
}

// What a cpp-httplib server saw of one request before reading its body.
struct SeenRequest {
    std::string method;
    std::string target;  // path and query
    httplib::Headers headers;

    bool Has(const std::string& name) const { return headers.find(name) != headers.end(); }
    std::string Value(const std::string& name) const {
        auto it = headers.find(name);
        return it == headers.end() ? std::string() : it->second;
    }
};

// A cpp-httplib server (plain or TLS) on 127.0.0.1 at a free port, serving on its own thread,
// that records every request before it is routed.
class LibServer {
public:
    explicit LibServer(std::unique_ptr<httplib::Server> server = std::make_unique<httplib::Server>())
        : server_(std::move(server)) {
        server_->set_tcp_nodelay(true);
        server_->set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
            std::lock_guard lock(mutex_);
            seen_.push_back({request.method, request.target, request.headers});
            return httplib::Server::HandlerResponse::Unhandled;
        });
    }
    ~LibServer() {
        server_->stop();
        if (thread_.joinable()) thread_.join();
    }

    httplib::Server& Routes() { return *server_; }
    // Call after the routes are set.
    void Start() {
        port_ = server_->bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_->listen_after_bind(); });
    }
    int Port() const { return port_; }
    std::string Url(const std::string& path, const std::string& scheme = "http://") const {
        return scheme + "127.0.0.1:" + std::to_string(port_) + path;
    }
    std::vector<SeenRequest> Seen() const {
        std::lock_guard lock(mutex_);
        return seen_;
    }

private:
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::vector<SeenRequest> seen_;
};

}  // namespace tarvolin::test
