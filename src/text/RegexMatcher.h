#pragma once

#include <memory>
#include <string>

#include "text/Text.h"

namespace tarvolin {

namespace platform {
class ScriptRegExp;
class MatchCollection;
}  // namespace platform

// Runs one regular expression over one Text and hands back matches and groups as Text.
// Indices are 1-based. A matcher is used on one thread only; copies share the engine objects
// and keep their own subject.
class RegexMatcher {
public:
    RegexMatcher();
    ~RegexMatcher();
    RegexMatcher(const RegexMatcher& other);
    RegexMatcher& operator=(const RegexMatcher& other);

    // True when the engine returned a match collection (also an empty one).
    bool ExecutePattern(const Text& pattern, const Text& subject, bool caseSensitive = false,
                        bool multiline = true, bool global = true);
    Text GetPattern() const;
    Text ReplaceMatches(const Text& replacement) const;
    int MatchCount() const;
    Text MatchText(int matchIndex, int* position = nullptr) const;
    Text SubMatchText(int matchIndex, int groupIndex, int* position = nullptr) const;
    int SubMatchCount() const;

private:
    std::shared_ptr<platform::ScriptRegExp> regex_;
    std::shared_ptr<platform::MatchCollection> matches_;
    // The subject of the last execute as UTF-16 units. The match collection reads its texts from
    // the same buffer; it never changes once made, so copies may share it.
    std::shared_ptr<const std::u16string> subject_;
};

}  // namespace tarvolin
