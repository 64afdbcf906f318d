#include "platform/Codepage.h"

#include <unicode/ucnv.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <memory>
#include <string>
#include <vector>

namespace tarvolin::platform {

namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// The system ANSI code page of the platform the program was written for is 936.
const char* IcuName(int codePage) {
    switch (codePage) {
        case kCpAcp:
        case kCpGbk:
            return "windows-936";
        case kCpUtf8:
            return "UTF-8";
        default:
            return nullptr;
    }
}

Converter Open(int codePage) {
    const char* name = IcuName(codePage);
    if (!name) return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name, &status));
    if (U_FAILURE(status)) return nullptr;
    if (codePage != kCpUtf8) {
        status = U_ZERO_ERROR;
        ucnv_setSubstChars(converter.get(), "?", 1, &status);
    }
    return converter;
}

}  // namespace

int MultiByteToWideChar(int codePage, unsigned /*flags*/, const char* source, int sourceLength, char16_t* target,
                        int targetUnits) {
    if (!source || targetUnits < 0) return 0;
    Converter converter = Open(codePage);
    if (!converter) return 0;
    const int length = sourceLength < 0 ? static_cast<int>(std::char_traits<char>::length(source)) + 1 : sourceLength;
    if (length == 0) return 0;
    UErrorCode status = U_ZERO_ERROR;
    std::vector<UChar> buffer(static_cast<std::size_t>(length) + 1);
    const int units = ucnv_toUChars(converter.get(), buffer.data(), static_cast<int32_t>(buffer.size()), source,
                                    length, &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) return 0;
    if (targetUnits == 0) return units;
    if (units > targetUnits) return 0;
    std::copy(buffer.begin(), buffer.begin() + units, target);
    return units;
}

int WideCharToMultiByte(int codePage, unsigned flags, const char16_t* source, int sourceUnits, char* target,
                        int targetBytes) {
    if (!source || targetBytes < 0) return 0;
    Converter converter = Open(codePage);
    if (!converter) return 0;
    int units = sourceUnits;
    if (units < 0) {
        units = 0;
        while (source[units] != 0) ++units;
        ++units;
    }
    if (units == 0) return 0;
    std::u16string input(source, source + units);
    if (flags & kWcCompositeCheck) {
        UErrorCode status = U_ZERO_ERROR;
        const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
        std::vector<UChar> composed(static_cast<std::size_t>(units) + 1);
        const int n = unorm2_normalize(nfc, reinterpret_cast<const UChar*>(input.data()), units, composed.data(),
                                       static_cast<int32_t>(composed.size()), &status);
        if (U_SUCCESS(status)) input.assign(composed.begin(), composed.begin() + n);
    }
    UErrorCode status = U_ZERO_ERROR;
    const int needed = ucnv_fromUChars(converter.get(), nullptr, 0, reinterpret_cast<const UChar*>(input.data()),
                                       static_cast<int32_t>(input.size()), &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return 0;
    if (targetBytes == 0) return needed;
    std::string out(static_cast<std::size_t>(needed) + 1, '\0');
    status = U_ZERO_ERROR;
    ucnv_fromUChars(converter.get(), out.data(), static_cast<int32_t>(out.size()),
                    reinterpret_cast<const UChar*>(input.data()), static_cast<int32_t>(input.size()), &status);
    if (U_FAILURE(status)) return 0;
    const int copied = needed < targetBytes ? needed : targetBytes;
    std::copy(out.begin(), out.begin() + copied, target);
    return copied;
}

}  // namespace tarvolin::platform
