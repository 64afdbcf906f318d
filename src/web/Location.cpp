#include "web/Location.h"

#include "text/TextOps.h"
#include "web/WebTexts.h"

namespace tarvolin {

namespace {

constexpr int kLocationMarkerLength = 11;  // "\r\nLocation:"

}  // namespace

Text ResolveLocation(const Text& rawHeaders, const Text& scheme, const Text& host, int port,
                     const Text& currentUrl) {
    const int p = FindText(rawHeaders, AsciiText("\r\nLocation:"), 1, true);
    if (p == -1) return {};
    const int start = p + kLocationMarkerLength;
    const int end = FindText(rawHeaders, AsciiText("\r\n"), start);
    if (end == -1) return {};
    const Text location = TrimSpaces(TextMid(rawHeaders, start, end - start));
    if (location.empty()) return {};

    if (StartsWith(location, "/")) return scheme + host + AsciiText(":") + IntToText(port) + location;
    const Text head = TextToLower(TextLeft(location, 8));
    if (StartsWith(head, "http://") || StartsWith(head, "https://")) return location;
    const int lastSlash = FindTextLast(currentUrl, AsciiText("/"));
    if (lastSlash == -1) return currentUrl + AsciiText("/") + location;
    return TextLeft(currentUrl, lastSlash) + location;
}

}  // namespace tarvolin
