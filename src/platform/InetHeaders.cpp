#include "platform/InetHeaders.h"

#include <algorithm>
#include <cctype>

namespace tarvolin::platform {

namespace {

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// Headers libcurl would add on its own; a line "Name:" without a value keeps it from doing so.
struct Suppressed {
    std::string_view name;
    bool onlyWithBody;
};
constexpr Suppressed kSuppressed[] = {
    {"Accept", false},
    {"Expect", false},
    {"Content-Type", true},
};

}  // namespace

bool BuildHeaderList(std::string_view lines, bool sendsBody, CurlSlist& list) {
    bool given[std::size(kSuppressed)] = {};
    while (!lines.empty()) {
        const std::size_t eol = lines.find('\n');
        std::string_view line = lines.substr(0, eol);
        lines.remove_prefix(eol == std::string_view::npos ? lines.size() : eol + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || colon == 0) continue;  // not a header line
        const std::string_view name = line.substr(0, colon);
        for (std::size_t i = 0; i < std::size(kSuppressed); ++i) {
            if (SameName(TrimBlanks(name), kSuppressed[i].name)) given[i] = true;
        }
        // libcurl drops "Name:" with nothing after it; "Name;" is its way to send an empty value.
        const bool emptyValue = TrimBlanks(line.substr(colon + 1)).empty();
        const std::string entry = emptyValue ? std::string(name) + ";" : std::string(line);
        if (!SlistAppend(list, entry)) return false;
    }
    for (std::size_t i = 0; i < std::size(kSuppressed); ++i) {
        if (given[i] || (kSuppressed[i].onlyWithBody && !sendsBody)) continue;
        if (!SlistAppend(list, std::string(kSuppressed[i].name) + ":")) return false;
    }
    return true;
}

}  // namespace tarvolin::platform
