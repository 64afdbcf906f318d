#include "shell/RunClock.h"

namespace tarvolin {

Text AdvanceRunClock(RunState& state) {
    if (++state.clockSeconds == 60) {
        state.clockSeconds = 0;
        ++state.clockMinutes;
    }
    if (state.clockMinutes == 60) {
        state.clockMinutes = 0;
        ++state.clockHours;
    }
    return "运行时间:"_t + IntToText(state.clockHours) + "时"_t + IntToText(state.clockMinutes) + "分"_t +
           IntToText(state.clockSeconds) + "秒"_t;
}

}  // namespace tarvolin
