#pragma once

#include "crawl/RunContext.h"

namespace tarvolin {

// The body of the search thread: reads the page count and the result total, walks the result
// pages, starts one detail worker per company link and waits for them, has the newest rows
// exported every N pages, and reports the harvest at the end. A stop ends it at its next step.
void RunSearch(const RunContext& run);

// True when page is a multiple of divisor, computed as the remainder in double precision and
// taken as zero within 1e-7.
bool IsMultipleOf(int page, double divisor);

}  // namespace tarvolin
