#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Stand-in for the scripting regular-expression component: a regular-expression object with the
// properties IgnoreCase, Multiline, Global and Pattern, and Execute/Replace over a UTF-16 subject.
// A character is one UTF-16 code unit and every index counts code units.
namespace tarvolin::platform {

class MatchCollection;

// Where one match or group lies in the subject, in code units; begin is kUnsetUnit for a group
// that took no part.
inline constexpr std::size_t kUnsetUnit = static_cast<std::size_t>(-1);
struct UnitSpan {
    std::size_t begin;
    std::size_t end;
};

// The capture groups of one match, numbered from 0 here (group 1 of the pattern is item 0).
class SubMatches {
public:
    int Count() const { return count_; }
    // The group's text; empty for a group that took no part, nullopt outside the collection.
    std::optional<std::u16string_view> Item(int index) const;

private:
    friend class Match;
    SubMatches(const MatchCollection* owner, int match, int count)
        : owner_(owner), match_(match), count_(count) {}
    const MatchCollection* owner_;
    int match_;
    int count_;
};

// One match; valid while its collection lives.
class Match {
public:
    std::u16string_view Value() const;
    int FirstIndex() const;
    int Length() const;
    platform::SubMatches SubMatches() const;

private:
    friend class MatchCollection;
    Match(const MatchCollection* owner, int index) : owner_(owner), index_(index) {}
    const MatchCollection* owner_;
    int index_;
};

// The matches of one Execute, left to right. Holds the subject, so texts are views into it.
class MatchCollection {
public:
    int Count() const { return count_; }
    std::optional<platform::Match> Item(int index) const;

private:
    friend class ScriptRegExp;
    friend class Match;
    friend class SubMatches;
    std::u16string_view Text(const UnitSpan& span) const;
    const UnitSpan& SpanOf(int match, int group) const {
        return spans_[static_cast<std::size_t>(match) * (groups_ + 1) + group];
    }

    std::shared_ptr<const std::u16string> subject_;
    int groups_ = 0;
    int count_ = 0;
    std::vector<UnitSpan> spans_;  // per match: the whole match, then each group
};

class ScriptRegExp {
public:
    bool IgnoreCase() const { return ignoreCase_; }
    void SetIgnoreCase(bool on) { ignoreCase_ = on; }
    bool Multiline() const { return multiline_; }
    void SetMultiline(bool on) { multiline_ = on; }
    bool Global() const { return global_; }
    void SetGlobal(bool on) { global_ = on; }
    const std::u16string& Pattern() const { return pattern_; }
    void SetPattern(std::u16string pattern) { pattern_ = std::move(pattern); }

    // The matches over subject (every one with Global, else the first); null when the engine
    // rejects the pattern or gives up on the subject.
    std::shared_ptr<MatchCollection> Execute(std::shared_ptr<const std::u16string> subject) const;

    // The subject with the matches replaced by replacement, in which $$, $&, $`, $' and $n / $nn
    // stand for "$", the match, the text before it, the text after it and a group. Null as Execute.
    std::optional<std::u16string> Replace(std::u16string_view subject, std::u16string_view replacement) const;

private:
    bool ignoreCase_ = false;
    bool multiline_ = false;
    bool global_ = false;
    std::u16string pattern_;
};

}  // namespace tarvolin::platform
