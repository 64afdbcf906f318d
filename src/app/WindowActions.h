#pragma once

#include <functional>

#include "shell/Controls.h"
#include "text/Text.h"

namespace tarvolin {

// What the main window's handlers hand on to the rest of the program. Each gets the window as
// Controls. Every member may be left empty, which makes its handler do nothing beyond the
// window's own part.
struct WindowActions {
    // Runs on the window thread when Start is clicked.
    std::function<void(Controls&)> start;
    // Run-control routines, each run on a short-lived thread of its own.
    std::function<void(Controls&)> pause;
    std::function<void(Controls&)> resume;
    std::function<void(Controls&)> stop;
    // Menu exports, run on the window thread; the window pumps its messages after each.
    std::function<void(Controls&)> exportAll;
    std::function<void(Controls&, int listColumn, const Text& header, const Text& namePrefix)> exportColumn;
    // Window skin: applied when the window is created, detached when it closes.
    std::function<void(int skin)> applySkin;
    std::function<void()> detachSkin;
    // The version check, run once on a thread of its own when the window is created.
    std::function<void(Controls&)> versionCheck;
};

}  // namespace tarvolin
