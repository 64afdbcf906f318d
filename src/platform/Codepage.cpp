#include "platform/Codepage.h"

#include <unicode/ucnv.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>

#include <cstring>
#include <memory>
#include <string>

#include "platform/GbkTable.h"
#include "platform/KeptConversion.h"
#include "platform/Utf8Units.h"

namespace tarvolin::platform {

namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// ICU's "windows-936" is code page 936 as Windows defines it: single byte 0x80 is U+20AC, 0xFF is
// U+F8F5, the user-defined areas map to private-use characters. Characters it lacks become "?".
Converter OpenGbk() {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open("windows-936", &status));
    if (U_FAILURE(status)) return nullptr;
    ucnv_setSubstChars(converter.get(), "?", 1, &status);
    return U_SUCCESS(status) ? std::move(converter) : nullptr;
}

// ICU's UTF-8 converter gives U+FFFD for each malformed sequence and EF BF BD for a lone surrogate.
Converter OpenUtf8() {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open("UTF-8", &status));
    return U_SUCCESS(status) ? std::move(converter) : nullptr;
}

// Opening a converter costs far more than converting a short text, so each thread keeps its own
// (a converter holds conversion state and must not be shared between threads).
struct ThreadConverters {
    Converter gbk = OpenGbk();
    Converter utf8 = OpenUtf8();
};

// The system ANSI code page of the platform the program was written for is 936.
UConverter* ConverterFor(int codePage) {
    thread_local ThreadConverters converters;
    switch (codePage) {
        case kCpAcp:
        case kCpGbk:
            return converters.gbk.get();
        case kCpUtf8:
            return converters.utf8.get();
        default:
            return nullptr;
    }
}

bool Succeeded(UErrorCode status) {
    return U_SUCCESS(status) || status == U_BUFFER_OVERFLOW_ERROR;
}

// Whether code page 936 has the character (its conversion is not the substitute "?").
bool GbkHas(UConverter* gbk, UChar32 c) {
    UChar units[2];
    int32_t length = 0;
    U16_APPEND_UNSAFE(units, length, c);
    char out[8];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t n = ucnv_fromUChars(gbk, out, sizeof out, units, length, &status);
    return U_SUCCESS(status) && !(n == 1 && out[0] == '?');
}

// The position of the first combining mark that follows another character, or length when none.
int FirstCombiningMark(const UNormalizer2* nfc, const char16_t* s, int length) {
    for (int i = 0; i < length;) {
        const int at = i;
        UChar32 c;
        U16_NEXT(s, i, length, c);
        if (at > 0 && c >= 0x300 && unorm2_getCombiningClass(nfc, c) != 0) return at;
    }
    return length;
}

// A base character followed by combining marks becomes the precomposed character wherever code
// page 936 has one; a mark that cannot be composed so stays a character of its own.
std::u16string Precompose(UConverter* gbk, const UNormalizer2* nfc, const char16_t* s, int length, int from) {
    std::u16string out(s, s + from);
    for (int i = from; i < length;) {
        UChar32 c;
        U16_NEXT(s, i, length, c);
        if (!out.empty() && c >= 0x300 && unorm2_getCombiningClass(nfc, c) != 0) {
            int end = static_cast<int>(out.size());
            UChar32 base;
            U16_PREV(out.data(), 0, end, base);
            const UChar32 composed = unorm2_composePair(nfc, base, c);
            if (composed >= 0 && GbkHas(gbk, composed)) {
                out.resize(static_cast<std::size_t>(end));
                c = composed;
            }
        }
        if (U_IS_BMP(c)) {
            out += static_cast<char16_t>(c);
        } else {
            out += static_cast<char16_t>(U16_LEAD(c));
            out += static_cast<char16_t>(U16_TRAIL(c));
        }
    }
    return out;
}

// A full target counts as overflow even when what is left of the source converts to nothing (the
// converter drops default-ignorable characters that code page 936 lacks), so the output did fit.
bool NothingMoreComes(UConverter* converter, const UChar* in, const UChar* end) {
    char rest[8];
    char* out = rest;
    UErrorCode status = U_ZERO_ERROR;
    ucnv_fromUnicode(converter, &out, rest + sizeof rest, &in, end, nullptr, true, &status);
    return U_SUCCESS(status) && out == rest;
}

// A counting call converts into the thread's kept output, and the converting call that follows on
// the same text takes it from there. kNotConverted leaves the text to ICU.
template <typename From, typename To, typename Convert>
int ConvertKept(KeptConversion<From, To>& kept, int codePage, const From* source, int length, To* target,
                int targetUnits, int maxPerUnit, Convert convert) {
    if (target) {
        const int given = kept.Give(codePage, source, length, target, targetUnits);
        return given >= 0 ? given : convert(target, targetUnits);
    }
    if (length > kept.kMaxUnits) return convert(nullptr, 0);
    const int room = length * maxPerUnit;
    const int units = convert(kept.Room(room), room);
    if (units != kNotConverted) kept.Keep(codePage, source, length, units);
    return units;
}

