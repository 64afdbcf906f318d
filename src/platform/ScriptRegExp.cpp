#include "platform/ScriptRegExp.h"

#include "platform/ScriptRegExpEngine.h"

namespace tarvolin::platform {

std::u16string_view MatchCollection::Text(const UnitSpan& span) const {
    if (span.begin == kUnsetUnit) return {};
    return std::u16string_view(*subject_).substr(span.begin, span.end - span.begin);
}

std::optional<Match> MatchCollection::Item(int index) const {
    if (index < 0 || index >= count_) return std::nullopt;
    return Match(this, index);
}

std::u16string_view Match::Value() const {
    return owner_->Text(owner_->SpanOf(index_, 0));
}

int Match::FirstIndex() const {
    return static_cast<int>(owner_->SpanOf(index_, 0).begin);
}

int Match::Length() const {
    return static_cast<int>(Value().size());
}

SubMatches Match::SubMatches() const {
    return platform::SubMatches(owner_, index_, owner_->groups_);
}

std::optional<std::u16string_view> SubMatches::Item(int index) const {
    if (index < 0 || index >= count_) return std::nullopt;
    return owner_->Text(owner_->SpanOf(match_, index + 1));
}

namespace {

script_regexp::Options OptionsOf(const ScriptRegExp& regex) {
    return {regex.IgnoreCase(), regex.Multiline(), regex.Global()};
}

int Digit(char16_t c) {
    return c >= u'0' && c <= u'9' ? c - u'0' : -1;
}

// Appends the replacement for one match, expanding the dialect's "$" forms. For "$nn" the two
// digits count when they name a group, else one digit does; a "$" that forms nothing stays.
void AppendExpansion(std::u16string& out, std::u16string_view replacement, std::u16string_view subject,
                     const UnitSpan* spans, int groups) {
    auto text = [&](const UnitSpan& span) {
        return span.begin == kUnsetUnit ? std::u16string_view()
                                        : subject.substr(span.begin, span.end - span.begin);
    };
    for (std::size_t i = 0; i < replacement.size(); ++i) {
        const char16_t c = replacement[i];
        const char16_t next = i + 1 < replacement.size() ? replacement[i + 1] : u'\0';
        if (c != u'$' || next == u'\0') {
            out += c;
            continue;
        }
        if (next == u'$') {
            out += u'$';
        } else if (next == u'&') {
            out += text(spans[0]);
        } else if (next == u'`') {
            out += subject.substr(0, spans[0].begin);
        } else if (next == u'\'') {
            out += subject.substr(spans[0].end);
        } else {
            const int first = Digit(next);
            const int second = i + 2 < replacement.size() ? Digit(replacement[i + 2]) : -1;
            const int two = first >= 0 && second >= 0 ? first * 10 + second : -1;
            if (two >= 1 && two <= groups) {
                out += text(spans[two]);
                i += 2;
            } else if (first >= 1 && first <= groups) {
                out += text(spans[first]);
                ++i;
            } else {
                out += c;
            }
            continue;
        }
        ++i;
    }
}

}  // namespace

std::shared_ptr<MatchCollection> ScriptRegExp::Execute(std::shared_ptr<const std::u16string> subject) const {
    if (!subject) subject = std::make_shared<const std::u16string>();
    script_regexp::Matches found;
    if (!script_regexp::FindMatches(pattern_, OptionsOf(*this), *subject, found)) return nullptr;
    auto collection = std::make_shared<MatchCollection>();
    collection->subject_ = std::move(subject);
    collection->groups_ = found.groups;
    collection->count_ = static_cast<int>(found.spans.size() / (found.groups + 1));
    collection->spans_ = std::move(found.spans);
    return collection;
}

std::optional<std::u16string> ScriptRegExp::Replace(std::u16string_view subject,
                                                    std::u16string_view replacement) const {
    script_regexp::Matches found;
    if (!script_regexp::FindMatches(pattern_, OptionsOf(*this), subject, found)) return std::nullopt;
    std::u16string out;
    out.reserve(subject.size());
    std::size_t copied = 0;
    const std::size_t stride = static_cast<std::size_t>(found.groups) + 1;
    for (std::size_t m = 0; m < found.spans.size(); m += stride) {
        const UnitSpan* spans = &found.spans[m];
        out += subject.substr(copied, spans[0].begin - copied);
        AppendExpansion(out, replacement, subject, spans, found.groups);
        copied = spans[0].end;
    }
    out += subject.substr(copied);
    return out;
}

}  // namespace tarvolin::platform
