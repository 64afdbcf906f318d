#pragma once

#include <cstdint>

// Stand-ins for the operating system's two code-page conversion functions, with their calling
// conventions: a source length of -1 means "through the terminating zero", which is then
// converted and counted too; a destination size of 0 asks only for the size needed. Both return
// the number of units or bytes written (or needed), 0 on failure.
namespace tarvolin::platform {

inline constexpr int kCpAcp = 0;
inline constexpr int kCpGbk = 936;
inline constexpr int kCpUtf8 = 65001;
inline constexpr unsigned kWcCompositeCheck = 0x00000200;

int MultiByteToWideChar(int codePage, unsigned flags, const char* source, int sourceLength, char16_t* target,
                        int targetUnits);
int WideCharToMultiByte(int codePage, unsigned flags, const char16_t* source, int sourceUnits, char* target,
                        int targetBytes);

}  // namespace tarvolin::platform
