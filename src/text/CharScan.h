#pragma once

#include <cstddef>
#include <string_view>

// Character stepping over code page 936 bytes, shared by the scanning operations. A byte 0x80-0xFF
// starts a two-byte character; the scan treats its start offset as a character boundary.
namespace tarvolin::charscan {

inline constexpr std::size_t kNone = std::string_view::npos;

inline bool IsLeadByte(char byte) {
    return static_cast<unsigned char>(byte) >= 0x80;
}

// Bytes of the character at i; 2 for a lead byte, even when it is the last byte.
inline std::size_t CharLength(std::string_view text, std::size_t i) {
    return IsLeadByte(text[i]) ? 2 : 1;
}

// Length of the space character at i (0x20, or the full-width 0xA1 0xA1), 0 when there is none.
inline std::size_t SpaceLength(std::string_view text, std::size_t i) {
    if (text[i] == ' ') return 1;
    if (text[i] == '\xA1' && i + 1 < text.size() && text[i + 1] == '\xA1') return 2;
    return 0;
}

// The first offset at or after `from` where a non-empty target starts on a character boundary of a
// scan that began at `from`; kNone when there is none. Letters A-Z and a-z match each other when
// ignoreCase is set.
std::size_t Find(std::string_view text, std::string_view target, std::size_t from, bool ignoreCase);

}  // namespace tarvolin::charscan
