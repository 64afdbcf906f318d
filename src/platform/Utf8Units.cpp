#include "platform/Utf8Units.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tarvolin::platform {

namespace {

// The top bit of each byte of a word, which only bytes past ASCII have; the word is read in the
// machine's order, so the lowest set bit belongs to the first such byte on a little-endian machine.
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
static_assert(std::endian::native == std::endian::little, "ASCII runs are measured on little-endian words");

bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// The length of the run of ASCII bytes at s, looked at sixteen (or eight) at a time.
int AsciiRun(const unsigned char* s, int length) {
    int i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= length; i += 16) {
        const int high = _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)));
        if (high != 0) return i + std::countr_zero(static_cast<unsigned>(high));
    }
#endif
    for (; i + 8 <= length; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s + i, sizeof word);
        if (word & kHighBits) return i + std::countr_zero(word & kHighBits) / 8;
    }
    while (i < length && s[i] < 0x80)
        ++i;
    return i;
}

// The sequence at s[0..available) as a code point and its length in bytes, or a length of 0 when
// it is not a well-formed sequence (overlong forms, surrogates and values past U+10FFFF are not).
struct Decoded {
    char32_t c = 0;
    int bytes = 0;
};

Decoded DecodeSequence(const unsigned char* s, int available) {
    const unsigned char b = s[0];
    if (b < 0xC2 || b > 0xF4) return {};
    if (b < 0xE0) {
        if (available < 2 || !IsContinuation(s[1])) return {};
        return {static_cast<char32_t>(((b & 0x1F) << 6) | (s[1] & 0x3F)), 2};
    }
    if (b < 0xF0) {
        if (available < 3 || !IsContinuation(s[1]) || !IsContinuation(s[2])) return {};
        if ((b == 0xE0 && s[1] < 0xA0) || (b == 0xED && s[1] >= 0xA0)) return {};
        return {static_cast<char32_t>(((b & 0x0F) << 12) | ((s[1] & 0x3F) << 6) | (s[2] & 0x3F)), 3};
    }
    if (available < 4 || !IsContinuation(s[1]) || !IsContinuation(s[2]) || !IsContinuation(s[3])) return {};
    if ((b == 0xF0 && s[1] < 0x90) || (b == 0xF4 && s[1] >= 0x90)) return {};
    return {static_cast<char32_t>(((b & 0x07) << 18) | ((s[1] & 0x3F) << 12) | ((s[2] & 0x3F) << 6) |
                                  (s[3] & 0x3F)),
            4};
}

// The common sequence of CJK text, three bytes, read with the byte after it as one little-endian
// word: a lead byte 0xE0-0xEF and two continuation bytes. The code point, or 0 when the word does
// not start with such a sequence or it is ill-formed (an overlong form or a surrogate).
char32_t DecodeThreeBytes(const unsigned char* s) {
    std::uint32_t word;
    std::memcpy(&word, s, sizeof word);
    if ((word & 0xC0C0F0) != 0x8080E0) return 0;
    const char32_t c = ((word & 0x0F) << 12) | ((word & 0x3F00) >> 2) | ((word >> 16) & 0x3F);
    return c < 0x800 || (c & 0xF800) == 0xD800 ? 0 : c;
}

template <bool kWrite>
int DecodeUtf8(const unsigned char* s, int length, char16_t* target, int targetUnits) {
    int units = 0;
    for (int i = 0; i < length;) {
        const unsigned char b = s[i];
        if (b < 0x80) {
            const int run = AsciiRun(s + i, length - i);
            if (kWrite) {
                if (run > targetUnits - units) return kNotConverted;
                for (int k = 0; k < run; ++k)
                    target[units + k] = s[i + k];
            }
            units += run;
            i += run;
            continue;
        }
        if (length - i >= 4) {
            if (const char32_t c = DecodeThreeBytes(s + i); c != 0) {
                if (kWrite) {
                    if (units == targetUnits) return kNotConverted;
                    target[units] = static_cast<char16_t>(c);
                }
                ++units;
                i += 3;
                continue;
            }
        }
        const Decoded d = DecodeSequence(s + i, length - i);
        if (d.bytes == 0) return kNotConverted;
        i += d.bytes;
        const int needed = d.c < 0x10000 ? 1 : 2;
        if (kWrite) {
            if (needed > targetUnits - units) return kNotConverted;
            if (needed == 1) {
                target[units] = static_cast<char16_t>(d.c);
            } else {
                target[units] = static_cast<char16_t>(0xD7C0 + (d.c >> 10));
                target[units + 1] = static_cast<char16_t>(0xDC00 | (d.c & 0x3FF));
            }
        }
        units += needed;
    }
    return units;
}

bool IsLead(char16_t u) {
    return (u & 0xFC00) == 0xD800;
}
bool IsTrail(char16_t u) {
    return (u & 0xFC00) == 0xDC00;
}

// Writes the code point as UTF-8 at out (room for 4 bytes) and returns its length.
int EncodeUtf8(char32_t c, char* out) {
    if (c < 0x80) {
        out[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<char>(0xC0 | (c >> 6));
        out[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (c >> 12));
        out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (c >> 18));
    out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (c & 0x3F));
    return 4;
}

}  // namespace

int Utf8ToUtf16(const char* source, int length, char16_t* target, int targetUnits) {
    const auto* s = reinterpret_cast<const unsigned char*>(source);
    return target ? DecodeUtf8<true>(s, length, target, targetUnits)
                  : DecodeUtf8<false>(s, length, nullptr, 0);
}

int Utf16ToUtf8(const char16_t* source, int length, char* target, int targetBytes) {
    int bytes = 0;
    for (int i = 0; i < length;) {
        char32_t c = source[i++];
        if (IsTrail(static_cast<char16_t>(c))) return kNotConverted;
        if (IsLead(static_cast<char16_t>(c))) {
            if (i == length || !IsTrail(source[i])) return kNotConverted;
            c = 0x10000 + ((c - 0xD800) << 10) + (source[i++] - 0xDC00);
        }
        if (!target) {
            bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
            continue;
        }
        char encoded[4];
        const int n = EncodeUtf8(c, encoded);
        if (n > targetBytes - bytes) return kNotConverted;
        std::memcpy(target + bytes, encoded, static_cast<std::size_t>(n));
        bytes += n;
    }
    return bytes;
}

}  // namespace tarvolin::platform