// UTF-8 by hand: never more UTF-16 units than bytes.
int ConvertFromUtf8(const char* source, int length, char16_t* target, int targetUnits) {
    thread_local KeptConversion<char, char16_t> kept;
    return ConvertKept(kept, kCpUtf8, source, length, target, targetUnits, 1,
                       [&](char16_t* room, int size) { return Utf8ToUtf16(source, length, room, size); });
}

// Code page 936 by table and UTF-8 by hand: never more than two or three bytes a unit.
int ConvertFromUtf16(int codePage, const char16_t* source, int length, char* target, int targetBytes) {
    thread_local KeptConversion<char16_t, char> kept;
    if (codePage == kCpUtf8) {
        return ConvertKept(kept, codePage, source, length, target, targetBytes, 3,
                           [&](char* room, int size) { return Utf16ToUtf8(source, length, room, size); });
    }
    const GbkTable* table = GbkTable::Get();
    if (!table) return kNotConverted;
    return ConvertKept(kept, kCpGbk, source, length, target, targetBytes, 2,
                       [&](char* room, int size) { return table->FromUtf16(source, length, room, size); });
}

}  // namespace

int MultiByteToWideChar(int codePage, unsigned flags, const char* source, int sourceLength, char16_t* target,
                        int targetUnits) {
    if (!source || targetUnits < 0 || (targetUnits > 0 && !target) || flags != 0) return 0;
    UConverter* converter = ConverterFor(codePage);
    if (!converter) return 0;
    const int length = sourceLength < 0 ? static_cast<int>(std::strlen(source)) + 1 : sourceLength;
    if (length == 0) return 0;
    if (codePage == kCpUtf8) {
        const int units = ConvertFromUtf8(source, length, targetUnits > 0 ? target : nullptr, targetUnits);
        if (units != kNotConverted) return units;
    }
    UErrorCode status = U_ZERO_ERROR;
    if (targetUnits == 0) {
        const int needed = ucnv_toUChars(converter, nullptr, 0, source, length, &status);
        return Succeeded(status) ? needed : 0;
    }
    ucnv_resetToUnicode(converter);
    UChar* out = reinterpret_cast<UChar*>(target);
    const char* in = source;
    ucnv_toUnicode(converter, &out, out + targetUnits, &in, source + length, nullptr, true, &status);
    // Room too small: what fits is written, and the call fails.
    if (U_FAILURE(status)) return 0;
    return static_cast<int>(out - reinterpret_cast<UChar*>(target));
}

int WideCharToMultiByte(int codePage, unsigned flags, const char16_t* source, int sourceUnits, char* target,
                        int targetBytes) {
    if (!source || targetBytes < 0 || (targetBytes > 0 && !target)) return 0;
    if ((flags & ~kWcCompositeCheck) != 0 || (codePage == kCpUtf8 && flags != 0)) return 0;
    UConverter* converter = ConverterFor(codePage);
    if (!converter) return 0;
    int length =
        sourceUnits < 0 ? static_cast<int>(std::char_traits<char16_t>::length(source)) + 1 : sourceUnits;
    if (length == 0) return 0;
    const UChar* in = reinterpret_cast<const UChar*>(source);
    std::u16string composed;
    if (flags & kWcCompositeCheck) {
        UErrorCode status = U_ZERO_ERROR;
        const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
        const int mark = U_SUCCESS(status) ? FirstCombiningMark(nfc, source, length) : length;
        if (mark < length) {
            composed = Precompose(converter, nfc, source, length, mark);
            in = reinterpret_cast<const UChar*>(composed.data());
            length = static_cast<int>(composed.size());
        }
    }
    if (const int bytes =
            ConvertFromUtf16(codePage, in, length, targetBytes > 0 ? target : nullptr, targetBytes);
        bytes != kNotConverted) {
        return bytes;
    }
    UErrorCode status = U_ZERO_ERROR;
    if (targetBytes == 0) {
        const int needed = ucnv_fromUChars(converter, nullptr, 0, in, length, &status);
        return Succeeded(status) ? needed : 0;
    }
    ucnv_resetFromUnicode(converter);
    char* out = target;
    const UChar* end = in + length;
    ucnv_fromUnicode(converter, &out, target + targetBytes, &in, end, nullptr, true, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR && NothingMoreComes(converter, in, end)) status = U_ZERO_ERROR;
    if (U_FAILURE(status)) return 0;
    return static_cast<int>(out - target);
}

}  // namespace tarvolin::platform
