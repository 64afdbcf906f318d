#include "text/CharScan.h"

#include <cstring>

namespace tarvolin::charscan {

namespace {

char FoldCase(char byte) {
    return (byte >= 'A' && byte <= 'Z') ? static_cast<char>(byte + ('a' - 'A')) : byte;
}

bool EqualFolded(std::string_view text, std::size_t at, std::string_view target) {
    for (std::size_t i = 0; i < target.size(); ++i) {
        if (FoldCase(text[at + i]) != FoldCase(target[i])) return false;
    }
    return true;
}

// Whether x is a character boundary, given a boundary at or before it. Every byte below 0x80 ends a
// character (it is either a one-byte character or a second byte), so only the run of high bytes
// right before x decides: an even run means x starts a character. Moves `boundary` to the
// boundary at or right after x, so that repeated calls scan each byte at most once.
bool IsBoundary(std::string_view text, std::size_t& boundary, std::size_t x) {
    std::size_t i = x;
    while (i > boundary && IsLeadByte(text[i - 1]))
        --i;
    const bool atBoundary = (x - i) % 2 == 0;
    boundary = atBoundary ? x : x + 1;
    return atBoundary;
}

std::size_t FindExact(std::string_view text, std::string_view target, std::size_t from) {
    std::size_t boundary = from;
    for (std::size_t pos = from;;) {
        const std::size_t hit = text.find(target, pos);
        if (hit == kNone) return kNone;
        if (IsBoundary(text, boundary, hit)) return hit;
        pos = hit + 1;
    }
}

// Finds the next byte equal to the target's first byte in either case, with memchr; the next hit
// of each case is kept until the search passes it.
class FirstByteFinder {
public:
    FirstByteFinder(std::string_view text, char first)
        : text_(text), lower_(FoldCase(first)), upper_(UpperCase(first)) {}

    std::size_t Next(std::size_t pos) {
        lowerHit_ = Refresh(lowerHit_, lower_, pos);
        if (upper_ == lower_) return lowerHit_;
        upperHit_ = Refresh(upperHit_, upper_, pos);
        return lowerHit_ < upperHit_ ? lowerHit_ : upperHit_;
    }

private:
    static char UpperCase(char byte) {
        const char lower = FoldCase(byte);
        return (lower >= 'a' && lower <= 'z') ? static_cast<char>(lower - ('a' - 'A')) : lower;
    }

    std::size_t Refresh(std::size_t hit, char byte, std::size_t pos) const {
        if (hit != kUnknown && (hit == kNone || hit >= pos)) return hit;
        const void* found = std::memchr(text_.data() + pos, byte, text_.size() - pos);
        return found ? static_cast<std::size_t>(static_cast<const char*>(found) - text_.data()) : kNone;
    }

    static constexpr std::size_t kUnknown = kNone - 1;
    std::string_view text_;
    char lower_;
    char upper_;
    std::size_t lowerHit_ = kUnknown;
    std::size_t upperHit_ = kUnknown;
};

std::size_t FindFolded(std::string_view text, std::string_view target, std::size_t from) {
    const std::size_t last = text.size() - target.size();
    FirstByteFinder finder(text, target.front());
    std::size_t boundary = from;
    for (std::size_t pos = from; pos <= last;) {
        const std::size_t hit = finder.Next(pos);
        if (hit == kNone || hit > last) return kNone;
        if (IsBoundary(text, boundary, hit) && EqualFolded(text, hit, target)) return hit;
        pos = hit + 1;
    }
    return kNone;
}

}  // namespace

std::size_t Find(std::string_view text, std::string_view target, std::size_t from, bool ignoreCase) {
    if (from >= text.size() || target.size() > text.size() - from) return kNone;
    return ignoreCase ? FindFolded(text, target, from) : FindExact(text, target, from);
}

}  // namespace tarvolin::charscan
