#include "crawl/ResultRow.h"

#include "crawl/SearchAddress.h"
#include "text/Markers.h"
#include "text/TextOps.h"

namespace tarvolin {

namespace {
constexpr int kEmailGroup = 6;
}

Text EmailCell(const Text& group) {
    if (FindText(group, Text::FromBytes("href")) == -1) return group;
    return TextBetween(group, Text::FromBytes("target=_blank>"), Text::FromBytes("</a>"), 0, false);
}

std::optional<ResultRow> ReadResultRow(RegexMatcher& matcher, const Text& page) {
    if (!matcher.ExecutePattern(DetailPattern(), page) || matcher.MatchCount() == 0) return std::nullopt;
    ResultRow row;
    for (int group = 1; group <= ResultRow::kFields; ++group) {
        const Text text = matcher.SubMatchText(1, group);
        row.fields[group - 1] = group == kEmailGroup ? EmailCell(text) : text;
    }
    return row;
}

}  // namespace tarvolin
