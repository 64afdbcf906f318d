#pragma once

#include <string>

namespace tarvolin {

// The built-in skins are numbered 1 to kSkinCount; skins 37 and 40 are the same.
inline constexpr int kSkinCount = 56;

// The content of skin n's file (a style sheet for the skin engine); empty outside 1..kSkinCount.
std::string SkinData(int n);

}  // namespace tarvolin
