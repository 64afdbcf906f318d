#pragma once

#include "shell/Controls.h"

namespace tarvolin {

// The Start button, on the window thread: checks the keyword, starts the run clock, prepares
// RunState for a new run and starts the search thread. Does nothing while a run is under way.
void StartSearch(Controls& controls);

// True from StartSearch until the search thread's last step, or until a Stop.
bool SearchUnderWay();

}  // namespace tarvolin
