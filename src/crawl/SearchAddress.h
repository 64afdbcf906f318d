#pragma once

#include "text/Text.h"

namespace tarvolin {

// The company search of the directory site for a keyword already in its URL-encoded form.
Text SearchAddress(const Text& encodedKeyword);
// The same with "&p=" and the page number.
Text ResultPageAddress(const Text& encodedKeyword, int page);

// The pattern of a company link on a result page (group 1: the link).
Text LinkPattern();
// The pattern of a company's contact block on its detail page (groups 1-7: the row's fields).
Text DetailPattern();

}  // namespace tarvolin
