#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/Inet.h"
#include "platform/InetCore.h"
#include "platform/InetHeaders.h"
#include "platform/ThreadControl.h"

namespace tarvolin::platform {

namespace {

using Clock = std::chrono::steady_clock;

// The longest a transfer goes without passing a safe point.
constexpr int kPollMs = 50;
// Body bytes held ahead of the reader; beyond this the transfer pauses until the reader catches up.
constexpr std::size_t kPendingLimit = 64 * 1024;

std::string EscapedPath(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(path.size() + 1);
    if (path.empty() || path.front() != '/') out += '/';
    for (unsigned char c : path) {
        if (c <= 0x20 || c >= 0x7F) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool Informational(std::string_view statusLine) {
    const std::size_t space = statusLine.find(' ');
    return space != std::string_view::npos && space + 1 < statusLine.size() && statusLine[space + 1] == '1';
}

}  // namespace

struct InetRequest::Transfer {
    std::shared_ptr<InetConnectionData> connection;
    std::string verb;
    std::string path;
    std::uint32_t flags = 0;

    CurlEasy easy;
    CurlSlist headerList;
    std::string body;
    bool sent = false;
    bool added = false;
    bool finished = false;

    std::string headerLines;  // of the response being received
    bool informational = false;
    bool headersDone = false;
    std::string headerBlock;  // the final response's, once complete

    std::string pending;  // body bytes not yet read
    std::size_t readPos = 0;
    bool paused = false;

    bool connected = false;
    curl_off_t uploaded = 0;
    Clock::time_point lastActivity;

    ~Transfer() {
        if (added) curl_multi_remove_handle(Multi(), easy.get());
        if (!connection) return;
        InetSessionCore& core = *connection->core;
        if (easy && !core.spareEasy) {
            curl_easy_reset(easy.get());
            core.spareEasy = std::move(easy);
        }
        if (pending.capacity() > core.spareBuffer.capacity() && pending.capacity() <= 2 * kPendingLimit) {
            pending.clear();
            core.spareBuffer.swap(pending);
        }
    }

    CURLM* Multi() const { return connection->core->multi.get(); }
    std::size_t Unread() const { return pending.size() - readPos; }
    void Touch() { lastActivity = Clock::now(); }

    bool Configure(std::string_view headers);
    void Drive(const auto& done);
    bool IdleTooLong();
    void Abandon();
    void Resume();
    static void CollectFinished(CURLM* multi);
    static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user);
    static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user);
};

std::size_t InetRequest::Transfer::OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const std::size_t n = size * count;
    t->Touch();
    if (t->headersDone) return n;  // trailers of a chunked body
    std::string_view line(data, n);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    if (line.starts_with("HTTP/")) {
        t->headerLines.clear();
        t->informational = Informational(line);
    }
    if (!line.empty()) {
        t->headerLines.append(line);
        t->headerLines += "\r\n";
    } else if (t->informational) {
        t->headerLines.clear();  // a 1xx answer is followed by the real one
    } else {
        t->headerBlock = t->headerLines + "\r\n";
        t->headersDone = true;
    }
    return n;
}

std::size_t InetRequest::Transfer::OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    if (t->Unread() >= kPendingLimit) {
        t->paused = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    if (t->readPos > kPendingLimit) {
        t->pending.erase(0, t->readPos);
        t->readPos = 0;
    }
    t->pending.append(data, size * count);
    t->Touch();
    return size * count;
}

bool InetRequest::Transfer::Configure(std::string_view headers) {
    CURL* e = easy.get();
    const InetSettings& settings = connection->core->settings;
    const bool secure = (flags & kInetFlagSecure) != 0;
    const std::string url = std::string(secure ? "https://" : "http://") + connection->host + ":" +
                            std::to_string(connection->port) + EscapedPath(path);

    bool sendsBody = false;
    if (verb == "HEAD") {
        curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
    } else if (verb == "POST" || !body.empty()) {
        sendsBody = true;
        curl_easy_setopt(e, CURLOPT_POST, 1L);
        curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        curl_easy_setopt(e, CURLOPT_POSTFIELDS, body.data());
        if (verb != "POST") curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, verb.c_str());
    } else if (verb != "GET") {
        curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, verb.c_str());
    }
    if (!BuildHeaderList(headers, sendsBody, headerList)) return false;

    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, headerList.get());
    // The agent is what goes out when the caller's lines hold no User-Agent.
    if (!settings.agent.empty()) curl_easy_setopt(e, CURLOPT_USERAGENT, settings.agent.c_str());
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
    if (settings.connectTimeoutMs > 0) {
        curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(settings.connectTimeoutMs));
    }
    // OpenSSL cannot overlook an expired certificate alone, so the date flag turns off the check of
    // the certificate as a whole.
    if (flags & kInetFlagIgnoreCertDateInvalid) curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 0L);
    if (flags & kInetFlagIgnoreCertCnInvalid) curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 0L);
    // An empty proxy also overrides the proxy variables of the environment.
    curl_easy_setopt(e, CURLOPT_PROXY, settings.access == InetAccess::kProxy ? settings.proxy.c_str() : "");
    if (!connection->proxyUser.empty())
        curl_easy_setopt(e, CURLOPT_PROXYUSERNAME, connection->proxyUser.c_str());
    if (!connection->proxyPassword.empty()) {
        curl_easy_setopt(e, CURLOPT_PROXYPASSWORD, connection->proxyPassword.c_str());
    }
    curl_easy_setopt(e, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &Transfer::OnHeader);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Transfer::OnBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(e, CURLOPT_PRIVATE, this);
    return true;
}

