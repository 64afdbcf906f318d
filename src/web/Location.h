#pragma once

#include "text/Text.h"

namespace tarvolin {

// The absolute URL named by the Location line of a raw response header block, or empty. A
// location that begins with "/" (also "//") is put after the current scheme, host and explicit
// port; one with an http or https scheme (any letter case) is taken as it is; anything else
// replaces the last path segment of currentUrl. Dot segments are left alone.
Text ResolveLocation(const Text& rawHeaders, const Text& scheme, const Text& host, int port,
                     const Text& currentUrl);

}  // namespace tarvolin
