#pragma once

// UTF-8 and UTF-16 conversions of well-formed text, written out so that the common case (mostly
// ASCII with some CJK) needs no converter. They give up on anything they do not convert exactly as
// ICU's converters do, so that the caller can leave that text to ICU: ill-formed input (which ICU
// replaces sequence by sequence) and a target too small for the whole output.
namespace tarvolin::platform {

// The result when a conversion gives up.
inline constexpr int kNotConverted = -1;

// Units of UTF-16 for the UTF-8 bytes; writes them too unless target is null.
int Utf8ToUtf16(const char* source, int length, char16_t* target, int targetUnits);
// Bytes of UTF-8 for the UTF-16 units; writes them too unless target is null.
int Utf16ToUtf8(const char16_t* source, int length, char* target, int targetBytes);

}  // namespace tarvolin::platform
