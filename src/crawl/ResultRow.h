#pragma once

#include <array>
#include <optional>

#include "text/RegexMatcher.h"
#include "text/Text.h"

namespace tarvolin {

// The seven fields of one company, in list-view column order: company name, contact person,
// telephone, mobile, fax, e-mail, address.
struct ResultRow {
    static constexpr int kFields = 7;
    std::array<Text, kFields> fields;
};

// The row that the first match of the detail pattern on a company page gives; nothing when the
// page does not match. Runs the pattern on the caller's matcher.
std::optional<ResultRow> ReadResultRow(RegexMatcher& matcher, const Text& page);

// The e-mail cell for the e-mail group's text: the text itself, or the visible text of the link
// when it holds one.
Text EmailCell(const Text& group);

}  // namespace tarvolin
