#pragma once

#include <ctime>

#include "text/Text.h"

namespace tarvolin {

// "2015年3月2日9时7分3秒": the date, then the time down to its last non-zero part (nothing when
// the time is midnight exactly).
Text DateTimeText(const std::tm& moment);

// The time of day for file names, "9时7分3", taken from the export clock. At a full minute it
// reads "9时7分0", so every name carries its time.
Text TimeStamp();

}  // namespace tarvolin
