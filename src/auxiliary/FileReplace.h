#pragma once

#include <string>
#include <string_view>

namespace tarvolin {

// Gives the file at path exactly these bytes. The bytes go to a new file beside it, which then
// takes the name over in one step: a reader that has the old file open or mapped (a running copy
// of the program with the library loaded) keeps the old content intact, and a link planted under
// the name is replaced, never followed. False when the file could not be written.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace tarvolin
