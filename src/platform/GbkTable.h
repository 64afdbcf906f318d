#pragma once

#include <cstdint>
#include <vector>

// Code page 936 from UTF-16 by table lookup. The table is ICU's own "windows-936" conversion of
// every BMP character, made once, so that its results are the converter's; it leaves surrogates
// (supplementary characters and unpaired units) to the converter, and a target too small for the
// whole output too, since the converter writes part of a character there.
namespace tarvolin::platform {

class GbkTable {
public:
    // The table of the process, or null when it could not be made from ICU.
    static const GbkTable* Get();

    // Bytes of code page 936 for the units; writes them too unless target is null. kNotConverted
    // (see Utf8Units.h) for what the table leaves to the converter.
    int FromUtf16(const char16_t* source, int length, char* target, int targetBytes) const;

private:
    GbkTable() = default;
    bool Fill();
    template <bool kWrite>
    int Convert(const char16_t* source, int length, char* target, int targetBytes) const;

    // Per BMP code point: a single byte when below 0x100; the two bytes as they lie in memory on a
    // little-endian machine (lead byte low), which never reads below 0x100 nor as either mark; or a
    // mark: kNothing when the converter writes no byte for it, kSurrogate for a surrogate unit.
    static constexpr std::uint16_t kSurrogate = 0xFFFE;
    static constexpr std::uint16_t kNothing = 0xFFFF;
    std::vector<std::uint16_t> bytes_;
};

}  // namespace tarvolin::platform
