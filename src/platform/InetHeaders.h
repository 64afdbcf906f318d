#pragma once

#include <string_view>

#include "platform/InetCore.h"

namespace tarvolin::platform {

// Turns header lines ("Name: value\r\n" each) into libcurl's list, in the same order, and adds the
// entries that keep libcurl from sending an Accept, Expect or (with a body) Content-Type of its
// own. False when memory ran out.
bool BuildHeaderList(std::string_view lines, bool sendsBody, CurlSlist& list);

}  // namespace tarvolin::platform
