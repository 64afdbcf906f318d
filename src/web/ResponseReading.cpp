// The response side of HttpSession: the body and the response headers.

#include <algorithm>

#include "text/Encodings.h"
#include "text/TextOps.h"
#include "web/CookieJar.h"
#include "web/HttpSession.h"
#include "web/WebTexts.h"

namespace tarvolin {

Bytes HttpSession::ReadBody(int maxChunks) {
    return CachedBody(maxChunks);
}

const Bytes& HttpSession::CachedBody(int maxChunks) {
    // A response is read from the network once; later calls return the same bytes.
    if (requestHandle && body.empty() && receiveBuffer) ReceiveBody(maxChunks);
    return body;
}

void HttpSession::ReceiveBody(int maxChunks) {
    // However the read ends (the end of the body, a failed or abandoned transfer, the size cap),
    // the buffer goes back to its resting size and the bookkeeping with it.
    struct Rest {
        HttpSession& session;
        ~Rest() {
            session.receiveBuffer.Reset(kReadChunkBytes);
            session.receiveLength = 0;
            session.receiveCapacity = kReadChunkBytes;
        }
    } rest{*this};

    auto nextRead = [&] { return std::min(kReadChunkBytes, kMaxBodyBytes - receiveLength); };
    int chunks = 0;
    int n = requestHandle->Read(receiveBuffer.data(), nextRead());
    while (n > 0) {
        receiveLength += n;
        if (maxChunks > 0 && ++chunks >= maxChunks) break;
        if (receiveLength >= kMaxBodyBytes) break;
        // Keep room for a whole read; when the buffer cannot grow, keep what was received.
        if (receiveCapacity < receiveLength + kReadChunkBytes) {
            if (!receiveBuffer.Resize(static_cast<std::size_t>(receiveCapacity) + kReceiveGrowthBytes)) break;
            receiveCapacity += kReceiveGrowthBytes;
        }
        n = requestHandle->Read(receiveBuffer.data() + receiveLength, nextRead());
    }
    body = Bytes(receiveBuffer.data(), static_cast<std::size_t>(receiveLength));
}

Text HttpSession::ReadBodyRaw(int maxChunks) {
    return BytesToText(CachedBody(maxChunks));
}

Text HttpSession::ReadBodyText(int maxChunks) {
    return Utf8ToGbk(CachedBody(maxChunks));
}

// Fills rawHeaders when Send left it empty and the request is still open.
void HttpSession::QueryHeadersLazily() {
    if (!rawHeaders.empty() || !requestHandle) return;
    Text block = QueryRawHeaderBlock();
    if (block.view() != "\r\n") rawHeaders = std::move(block);
}

void HttpSession::MergeOnce() {
    if (cookiesMerged) return;
    MergeSetCookies(cookieJar, rawHeaders);
    cookiesMerged = true;
}

Text HttpSession::GetResponseHeader(const Text& name) {
    if (name.empty()) return {};
    QueryHeadersLazily();
    if (rawHeaders.empty()) return {};
    Text value;
    const Text marker = AsciiText("\r\n") + name + AsciiText(":");
    const int p = FindText(rawHeaders, marker, 1, true);
    if (p != -1) {
        const int start = p + TextLength(marker);
        const int end = FindText(rawHeaders, AsciiText("\r\n"), start);
        if (end != -1) value = TrimLeadingSpaces(TextMid(rawHeaders, start, end - start));
    }
    MergeOnce();
    return value;
}

Text HttpSession::GetAllResponseHeaders() {
    QueryHeadersLazily();
    if (!rawHeaders.empty()) MergeOnce();
    return rawHeaders;
}

Text HttpSession::GetRedirectLocation() {
    QueryHeadersLazily();
    if (rawHeaders.empty()) return {};
    Text location = ResolveLocation();
    MergeOnce();
    return location;
}

}  // namespace tarvolin
