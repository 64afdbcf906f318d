#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "platform/Inet.h"
#include "text/Text.h"
#include "web/ReceiveBuffer.h"

namespace tarvolin {

// The browser identity every request carries unless a caller gives its own.
inline constexpr std::string_view kBrowserAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// Redirects followed within one Send; the response after the last of them is what the caller sees.
inline constexpr int kMaxRedirects = 20;
// A body is cut at this size (the bytes up to it are kept), so no server can exhaust memory.
inline constexpr int kMaxBodyBytes = 64 * 1024 * 1024;
// Response headers that do not fit this buffer count as no headers.
inline constexpr int kHeaderBufferBytes = 10240;
inline constexpr int kReadChunkBytes = 1024;
inline constexpr int kReceiveGrowthBytes = 10240;

inline constexpr std::uint32_t kRequestFlags =
    platform::kInetFlagReload | platform::kInetFlagNoCacheWrite | platform::kInetFlagNoCookies |
    platform::kInetFlagNoAutoRedirect | platform::kInetFlagIgnoreCertCnInvalid |
    platform::kInetFlagIgnoreCertDateInvalid;

// The HTTP client object: one library session for its life, one connection and one request for
// the current exchange. It adds its own default request headers, keeps its own cookie jar,
// follows redirects itself and reads each body once into a buffer that grows by 10240 bytes.
//
// One exchange at a time: OpenRequest (through Get, Post or Head), Send, then the body read;
// later reads of the same response return the same body. No lock: callers serialise the use.
// Texts that are "optional" elsewhere are plain Text here: the empty text is the absent one.
class HttpSession {
public:
    // Runs Initialize with kBrowserAgent.
    HttpSession();
    // Runs CloseSession.
    ~HttpSession();
    // A copy would close the same handles twice, so there is none; Copy() makes a safe one.
    HttpSession(const HttpSession&) = delete;
    HttpSession& operator=(const HttpSession&) = delete;

    // A duplicate of every text, flag and the cookie jar, on a library session of its own with the
    // same agent and settings. The duplicate has no connection or request: it is idle, with the
    // current response's headers and body (if read) as they are here.
    std::unique_ptr<HttpSession> Copy() const;

    void Initialize(const Text& agent);
    // Closes every handle and empties the texts; only Initialize makes the object usable again.
    void CloseSession();
    void ResetDefaultHeaders();
    // CloseSession, then Initialize with agent (kBrowserAgent when empty).
    void Reinitialize(const Text& agent = Text());
    void SetDefaultHeadersEnabled(bool on);
    void SetFollowRedirects(bool on);
    // Milliseconds; 0 or less switches that time-out off.
    void SetTimeouts(int connectMs, int sendMs, int receiveMs);
    // An empty proxy means a direct connection. The credentials go to the current connection and
    // only when there is one.
    void SetProxy(const Text& proxy, const Text& user = Text(), const Text& password = Text());

    // Request headers wait in the header block for the next Send only. A Cookie header goes to
    // the jar; naming one of the six default headers keeps Send from adding its default.
    void AddHeader(const Text& name, const Text& value);
    void RemoveHeader(const Text& name);

    bool Get(const Text& url);
    // The body is data when it is not empty, otherwise bytes.
    bool Post(const Text& url, const Text& data = Text(), const Bytes& bytes = Bytes());
    bool Head(const Text& url);
    bool OpenRequest(const Text& verb, const Text& url);
    bool SendText(const Text& data);
    // False only when no request is open; a failed exchange shows as a response without headers
    // and with an empty body.
    bool Send(const Bytes& body);

    // The body of the current response, read from the network once; maxChunks 0 reads it all,
    // otherwise at most that many reads of up to 1024 bytes.
    Bytes ReadBody(int maxChunks);
    // The body up to its first zero byte.
    Text ReadBodyRaw(int maxChunks);
    // The body decoded from UTF-8.
    Text ReadBodyText(int maxChunks);
    Text GetResponseHeader(const Text& name);
    Text GetAllResponseHeaders();
    Text GetRedirectLocation();
    Text ResolveLocation() const;

    bool SetCookies(const Text& cookies);
    bool DeleteCookies(const Text& names);
    Text GetCookie(const Text& name, bool withName) const;
    Text GetAllCookies() const;
    void SetCookieJar(const Text& jar);

    // Read-only views of the state, for callers that watch an exchange.
    bool HasLibrarySession() const { return internetHandle != nullptr; }
    bool HasRequest() const { return requestHandle != nullptr; }
    std::uint32_t RequestFlags() const { return requestHandle ? requestHandle->Flags() : 0; }
    bool FollowsRedirects() const { return followRedirects; }
    const Text& Scheme() const { return scheme; }
    const Text& Host() const { return host; }
    int Port() const { return port; }
    const Text& CurrentUrl() const { return currentUrl; }
    const Text& HeaderBlock() const { return headerBlock; }
    const Bytes& Body() const { return body; }
    const Text& RawHeaders() const { return rawHeaders; }
    const Text& CookieJar() const { return cookieJar; }
    bool CookiesMerged() const { return cookiesMerged; }
    bool DefaultHeadersEnabled() const { return defaultHeadersEnabled; }
    const Text& Referer() const { return referer; }
    bool IsPost() const { return isPost; }
    bool HasReceiveBuffer() const { return static_cast<bool>(receiveBuffer); }
    int ReceiveCapacity() const { return receiveCapacity; }
    int ReceiveLength() const { return receiveLength; }

private:
    struct Uninitialised {};
    explicit HttpSession(Uninitialised) {}

    struct DefaultHeader {
        std::string_view name;
        bool HttpSession::*sent;
        Text HttpSession::*value;
        bool postOnly;
    };
    static std::span<const DefaultHeader> DefaultHeaders();
    // The default header a normalised name selects, or null.
    static const DefaultHeader* FindDefaultHeader(const Text& normalisedName);

    bool SendInChain(const Bytes& body, int redirectsLeft);
    void AppendDefaultHeaders();
    void FollowRedirect(int redirectsLeft);
    void ClearSentFlags();
    Text QueryRawHeaderBlock() const;
    void QueryHeadersLazily();
    void MergeOnce();
    const Bytes& CachedBody(int maxChunks);
    void ReceiveBody(int maxChunks);

    std::unique_ptr<platform::InetSession> internetHandle;
    std::unique_ptr<platform::InetConnection> connectHandle;
    std::unique_ptr<platform::InetRequest> requestHandle;
    bool followRedirects = false;
    Text scheme;
    Text host;
    int port = 0;
    Text currentUrl;
    Text headerBlock;
    Bytes body;
    Text rawHeaders;
    Text cookieJar;
    bool cookiesMerged = false;
    bool defaultHeadersEnabled = false;
    bool acceptSent = false;
    Text accept;
    bool refererSent = false;
    Text referer;
    bool acceptLanguageSent = false;
    Text acceptLanguage;
    bool userAgentSent = false;
    Text userAgent;
    bool contentTypeSent = false;
    Text contentType;
    bool connectionSent = false;
    Text connection;
    bool isPost = false;
    ReceiveBuffer receiveBuffer;
    int receiveCapacity = 0;
    int receiveLength = 0;
};

}  // namespace tarvolin
