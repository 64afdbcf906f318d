#pragma once

#include <string_view>

#include "text/Text.h"

namespace tarvolin {

// ASCII protocol words as Text: ASCII bytes mean the same in code page 936.
inline Text AsciiText(std::string_view ascii) {
    return Text::FromBytes(ascii);
}

inline bool StartsWith(const Text& text, std::string_view prefix) {
    return text.view().starts_with(prefix);
}
inline bool EndsWith(const Text& text, std::string_view suffix) {
    return text.view().ends_with(suffix);
}

}  // namespace tarvolin
