#pragma once

#include <string_view>
#include <vector>

#include "platform/ScriptRegExp.h"

// The matching engine behind ScriptRegExp: PCRE2's 16-bit library without UTF mode, set up to
// read patterns the way the scripting dialect does.
namespace tarvolin::platform::script_regexp {

struct Options {
    bool ignoreCase = false;
    bool multiline = false;
    bool global = false;
};

struct Matches {
    int groups = 0;               // capture groups of the pattern
    std::vector<UnitSpan> spans;  // groups + 1 spans per match
};

// Runs pattern over subject: every non-overlapping match from left to right with global, else
// the first. False when the pattern is rejected or the engine gives up (a limit is reached).
// Compiled patterns are kept per thread, so running the same pattern again costs no compilation.
bool FindMatches(std::u16string_view pattern, const Options& options, std::u16string_view subject,
                 Matches& result);

}  // namespace tarvolin::platform::script_regexp
