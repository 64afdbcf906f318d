#pragma once

#include "text/Text.h"

// Conversions between Text (code page 936), UTF-8 and UTF-16 (little-endian units in Bytes).
// None reports an error: a conversion the converter refuses yields an empty result.
namespace tarvolin {

inline constexpr int kCodePageAnsi = 0;
inline constexpr int kCodePageGbk = 936;
inline constexpr int kCodePageUtf8 = 65001;

Text UrlEncodeUtf8(const Text& keyword, bool keepUnreserved);
// The UTF-8 form of text, as a byte string (held in a Text: UTF-8 has no zero bytes either).
Text GbkToUtf8(const Text& text);
// Multibyte bytes (up to their first zero) to UTF-16 with a zero terminator unit.
Bytes TextToUtf16(const Text& text, int codePage = kCodePageUtf8);
// UTF-16 with terminator to multibyte bytes, up to the first zero byte.
Text Utf16ToText(const Bytes& units, int codePage = kCodePageAnsi);
Text Utf8ToGbk(const Bytes& utf8);
Bytes GbkToUtf16(const Text& text);
Bytes GbkToUtf16Ex(const Text& text, bool dropTerminator);
Text Utf16ToGbk(const Bytes& utf16);

}  // namespace tarvolin
