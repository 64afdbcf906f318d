#pragma once

#include "text/Text.h"
#include "web/HttpSession.h"

namespace tarvolin {

// The one HttpSession of the process, made at start-up and destroyed at exit. Creating it again
// while it exists changes nothing. A FetchPage still running when the session is destroyed keeps
// it alive until it returns.
void CreateSharedSession();
void DestroySharedSession();
// Null before CreateSharedSession and after DestroySharedSession.
HttpSession* SharedSession();

// Loads a page on the shared session and returns its body decoded from UTF-8; empty when the
// request cannot be made, the page has no body, or there is no shared session.
Text FetchPage(const Text& url);

}  // namespace tarvolin
