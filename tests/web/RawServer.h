#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tarvolin::test {

// One request as it arrived: the request line and every header line in order, without CRLF.
struct RawRequest {
    std::string requestLine;
    std::vector<std::string> headerLines;
    std::string body;
    int connection = 0;  // 1 for the first connection the server accepted, and so on

    // The value of the first header of that name (any letter case), or "" when it is absent.
    std::string Header(const std::string& name) const;
    bool HasHeader(const std::string& name) const;
};

// What a handler does with one request: write bytes, hold, or drop the connection.
class RawExchange {
public:
    RawExchange(int socket, std::function<bool(std::chrono::milliseconds)> hold)
        : socket_(socket), hold_(hold) {}
    void Write(const std::string& bytes);
    // Waits for the period or until the server stops; false when it stopped.
    bool Hold(std::chrono::milliseconds period) { return hold_(period); }
    // Closes the connection after the handler returns.
    void Close() { close_ = true; }
    bool Closing() const { return close_; }

private:
    int socket_;
    std::function<bool(std::chrono::milliseconds)> hold_;
    bool close_ = false;
};

// An HTTP/1.1 server on 127.0.0.1 at a free port that reads requests byte-exactly and lets each
// test script the answer to the byte, including answers no well-behaved server gives. Every
// connection is served on its own thread and kept open between requests until the client or the
// handler closes it.
class RawServer {
public:
    using Handler = std::function<void(const RawRequest&, RawExchange&)>;

    explicit RawServer(Handler handler);
    ~RawServer();
    RawServer(const RawServer&) = delete;
    RawServer& operator=(const RawServer&) = delete;

    int Port() const { return port_; }
    std::string Url(const std::string& path) const;
    std::vector<RawRequest> Requests() const;
    int Connections() const { return connections_.load(); }
    // Waits until at least count requests have arrived; false after the time-out.
    bool WaitForRequests(std::size_t count,
                         std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;

    // A plain answer: the status line, the header lines, Content-Length, and the body.
    static std::string Response(const std::string& status, const std::vector<std::string>& headers,
                                const std::string& body);

private:
    void AcceptLoop();
    void Serve(int socket, int connection);
    bool Hold(std::chrono::milliseconds period);

    Handler handler_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<int> connections_{0};
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<RawRequest> requests_;
    std::vector<int> sockets_;
    std::vector<std::thread> workers_;
    std::thread acceptor_;
};

}  // namespace tarvolin::test
