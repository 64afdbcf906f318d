#pragma once

#include <string>
#include <vector>

#include "text/RegexMatcher.h"
#include "text/Text.h"

namespace tarvolin::testing {

// Every match of the last execute, as UTF-8.
inline std::vector<std::string> MatchTexts(const RegexMatcher& matcher) {
    std::vector<std::string> out;
    for (int i = 1; i <= matcher.MatchCount(); ++i)
        out.push_back(TextToUtf8(matcher.MatchText(i)));
    return out;
}

// Groups 1 to count of one match, as UTF-8.
inline std::vector<std::string> GroupTexts(const RegexMatcher& matcher, int match, int count) {
    std::vector<std::string> out;
    for (int g = 1; g <= count; ++g)
        out.push_back(TextToUtf8(matcher.SubMatchText(match, g)));
    return out;
}

}  // namespace tarvolin::testing
