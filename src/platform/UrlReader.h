#pragma once

#include <string>

// The simple URL reader: one plain GET of its own, shared with nothing else (no cookies, no
// stored headers), for small pages such as the release announcement.
namespace tarvolin::platform {

// Reads the address with HTTP/1.0, the reader's fixed user agent and the cache bypassed, and
// returns the body bytes (they may hold zeros): everything read until the server ends the body or
// a read fails, and empty when the request cannot be made. Redirects are followed. Connecting
// gives up after 60 s, reading after 30 s without data. On a ControlledThread a stop request ends
// the read and a suspension holds it.
std::string ReadUrl(const std::string& url);

}  // namespace tarvolin::platform
