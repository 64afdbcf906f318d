#pragma once

#include "text/Text.h"

namespace tarvolin {

// The bytes strictly between the first startMarker at or after start and the first endMarker
// after it; empty when either is missing.
Text TextBetween(const Text& source, const Text& startMarker, const Text& endMarker, int start = 0,
                 bool ignoreCase = false);

// Every byte after the last occurrence of marker that ends before start (start <= 0: the length).
Text TextAfterLast(const Text& source, const Text& marker, int start = 0, bool ignoreCase = false);

}  // namespace tarvolin