void InetRequest::Transfer::CollectFinished(CURLM* multi) {
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
        if (message->msg != CURLMSG_DONE) continue;
        Transfer* owner = nullptr;
        curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &owner);
        if (owner) owner->finished = true;
    }
}

// The idle clock starts once the connection is made (the connect time-out covers the time
// before), and restarts with every byte that moves in either direction.
bool InetRequest::Transfer::IdleTooLong() {
    const InetSettings& settings = connection->core->settings;
    if (!connected) {
        curl_off_t pretransfer = 0;
        curl_easy_getinfo(easy.get(), CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
        if (pretransfer <= 0) return false;
        connected = true;
        Touch();
    }
    curl_off_t up = 0;
    curl_easy_getinfo(easy.get(), CURLINFO_SIZE_UPLOAD_T, &up);
    if (up != uploaded) {
        uploaded = up;
        Touch();
    }
    const bool sending = static_cast<std::size_t>(uploaded) < body.size();
    const int limit = sending ? settings.sendTimeoutMs : settings.receiveTimeoutMs;
    return limit > 0 && Clock::now() - lastActivity > std::chrono::milliseconds(limit);
}

void InetRequest::Transfer::Abandon() {
    if (added) curl_multi_remove_handle(Multi(), easy.get());
    added = false;
    finished = true;
    pending.clear();
    readPos = 0;
}

void InetRequest::Transfer::Resume() {
    paused = false;
    if (curl_easy_pause(easy.get(), CURLPAUSE_CONT) != CURLE_OK) Abandon();
}

void InetRequest::Transfer::Drive(const auto& done) {
    while (!finished && !done()) {
        int running = 0;
        if (curl_multi_perform(Multi(), &running) != CURLM_OK) return Abandon();
        CollectFinished(Multi());
        if (finished || done()) return;
        if (IdleTooLong()) return Abandon();
        curl_multi_poll(Multi(), nullptr, 0, kPollMs, nullptr);
        // Time spent suspended is not time the server kept us waiting.
        const Clock::time_point held = Clock::now();
        const bool goOn = Checkpoint();
        lastActivity += Clock::now() - held;
        if (!goOn) return Abandon();
    }
}

InetRequest::InetRequest() : transfer_(std::make_unique<Transfer>()) {}
InetRequest::~InetRequest() = default;

std::unique_ptr<InetRequest> InetRequest::Open(InetConnection& connection, std::string_view verb,
                                               std::string_view pathAndQuery, std::string_view /*version*/,
                                               std::uint32_t flags) {
    if (verb.empty() || pathAndQuery.empty()) return nullptr;
    std::unique_ptr<InetRequest> request(new InetRequest());
    Transfer& t = *request->transfer_;
    t.connection = connection.data_;
    t.verb = std::string(verb);
    t.path = std::string(pathAndQuery);
    t.flags = flags;
    return request;
}

std::uint32_t InetRequest::Flags() const {
    return transfer_->flags;
}

bool InetRequest::Send(std::string_view headerLines, std::string_view body) {
    Transfer& t = *transfer_;
    if (t.sent) return false;
    t.sent = true;
    t.finished = true;  // until the transfer is under way
    t.body = std::string(body);
    InetSessionCore& core = *t.connection->core;
    t.easy = core.spareEasy ? std::move(core.spareEasy) : CurlEasy(curl_easy_init());
    t.pending.swap(core.spareBuffer);
    if (!t.easy || !t.Configure(headerLines)) return false;
    if (curl_multi_add_handle(t.Multi(), t.easy.get()) != CURLM_OK) return false;
    t.added = true;
    t.finished = false;
    t.Touch();
    t.Drive([&] { return t.headersDone; });
    return t.headersDone;
}

bool InetRequest::QueryRawHeaders(int bufferBytes, std::string& block) const {
    const Transfer& t = *transfer_;
    if (!t.headersDone || bufferBytes < 0 ||
        t.headerBlock.size() + 1 > static_cast<std::size_t>(bufferBytes)) {
        return false;
    }
    block = t.headerBlock;
    return true;
}

int InetRequest::Read(char* buffer, int size) {
    Transfer& t = *transfer_;
    if (!t.sent || !buffer || size <= 0) return 0;
    if (t.Unread() == 0) {
        if (t.paused && !t.finished) t.Resume();
        t.Drive([&] { return t.Unread() > 0; });
    }
    const std::size_t n = std::min(t.Unread(), static_cast<std::size_t>(size));
    std::memcpy(buffer, t.pending.data() + t.readPos, n);
    t.readPos += n;
    if (t.readPos == t.pending.size()) {
        t.pending.clear();
        t.readPos = 0;
    }
    if (t.paused && !t.finished && t.Unread() < kPendingLimit / 2) t.Resume();
    return static_cast<int>(n);
}

}  // namespace tarvolin::platform
