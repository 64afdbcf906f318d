#pragma once

#include "text/Text.h"

namespace tarvolin {

// Addresses fixed at build time; TARVOLIN_SITE and TARVOLIN_RELEASE_URL in the environment
// override the first two. The site address has no trailing slash.
Text SiteAddress();
Text ReleasePageUrl();
Text AuthorChatLink();
Text AuthorProfileUrl();

}  // namespace tarvolin
