#pragma once

#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>

#include "text/Text.h"

namespace tarvolin::testing {

// A Text of raw code page 936 bytes, written as escapes ("\xD6\xD0").
inline Text B(std::string_view bytes) {
    return Text::FromBytes(bytes);
}

// UTF-16 Bytes (little-endian units) of the given units.
inline Bytes U16(std::u16string_view units) {
    std::string out;
    for (const char16_t u : units) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    }
    return Bytes(std::move(out));
}

inline std::string Hex(std::string_view bytes) {
    std::string out;
    char buffer[4];
    for (const char c : bytes) {
        std::snprintf(buffer, sizeof buffer, "%02X ", static_cast<unsigned char>(c));
        out += buffer;
    }
    return out;
}

}  // namespace tarvolin::testing

namespace tarvolin {
// Readable failure messages: Text and Bytes print as hex bytes.
inline void PrintTo(const Text& text, std::ostream* os) {
    *os << "Text[" << testing::Hex(text.view()) << "]";
}
inline void PrintTo(const Bytes& bytes, std::ostream* os) {
    *os << "Bytes[" << testing::Hex(bytes.view()) << "]";
}
}  // namespace tarvolin
