#pragma once

#include <ctime>
#include <functional>

namespace tarvolin {

// Where the exports read the time of day for their file names. Replaceable so that a caller can
// fix the moment.
using LocalTimeSource = std::function<std::tm()>;

// The current local time, from the installed source.
std::tm ExportLocalTime();

// Installs a source; an empty one restores the system clock. Safe from any thread.
void SetExportClock(LocalTimeSource source);

}  // namespace tarvolin
