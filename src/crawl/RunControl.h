#pragma once

#include "shell/Controls.h"

namespace tarvolin {

// Bodies of the control threads behind Pause, Continue and Stop. Run control is cooperative: the
// threads of a run hold or end at their next safe point (a wait, a transfer, before a fetch or an
// append); nothing is suspended or killed from outside.

// Adds one suspension to every listed worker.
void PauseWorkers(Controls& controls);
// Removes one suspension from every listed worker; a worker goes on when none is left.
void ResumeWorkers(Controls& controls);
// Ends the search thread and every listed worker, empties both lists and shows the stop state.
void StopSearch(Controls& controls);

// Ends a run under way without touching the window, for a program that is closing.
void EndRunForExit();

}  // namespace tarvolin
