#pragma once

#include <memory>

#include "platform/ThreadControl.h"
#include "shell/Controls.h"

namespace tarvolin {

// Reads the author's release page, compares the version it announces with the one in the
// window's caption, and either offers to open the page (newer version) or confirms in status
// panel 3 that this is the newest one. Meant as the body of a thread of its own.
void RunVersionCheck(Controls& controls);

// Starts RunVersionCheck on a ControlledThread and returns at once. The handle may be dropped
// (the thread then runs on detached); a window that closes while the check still runs requests a
// stop through it, after which the check touches the controls no more.
std::shared_ptr<platform::ControlledThread> StartVersionCheck(Controls& controls);

}  // namespace tarvolin
