#include "web/UrlSplit.h"

#include <algorithm>

#include "text/TextOps.h"
#include "web/WebTexts.h"

namespace tarvolin {

namespace {

// Ports this low are never meant: the digits belong to something else.
constexpr int kLowestPort = 10;

}  // namespace

std::optional<UrlParts> SplitUrl(const Text& url) {
    if (url.empty()) return std::nullopt;
    const int n = TextLength(url);
    UrlParts parts;
    parts.scheme = AsciiText("http://");
    int hostStart = 1;
    // Only urls long enough for "https://" are looked at for a scheme.
    if (n >= 8) {
        const Text head = TextToLower(TextLeft(url, 8));
        if (head.view() == "https://") {
            parts.scheme = AsciiText("https://");
            hostStart = 9;
        } else if (StartsWith(head, "http://")) {
            hostStart = 8;
        }
    }

    Text full = url;
    int slash = FindText(full, AsciiText("/"), hostStart);
    if (slash == -1) {
        full += AsciiText("/");
        slash = n + 1;
    }
    parts.path = TextMid(full, slash, TextLength(full) - slash + 1);

    const int colon = FindText(full, AsciiText(":"), std::max(hostStart, slash - 7));
    int hostEnd = slash;
    if (colon == -1 || colon > slash) {
        parts.port = parts.scheme.view() == "https://" ? 443 : 80;
    } else {
        parts.port = TextToInt(RemoveSpaces(TextMid(full, colon + 1, slash - colon - 1)));
        if (parts.port <= kLowestPort) parts.port = 80;
        hostEnd = colon;
    }
    parts.host = TextMid(full, hostStart, hostEnd - hostStart);
    return parts;
}

}  // namespace tarvolin
