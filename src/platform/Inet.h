#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// A small HTTP client with the shape of the Windows internet library the program was written
// against: a session (agent, connection limit, time-outs, proxy), a connection (host and port) and
// a request (verb, path with query, flags) that is sent once, answers with one raw header block
// and hands out its body piece by piece.
//
// The library adds nothing of its own to a request beyond what the transport needs (Host, and a
// Content-Length where the caller gave none); it keeps no cache and no cookies and follows no
// redirect. Connections are kept alive and reused between requests of one session.
//
// Transfers run on the calling thread and pass a safe point of ThreadControl at least every 50 ms:
// a suspended thread holds inside its transfer, and a stop abandons the transfer, which then reads
// as failed.
namespace tarvolin::platform {

// Request flags, with the values of the original library.
inline constexpr std::uint32_t kInetFlagReload = 0x80000000u;
inline constexpr std::uint32_t kInetFlagNoCacheWrite = 0x04000000u;
inline constexpr std::uint32_t kInetFlagSecure = 0x00800000u;
inline constexpr std::uint32_t kInetFlagNoAutoRedirect = 0x00200000u;
inline constexpr std::uint32_t kInetFlagNoCookies = 0x00080000u;
inline constexpr std::uint32_t kInetFlagIgnoreCertDateInvalid = 0x00002000u;
inline constexpr std::uint32_t kInetFlagIgnoreCertCnInvalid = 0x00001000u;

// Defaults of the original library, used until a session sets its own.
inline constexpr int kInetDefaultConnectTimeoutMs = 60000;
inline constexpr int kInetDefaultSendTimeoutMs = 30000;
inline constexpr int kInetDefaultReceiveTimeoutMs = 30000;

enum class InetAccess { kDirect, kProxy };

struct InetSessionCore;
struct InetConnectionData;

class InetSession {
public:
    // Null when the library cannot be started.
    static std::unique_ptr<InetSession> Open(std::string_view agent);
    ~InetSession();
    InetSession(const InetSession&) = delete;
    InetSession& operator=(const InetSession&) = delete;

    // A session with the same agent and settings and connections of its own.
    std::unique_ptr<InetSession> Duplicate() const;

    void SetMaxConnectionsPerServer(int count);
    // Milliseconds; a value of 0 or less switches that time-out off. The send and receive
    // time-outs end a transfer that moves no data for that long while sending or receiving.
    void SetConnectTimeout(int ms);
    void SetSendTimeout(int ms);
    void SetReceiveTimeout(int ms);
    // kDirect ignores every proxy, also those named in the environment.
    void SetProxy(InetAccess access, std::string_view proxy);

    const std::string& Agent() const;
    int ConnectTimeout() const;
    int SendTimeout() const;
    int ReceiveTimeout() const;

private:
    friend class InetConnection;
    explicit InetSession(std::shared_ptr<InetSessionCore> core);
    std::shared_ptr<InetSessionCore> core_;
};

class InetConnection {
public:
    // Nothing is contacted yet; null only when host cannot name a server.
    static std::unique_ptr<InetConnection> Open(InetSession& session, std::string_view host, int port);
    ~InetConnection();
    InetConnection(const InetConnection&) = delete;
    InetConnection& operator=(const InetConnection&) = delete;

    void SetProxyUserName(std::string_view user);
    void SetProxyPassword(std::string_view password);

private:
    friend class InetRequest;
    explicit InetConnection(std::shared_ptr<InetConnectionData> data);
    std::shared_ptr<InetConnectionData> data_;
};

class InetRequest {
public:
    // version must be "HTTP/1.1" (the only one spoken); null for an empty verb or path.
    static std::unique_ptr<InetRequest> Open(InetConnection& connection, std::string_view verb,
                                             std::string_view pathAndQuery, std::string_view version,
                                             std::uint32_t flags);
    ~InetRequest();
    InetRequest(const InetRequest&) = delete;
    InetRequest& operator=(const InetRequest&) = delete;

    std::uint32_t Flags() const;

    // Sends the request with exactly these header lines ("Name: value\r\n" each) and, when the
    // verb carries one, the body; returns once the response headers are in or the exchange
    // failed. A request is sent once; false when it was sent already or nothing came back.
    bool Send(std::string_view headerLines, std::string_view body);

    // The status line and every header line, each ended by CRLF, then an empty line. False when
    // there is no response or the block and its terminating zero do not fit bufferBytes.
    bool QueryRawHeaders(int bufferBytes, std::string& block) const;

    // Copies up to size bytes of the body into buffer; 0 at the end of the body and on any error.
    int Read(char* buffer, int size);

private:
    struct Transfer;
    InetRequest();
    std::unique_ptr<Transfer> transfer_;
};

}  // namespace tarvolin::platform
