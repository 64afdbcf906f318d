#pragma once

#include <httplib.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

// An HTTP server on 127.0.0.1 at a free port, serving the routes it was given until destroyed.
class LocalServer {
public:
    explicit LocalServer(const std::function<void(httplib::Server&)>& routes) {
        routes(server_);
        port_ = server_.bind_to_any_port("127.0.0.1");
        if (port_ <= 0) return;
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~LocalServer() {
        if (!thread_.joinable()) return;
        server_.stop();
        thread_.join();
    }
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

    int Port() const { return port_; }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
};

// The address of a port on 127.0.0.1 that nothing listens on any more.
inline std::string ClosedPortUrl(const std::string& path) {
    int port = 0;
    {
        LocalServer gone([](httplib::Server&) {});
        port = gone.Port();
    }
    return "http://127.0.0.1:" + std::to_string(port) + path;
}
