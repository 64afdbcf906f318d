#pragma once

#include <cstdint>

// Stand-ins for the operating system's two code-page conversion functions, with their calling
// conventions: a source length of -1 means "through the terminating zero", which is then
// converted and counted too; a destination size of 0 asks only for the size needed. Both return
// the number of units or bytes written (or needed), 0 on failure; a destination too small for the
// whole output fails after writing what fits.
//
// Code pages: 936 and 0 (the system ANSI code page, which is 936 here) as Windows defines 936,
// and 65001 (UTF-8). Characters that code page 936 lacks become "?", one per character; malformed
// input becomes U+FFFD, one per bad sequence. MultiByteToWideChar takes no flags;
// WideCharToMultiByte takes only kWcCompositeCheck, and none for UTF-8. Other flags fail.
namespace tarvolin::platform {

inline constexpr int kCpAcp = 0;
inline constexpr int kCpGbk = 936;
inline constexpr int kCpUtf8 = 65001;
// A base character followed by combining marks comes out as the precomposed character wherever
// code page 936 has it; otherwise each stays a character of its own.
inline constexpr unsigned kWcCompositeCheck = 0x00000200;

int MultiByteToWideChar(int codePage, unsigned flags, const char* source, int sourceLength, char16_t* target,
                        int targetUnits);
int WideCharToMultiByte(int codePage, unsigned flags, const char16_t* source, int sourceUnits, char* target,
                        int targetBytes);

}  // namespace tarvolin::platform
