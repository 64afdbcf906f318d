#include "RawServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace tarvolin::test {

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// True when line is a header of that name (any letter case); value gets what follows the colon.
bool LineValue(const std::string& line, const std::string& name, std::string& value) {
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos || Lower(line.substr(0, colon)) != Lower(name)) return false;
    std::size_t start = colon + 1;
    while (start < line.size() && line[start] == ' ')
        ++start;
    value = line.substr(start);
    return true;
}

}  // namespace

std::string RawRequest::Header(const std::string& name) const {
    std::string value;
    for (const std::string& line : headerLines) {
        if (LineValue(line, name, value)) return value;
    }
    return {};
}

bool RawRequest::HasHeader(const std::string& name) const {
    std::string value;
    return std::any_of(headerLines.begin(), headerLines.end(),
                       [&](const std::string& line) { return LineValue(line, name, value); });
}

void RawExchange::Write(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(socket_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

RawServer::RawServer(Handler handler) : handler_(std::move(handler)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    const int yes = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 16);
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

RawServer::~RawServer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    ::shutdown(listener_, SHUT_RDWR);
    acceptor_.join();
    {
        std::lock_guard lock(mutex_);
        for (int socket : sockets_)
            ::shutdown(socket, SHUT_RDWR);
    }
    for (std::thread& worker : workers_)
        worker.join();
    for (int socket : sockets_)
        ::close(socket);
    ::close(listener_);
}

std::string RawServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<RawRequest> RawServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

bool RawServer::WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
}

std::string RawServer::Response(const std::string& status, const std::vector<std::string>& headers,
                                const std::string& body) {
    std::string out = "HTTP/1.1 " + status + "\r\n";
    for (const std::string& header : headers)
        out += header + "\r\n";
    out += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    return out + body;
}

bool RawServer::Hold(std::chrono::milliseconds period) {
    std::unique_lock lock(mutex_);
    return !changed_.wait_for(lock, period, [&] { return stopping_.load(); });
}

void RawServer::AcceptLoop() {
    while (true) {
        const int socket = ::accept(listener_, nullptr, nullptr);
        if (socket < 0) return;
        const int noDelay = 1;
        ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
        std::lock_guard lock(mutex_);
        if (stopping_) {
            ::close(socket);
            return;
        }
        sockets_.push_back(socket);
        const int connection = ++connections_;
        workers_.emplace_back([this, socket, connection] { Serve(socket, connection); });
    }
}

void RawServer::Serve(int socket, int connection) {
    std::string buffer;
    char chunk[16384];
    auto fill = [&] {
        const ssize_t n = ::recv(socket, chunk, sizeof chunk, 0);
        if (n <= 0) return false;
        buffer.append(chunk, static_cast<std::size_t>(n));
        return true;
    };
    while (!stopping_) {
        std::size_t end;
        while ((end = buffer.find("\r\n\r\n")) == std::string::npos) {
            if (!fill()) return;
        }
        RawRequest request;
        request.connection = connection;
        std::size_t start = 0;
        while (start < end) {
            std::size_t eol = buffer.find("\r\n", start);
            if (eol > end) eol = end;
            const std::string line = buffer.substr(start, eol - start);
            if (request.requestLine.empty()) {
                request.requestLine = line;
            } else {
                request.headerLines.push_back(line);
            }
            start = eol + 2;
        }
        buffer.erase(0, end + 4);
        const std::size_t length = std::strtoul(request.Header("Content-Length").c_str(), nullptr, 10);
        while (buffer.size() < length) {
            if (!fill()) return;
        }
        request.body = buffer.substr(0, length);
        buffer.erase(0, length);
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
        }
        changed_.notify_all();
        RawExchange exchange(socket, [this](std::chrono::milliseconds period) { return Hold(period); });
        handler_(request, exchange);
        if (exchange.Closing()) break;
    }
    ::shutdown(socket, SHUT_RDWR);
}

}  // namespace tarvolin::test
