#include "text/Encodings.h"

#include <bit>
#include <cstring>
#include <limits>
#include <string>

#include "platform/Codepage.h"

namespace tarvolin {

// UTF-16 travels as little-endian units; the conversions write and read the units in place.
static_assert(std::endian::native == std::endian::little, "UTF-16 Bytes are little-endian units");

namespace {

using platform::MultiByteToWideChar;
using platform::WideCharToMultiByte;

// Converts into the counted room of units of unitSize bytes. Where the converting pass finds that
// room too small for the requested code page, it gets the room that code page needs instead of
// cutting a character off. A conversion the platform refuses leaves out empty.
template <typename Convert>
void ConvertWithRoom(std::size_t unitSize, std::string& out, int room, Convert convert) {
    out.assign(static_cast<std::size_t>(room) * unitSize, '\0');
    if (convert(out.data(), room) > 0) return;
    const int needed = convert(nullptr, 0);
    if (needed < 1) {
        out.clear();
    } else if (needed > room) {
        out.assign(static_cast<std::size_t>(needed) * unitSize, '\0');
        convert(out.data(), needed);
    }
}

char16_t* UnitsOf(std::string& storage) {
    return reinterpret_cast<char16_t*>(storage.data());
}

// The units of a UTF-16 Bytes (an odd last byte ignored), copied so that they are aligned and
// always followed by a zero unit.
std::u16string UnitsFrom(const Bytes& bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    std::memcpy(units.data(), bytes.view().data(), units.size() * 2);
    return units;
}

Text TextUpToZero(std::string bytes) {
    const std::size_t zero = bytes.find('\0');
    if (zero != std::string::npos) bytes.resize(zero);
    return Text::FromBytesUnchecked(std::move(bytes));
}

bool IsKeptInUrl(unsigned char b) {
    return b == '-' || b == '.' || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

}  // namespace

Text UrlEncodeUtf8(const Text& keyword, bool keepUnreserved) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const Text utf8 = GbkToUtf8(keyword);
    std::string out;
    out.reserve(utf8.view().size() * 3);
    for (const char c : utf8.view()) {
        const auto b = static_cast<unsigned char>(c);
        if (keepUnreserved && IsKeptInUrl(b)) {
            out += c;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0x0F];
        }
    }
    return Text::FromBytesUnchecked(std::move(out));
}

Text GbkToUtf8(const Text& text) {
    return Utf16ToText(TextToUtf16(text, kCodePageGbk), kCodePageUtf8);
}

Bytes TextToUtf16(const Text& text, int codePage) {
    if (text.empty()) return Bytes();
    const char* source = text.c_str();
    const int units = MultiByteToWideChar(kCodePageAnsi, 0, source, -1, nullptr, 0);
    if (units < 1) return Bytes();
    Bytes out;
    ConvertWithRoom(2, out.data(), units, [&](char* room, int size) {
        return MultiByteToWideChar(codePage, 0, source, -1, reinterpret_cast<char16_t*>(room), size);
    });
    return out;
}

Text Utf16ToText(const Bytes& units, int codePage) {
    const std::u16string source = UnitsFrom(units);  // -1 below stops at a zero unit or its end
    if (source.empty()) return Text();
    const int ansiBytes = WideCharToMultiByte(kCodePageAnsi, 0, source.c_str(), -1, nullptr, 0);
    if (ansiBytes < 1 || ansiBytes > std::numeric_limits<int>::max() / 2) return Text();
    std::string out;
    ConvertWithRoom(1, out, 2 * ansiBytes, [&](char* room, int size) {
        return WideCharToMultiByte(codePage, 0, source.c_str(), -1, room, size);
    });
    return TextUpToZero(std::move(out));
}

Text Utf8ToGbk(const Bytes& utf8) {
    if (utf8.size() < 1 || utf8.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return Text();
    const char* source = utf8.view().data();
    const int length = static_cast<int>(utf8.size());
    const int units = MultiByteToWideChar(kCodePageUtf8, 0, source, length, nullptr, 0);
    if (units < 1) return Text();
    std::u16string wide(static_cast<std::size_t>(units), u'\0');
    const int written = MultiByteToWideChar(kCodePageUtf8, 0, source, length, wide.data(), units);
    if (written < 1) return Text();
    const int bytes = WideCharToMultiByte(kCodePageGbk, 0, wide.data(), written, nullptr, 0);
    if (bytes < 1) return Text();
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(kCodePageGbk, 0, wide.data(), written, out.data(), bytes);
    return TextUpToZero(std::move(out));
}

Bytes GbkToUtf16(const Text& text) {
    if (text.empty()) return Bytes();
    const int units = MultiByteToWideChar(kCodePageGbk, 0, text.c_str(), -1, nullptr, 0);
    if (units < 1) return Bytes();
    Bytes out(std::string(static_cast<std::size_t>(units) * 2, '\0'));
    MultiByteToWideChar(kCodePageGbk, 0, text.c_str(), -1, UnitsOf(out.data()), units);
    return out;
}

Bytes GbkToUtf16Ex(const Text& text, bool dropTerminator) {
    Bytes out = GbkToUtf16(text);
    if (dropTerminator && out.size() >= 2) out.data().resize(out.size() - 2);
    return out;
}

Text Utf16ToGbk(const Bytes& utf16) {
    const std::u16string units = UnitsFrom(utf16);
    if (units.empty() || units.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return Text();
    const int count = static_cast<int>(units.size());
    const unsigned flags = platform::kWcCompositeCheck;
    const int bytes = WideCharToMultiByte(kCodePageGbk, flags, units.data(), count, nullptr, 0);
    if (bytes < 1) return Text();
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(kCodePageGbk, flags, units.data(), count, out.data(), bytes);
    return TextUpToZero(std::move(out));
}

}  // namespace tarvolin
