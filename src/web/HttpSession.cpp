#include "web/HttpSession.h"

#include "text/TextOps.h"
#include "web/CookieJar.h"
#include "web/UrlSplit.h"
#include "web/WebTexts.h"

namespace tarvolin {

namespace {

constexpr int kMaxConnectionsPerServer = 50;
constexpr std::string_view kCrlf = "\r\n";

}  // namespace

HttpSession::HttpSession() {
    Initialize(AsciiText(kBrowserAgent));
}

HttpSession::~HttpSession() {
    CloseSession();
}

std::unique_ptr<HttpSession> HttpSession::Copy() const {
    std::unique_ptr<HttpSession> copy(new HttpSession(Uninitialised{}));
    if (internetHandle) copy->internetHandle = internetHandle->Duplicate();
    copy->followRedirects = followRedirects;
    copy->scheme = scheme;
    copy->host = host;
    copy->port = port;
    copy->currentUrl = currentUrl;
    copy->headerBlock = headerBlock;
    copy->body = body;
    copy->rawHeaders = rawHeaders;
    copy->cookieJar = cookieJar;
    copy->cookiesMerged = cookiesMerged;
    copy->defaultHeadersEnabled = defaultHeadersEnabled;
    for (const DefaultHeader& header : DefaultHeaders()) {
        copy.get()->*header.sent = this->*header.sent;
        copy.get()->*header.value = this->*header.value;
    }
    copy->isPost = isPost;
    if (receiveBuffer) copy->receiveBuffer.Allocate(kReadChunkBytes);
    copy->receiveCapacity = kReadChunkBytes;
    copy->receiveLength = 0;
    return copy;
}

void HttpSession::Initialize(const Text& agent) {
    internetHandle = platform::InetSession::Open(agent.view());
    if (internetHandle) internetHandle->SetMaxConnectionsPerServer(kMaxConnectionsPerServer);
    receiveBuffer.Allocate(kReadChunkBytes);
    receiveLength = 0;
    receiveCapacity = kReadChunkBytes;
    cookieJar = AsciiText(kEmptyJar);
    headerBlock = AsciiText(kCrlf);
    ResetDefaultHeaders();
    defaultHeadersEnabled = true;
    followRedirects = true;
}

void HttpSession::ResetDefaultHeaders() {
    accept = AsciiText("*/*");
    acceptLanguage = AsciiText("zh-cn");
    referer = Text();
    userAgent = AsciiText(kBrowserAgent);
    contentType = AsciiText("application/x-www-form-urlencoded");
    connection = AsciiText("Keep-Alive");
    ClearSentFlags();
}

void HttpSession::CloseSession() {
    // A request goes before its connection, a connection before its session.
    requestHandle.reset();
    connectHandle.reset();
    internetHandle.reset();
    receiveBuffer.Free();
    for (Text* text : {&scheme, &host, &currentUrl, &headerBlock, &rawHeaders, &cookieJar})
        *text = Text();
    for (const DefaultHeader& header : DefaultHeaders())
        this->*header.value = Text();
    body = Bytes();
}

void HttpSession::Reinitialize(const Text& agent) {
    CloseSession();
    Initialize(agent.empty() ? AsciiText(kBrowserAgent) : agent);
}

void HttpSession::SetDefaultHeadersEnabled(bool on) {
    defaultHeadersEnabled = on;
}

void HttpSession::SetFollowRedirects(bool on) {
    followRedirects = on;
}

void HttpSession::SetTimeouts(int connectMs, int sendMs, int receiveMs) {
    if (!internetHandle) return;
    internetHandle->SetConnectTimeout(connectMs);
    internetHandle->SetSendTimeout(sendMs);
    internetHandle->SetReceiveTimeout(receiveMs);
}

void HttpSession::SetProxy(const Text& proxy, const Text& user, const Text& password) {
    if (internetHandle) {
        internetHandle->SetProxy(proxy.empty() ? platform::InetAccess::kDirect : platform::InetAccess::kProxy,
                                 proxy.view());
    }
    if (!connectHandle) return;
    if (!user.empty()) connectHandle->SetProxyUserName(user.view());
    if (!password.empty()) connectHandle->SetProxyPassword(password.view());
}

bool HttpSession::OpenRequest(const Text& verb, const Text& url) {
    if (!internetHandle) return false;
    std::optional<UrlParts> parts = SplitUrl(url);
    if (!parts) return false;
    scheme = parts->scheme;
    host = parts->host;
    port = parts->port;
    const Text method = TextToUpper(TrimSpaces(verb));

    body = Bytes();
    rawHeaders = Text();
    cookiesMerged = true;

    // The request belongs to the connection it was opened on and goes with it.
    requestHandle.reset();
    connectHandle = platform::InetConnection::Open(*internetHandle, host.view(), port);
    if (!connectHandle) return false;
    const std::uint32_t flags =
        kRequestFlags | (scheme.view() == "https://" ? platform::kInetFlagSecure : 0u);
    requestHandle =
        platform::InetRequest::Open(*connectHandle, method.view(), parts->path.view(), "HTTP/1.1", flags);
    if (!requestHandle) return false;

    currentUrl = url;
    isPost = method.view() == "POST";
    // By default every request names its own URL as its Referer.
    if (defaultHeadersEnabled) referer = url;
    return true;
}

bool HttpSession::Get(const Text& url) {
    return OpenRequest(AsciiText("GET"), url) && Send(Bytes());
}

bool HttpSession::Head(const Text& url) {
    return OpenRequest(AsciiText("HEAD"), url) && Send(Bytes());
}

bool HttpSession::Post(const Text& url, const Text& data, const Bytes& bytes) {
    if (!OpenRequest(AsciiText("POST"), url)) return false;
    return Send(data.empty() ? bytes : Bytes(data.bytes()));
}

bool HttpSession::SendText(const Text& data) {
    return Send(Bytes(data.bytes()));
}

bool HttpSession::Send(const Bytes& requestBody) {
    return SendInChain(requestBody, kMaxRedirects);
}

void HttpSession::AppendDefaultHeaders() {
    for (const DefaultHeader& header : DefaultHeaders()) {
        if (header.postOnly && !isPost) continue;
        bool& sent = this->*header.sent;
        const Text& value = this->*header.value;
        if (sent || value.empty()) continue;
        sent = true;
        headerBlock += AsciiText(header.name) + value + AsciiText(kCrlf);
    }
}

bool HttpSession::SendInChain(const Bytes& requestBody, int redirectsLeft) {
    if (!requestHandle) return false;
    if (defaultHeadersEnabled) AppendDefaultHeaders();
    std::string headers = headerBlock.bytes().substr(std::min<std::size_t>(2, headerBlock.bytes().size()));
    const Text cookies = CookieListOfJar(cookieJar);
    if (!cookies.empty()) headers += "Cookie: " + cookies.bytes() + "\r\n";
    if (isPost) {
        headers += "Content-Length: " + std::to_string(requestBody.size()) + "\r\n";
        requestHandle->Send(headers, requestBody.view());
    } else {
        requestHandle->Send(headers, {});
    }

    rawHeaders = QueryRawHeaderBlock();
    if (rawHeaders.view() == kCrlf) {
        rawHeaders = QueryRawHeaderBlock();
        if (rawHeaders.view() == kCrlf) rawHeaders = Text();
    }
    if (rawHeaders.empty()) {
        cookiesMerged = false;
    } else {
        MergeSetCookies(cookieJar, rawHeaders);
        cookiesMerged = true;
        if (followRedirects) FollowRedirect(redirectsLeft);
    }
    headerBlock = AsciiText(kCrlf);
    if (defaultHeadersEnabled) ClearSentFlags();
    return true;
}

// The redirected request goes out with the same header lines (the block is not reset until the
// first Send ends, and no default is added twice), a Cookie line from the updated jar, and no body.
void HttpSession::FollowRedirect(int redirectsLeft) {
    const Text location = ResolveLocation();
    if (location.empty() || location == currentUrl || redirectsLeft <= 0) return;
    if (isPost) RemoveHeader(AsciiText("Content-Type: "));
    const bool defaults = defaultHeadersEnabled;
    defaultHeadersEnabled = false;
    OpenRequest(AsciiText("GET"), location);
    SendInChain(Bytes(), redirectsLeft - 1);
    defaultHeadersEnabled = defaults;
}

void HttpSession::ClearSentFlags() {
    for (const DefaultHeader& header : DefaultHeaders())
        this->*header.sent = false;
}

Text HttpSession::QueryRawHeaderBlock() const {
    std::string block;
    if (!requestHandle || !requestHandle->QueryRawHeaders(kHeaderBufferBytes, block)) return Text();
    return Text::FromBytes(block);
}

}  // namespace tarvolin
