#include "text/RegexMatcher.h"

#include <optional>
#include <string_view>

#include "platform/Codepage.h"
#include "platform/ScriptRegExp.h"
#include "text/Encodings.h"
#include "text/TextOps.h"

namespace tarvolin {

namespace {

// The UTF-16 units of a Text: GbkToUtf16 without its terminator, in one converting pass. Every
// unit stands for at least one byte, so the Text's length is room enough.
std::u16string UnitsOf(const Text& text) {
    if (text.empty()) return {};
    std::u16string units(static_cast<std::size_t>(text.length()), u'\0');
    const int written = platform::MultiByteToWideChar(platform::kCpGbk, 0, text.c_str(), text.length(),
                                                      units.data(), text.length());
    units.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return units;
}

// Links and most field values are plain ASCII, whose code page 936 form is the units themselves.
std::optional<Text> AsciiText(std::u16string_view units) {
    std::string bytes(units.size(), '\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (units[i] >= 0x80) return std::nullopt;
        if (units[i] == 0) {
            bytes.resize(i);
            break;
        }
        bytes[i] = static_cast<char>(units[i]);
    }
    return Text::FromBytesUnchecked(std::move(bytes));
}

Bytes BytesOf(std::u16string_view units) {
    return Bytes(units.data(), units.size() * 2);
}

Text TextOf(std::u16string_view units) {
    if (units.empty()) return Text();
    if (std::optional<Text> ascii = AsciiText(units)) return *std::move(ascii);
    return Utf16ToGbk(BytesOf(units));
}

// The 0-based byte position in the subject's Text of the first occurrence of found at or after
// the match that begins at unit firstIndex; -1 when it is not there. The search starts at the
// match's own byte position (the Text of the units before it), so that it begins on a character
// boundary and cannot step past the match.
int PositionOf(const std::u16string& subject, const Text& found, int firstIndex) {
    const std::u16string_view units(subject);
    const int matchStart = Utf16ToGbk(BytesOf(units.substr(0, firstIndex))).length() + 1;
    if (found.empty()) return matchStart - 1;  // an empty text is placed at the match
    const int at = FindText(Utf16ToGbk(BytesOf(units)), found, matchStart, false);
    return at < 0 ? -1 : at - 1;
}

}  // namespace

RegexMatcher::RegexMatcher() = default;
RegexMatcher::~RegexMatcher() = default;
RegexMatcher::RegexMatcher(const RegexMatcher& other) = default;
RegexMatcher& RegexMatcher::operator=(const RegexMatcher& other) = default;

bool RegexMatcher::ExecutePattern(const Text& pattern, const Text& subject, bool caseSensitive,
                                  bool multiline, bool global) {
    regex_.reset();
    matches_.reset();
    auto regex = std::make_shared<platform::ScriptRegExp>();
    regex->SetIgnoreCase(!caseSensitive);
    regex->SetMultiline(multiline);
    regex->SetGlobal(global);
    regex->SetPattern(UnitsOf(pattern));
    subject_ = std::make_shared<const std::u16string>(UnitsOf(subject));
    matches_ = regex->Execute(subject_);
    // A matcher whose execute failed answers every query, its pattern included, with empty values.
    if (matches_) regex_ = std::move(regex);
    return matches_ != nullptr;
}

Text RegexMatcher::GetPattern() const {
    return regex_ ? TextOf(regex_->Pattern()) : Text();
}

Text RegexMatcher::ReplaceMatches(const Text& replacement) const {
    if (!regex_ || !subject_) return Text();
    const std::optional<std::u16string> replaced = regex_->Replace(*subject_, UnitsOf(replacement));
    return replaced ? TextOf(*replaced) : Text();
}

int RegexMatcher::MatchCount() const {
    return matches_ ? matches_->Count() : 0;
}

Text RegexMatcher::MatchText(int matchIndex, int* position) const {
    const std::optional<platform::Match> match = matches_ ? matches_->Item(matchIndex - 1) : std::nullopt;
    if (!match) {
        if (position) *position = -1;
        return Text();
    }
    Text text = TextOf(match->Value());
    if (position) *position = PositionOf(*subject_, text, match->FirstIndex());
    return text;
}

Text RegexMatcher::SubMatchText(int matchIndex, int groupIndex, int* position) const {
    const std::optional<platform::Match> match = matches_ ? matches_->Item(matchIndex - 1) : std::nullopt;
    const std::optional<std::u16string_view> group =
        match ? match->SubMatches().Item(groupIndex - 1) : std::optional<std::u16string_view>();
    if (!group) {
        if (position) *position = -1;
        return Text();
    }
    Text text = TextOf(*group);
    if (position) *position = PositionOf(*subject_, text, match->FirstIndex());
    return text;
}

int RegexMatcher::SubMatchCount() const {
    const std::optional<platform::Match> match = matches_ ? matches_->Item(0) : std::nullopt;
    return match ? match->SubMatches().Count() : 0;
}

}  // namespace tarvolin
