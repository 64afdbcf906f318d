#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "text/CharScan.h"
#include "text/TextOps.h"

// Reading numbers out of Text: full-width characters are folded to ASCII first, then the number is
// read the way the C library reads it in the C locale (independent of the process locale).
namespace tarvolin {

namespace {

// Full-width forms to ASCII: 0xA3 0xA1-0xFE is the ASCII byte 0x21-0x7E; a few 0xA1 characters map
// to space, tilde and asterisk. Other two-byte characters pass through; a lone lead byte at the end
// is dropped.
std::string FoldFullWidth(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        if (!charscan::IsLeadByte(bytes[i])) {
            out += bytes[i++];
            continue;
        }
        if (i + 1 == bytes.size()) break;
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        if (first == 0xA3 && second >= 0xA1 && second <= 0xFE) {
            out += static_cast<char>(second - 0x80);
        } else if (first == 0xA1 && second == 0xA1) {
            out += ' ';
        } else if (first == 0xA1 && second == 0xAB) {
            out += '~';
        } else if (first == 0xA1 && (second == 0xEE || second == 0xEF)) {
            out += '*';
        } else {
            out.append(bytes.substr(i, 2));
        }
        i += 2;
    }
    return out;
}

bool IsCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Skips white space and reads an optional sign; returns whether the number is negative.
bool SkipSpaceAndSign(std::string_view& s) {
    std::size_t i = 0;
    while (i < s.size() && IsCSpace(s[i]))
        ++i;
    const bool negative = i < s.size() && s[i] == '-';
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
    s.remove_prefix(i);
    return negative;
}

// A magnitude too large or too small even for long double: infinity, or zero for a negative exponent.
double OutOfRange(std::string_view matched) {
    const bool tiny =
        matched.find("e-") != std::string_view::npos || matched.find("E-") != std::string_view::npos;
    return tiny ? 0.0 : std::numeric_limits<double>::infinity();
}

double ReadMagnitude(std::string_view s) {
    if (s.empty() || s.front() == '-') return 0.0;  // from_chars would accept a second sign
    long double value = 0;
    const auto [end, error] =
        std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
    if (error == std::errc::result_out_of_range)
        return OutOfRange(std::string_view(s.data(), end - s.data()));
    if (error != std::errc()) return 0.0;
    return static_cast<double>(value);
}

}  // namespace

int TextToInt(const Text& text) {
    const std::string folded = FoldFullWidth(text.view());
    std::string_view s = folded;
    const bool negative = SkipSpaceAndSign(s);
    // Digits beyond the 32-bit range saturate, as a 32-bit strtol does.
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<int>::min())
                                        : std::numeric_limits<int>::max();
    std::int64_t value = 0;
    for (std::size_t i = 0; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = std::min<std::int64_t>(value * 10 + (s[i] - '0'), limit);
    }
    return static_cast<int>(negative ? -value : value);
}

float TextToFloat(const Text& text) {
    const std::string folded = FoldFullWidth(text.view());
    std::string_view s = folded;
    const bool negative = SkipSpaceAndSign(s);
    const double magnitude = ReadMagnitude(s);
    return static_cast<float>(negative ? -magnitude : magnitude);
}

}  // namespace tarvolin
