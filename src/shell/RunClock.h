#pragma once

#include "shell/RunState.h"
#include "text/Text.h"

namespace tarvolin {

// One period of the run clock: advances the clock fields of the state (seconds roll into
// minutes at 60, minutes into hours at 60, hours without limit) and returns the text of the
// clock panel, "运行时间:" + hours + "时" + minutes + "分" + seconds + "秒".
Text AdvanceRunClock(RunState& state);

}  // namespace tarvolin
