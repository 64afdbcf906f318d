#include "platform/GbkTable.h"

#include <unicode/ucnv.h>

#include <bit>
#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/Utf8Units.h"

namespace tarvolin::platform {

namespace {

constexpr int kBmpSize = 0x10000;
constexpr std::uint64_t kNonAsciiUnits = 0xFF80FF80FF80FF80ULL;
static_assert(std::endian::native == std::endian::little,
              "two-byte entries are written as they lie in memory");

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};

bool IsSurrogate(char16_t u) {
    return (u & 0xF800) == 0xD800;
}

// The length of the run of ASCII units at s, looked at eight (or four) at a time.
int AsciiRun(const char16_t* s, int length) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i nonAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
    for (; i + 8 <= length; i += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(units, nonAscii), _mm_setzero_si128());
        const unsigned other = ~static_cast<unsigned>(_mm_movemask_epi8(ascii)) & 0xFFFF;
        if (other != 0) return i + std::countr_zero(other) / 2;
    }
#endif
    for (; i + 4 <= length; i += 4) {
        std::uint64_t word;
        std::memcpy(&word, s + i, sizeof word);
        if (word & kNonAsciiUnits) return i + std::countr_zero(word & kNonAsciiUnits) / 16;
    }
    while (i < length && s[i] < 0x80)
        ++i;
    return i;
}

}  // namespace

const GbkTable* GbkTable::Get() {
    // Never destroyed: threads still converting while the process ends may use it.
    static const GbkTable* const table = [] {
        std::unique_ptr<GbkTable> made(new GbkTable);
        if (!made->Fill()) made.reset();
        return made.release();
    }();
    return table;
}

// Converts every BMP character but the surrogates in one call and reads each one's bytes off the
// offsets. The converter drops default-ignorable characters that code page 936 lacks (a soft
// hyphen, joiners) instead of writing "?", so a character may have no bytes. More than two bytes
// for a character, or ASCII that does not stay itself, leaves the table unmade, and every
// conversion to the converter.
bool GbkTable::Fill() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, ConverterCloser> gbk(ucnv_open("windows-936", &status));
    if (U_FAILURE(status)) return false;
    ucnv_setSubstChars(gbk.get(), "?", 1, &status);
    if (U_FAILURE(status)) return false;

    std::vector<UChar> source;
    for (int c = 0; c < kBmpSize; ++c) {
        if (!IsSurrogate(static_cast<char16_t>(c))) source.push_back(static_cast<UChar>(c));
    }
    std::vector<char> out(source.size() * 4);
    std::vector<int32_t> offsets(out.size());
    char* target = out.data();
    const UChar* in = source.data();
    ucnv_fromUnicode(gbk.get(), &target, out.data() + out.size(), &in, source.data() + source.size(),
                     offsets.data(), true, &status);
    if (U_FAILURE(status) || in != source.data() + source.size()) return false;

    // The converter gives each character's bytes in order: lead byte first.
    std::vector<std::uint16_t> first(kBmpSize, 0);
    std::vector<int> lengths(kBmpSize, 0);
    bytes_.assign(kBmpSize, kSurrogate);
    for (std::size_t i = 0; i < static_cast<std::size_t>(target - out.data()); ++i) {
        if (offsets[i] < 0 || static_cast<std::size_t>(offsets[i]) >= source.size()) return false;
        const char16_t c = source[static_cast<std::size_t>(offsets[i])];
        const auto b = static_cast<unsigned char>(out[i]);
        if (++lengths[c] > 2) return false;
        bytes_[c] = static_cast<std::uint16_t>(lengths[c] == 1 ? b : bytes_[c] | (b << 8));
    }
    for (const char16_t c : source) {
        if (lengths[c] == 0) bytes_[c] = kNothing;
        if (c < 0x80 && (lengths[c] != 1 || bytes_[c] != c)) return false;
        // Two bytes must read as neither one byte nor a mark.
        if (lengths[c] == 2 && (bytes_[c] < 0x100 || bytes_[c] >= kSurrogate)) return false;
    }
    return true;
}

template <bool kWrite>
int GbkTable::Convert(const char16_t* source, int length, char* target, int targetBytes) const {
    int bytes = 0;
    for (int i = 0; i < length;) {
        if (source[i] < 0x80) {
            const int run = AsciiRun(source + i, length - i);
            if (kWrite) {
                if (run > targetBytes - bytes) return kNotConverted;
                for (int k = 0; k < run; ++k)
                    target[bytes + k] = static_cast<char>(source[i + k]);
            }
            bytes += run;
            i += run;
            continue;
        }
        const std::uint16_t mapped = bytes_[source[i++]];
        if (mapped >= kSurrogate) {
            if (mapped == kSurrogate) return kNotConverted;
            continue;
        }
        const int n = mapped < 0x100 ? 1 : 2;
        if (kWrite) {
            if (n > targetBytes - bytes) return kNotConverted;
            if (n == 1) {
                target[bytes] = static_cast<char>(mapped);
            } else {
                std::memcpy(target + bytes, &mapped, 2);
            }
        }
        bytes += n;
    }
    return bytes;
}

int GbkTable::FromUtf16(const char16_t* source, int length, char* target, int targetBytes) const {
    return target ? Convert<true>(source, length, target, targetBytes)
                  : Convert<false>(source, length, nullptr, 0);
}

}  // namespace tarvolin::platform
