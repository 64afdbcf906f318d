#pragma once

#include <string_view>

namespace tarvolin {

// The file image of the skin engine library, as built with this program.
std::string_view SkinEngineImage();

}  // namespace tarvolin
