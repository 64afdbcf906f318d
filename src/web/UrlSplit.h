#pragma once

#include <optional>

#include "text/Text.h"

namespace tarvolin {

struct UrlParts {
    Text scheme;  // "http://" or "https://"
    Text host;
    int port = 0;
    Text path;  // begins with "/" and keeps the query
};

// Splits a URL the way requests are addressed. Only an empty url fails. A url without a scheme is
// taken as http; an explicit port of 10 or less, or one that is not a number, becomes 80.
std::optional<UrlParts> SplitUrl(const Text& url);

}  // namespace tarvolin
