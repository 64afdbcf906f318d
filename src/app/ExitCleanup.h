#pragma once

#include <chrono>
#include <functional>

namespace tarvolin {

// What the end of the program releases: the run state's lists and guard, and the shared HTTP
// session through destroySession. Registers ExitCleanup with std::atexit (once).
void RegisterExitCleanup(std::function<void()> destroySession);

// Runs once when the program ends: main() calls it before returning, so it comes before any
// static object is destroyed, and the atexit registration covers other ways out. The search thread and the
// listed workers are asked to stop and given a short, bounded time to finish. The session is destroyed only
// when no thread that may use it is left; otherwise the process ends at once with the recorded status, so
// threads still running end with it instead of meeting objects destroyed under them.
void ExitCleanup();

// The status the program ends with when ExitCleanup has to end it early.
void SetExitStatus(int status);

// How long ExitCleanup waits for stopped threads in all.
inline constexpr std::chrono::milliseconds kExitGrace{300};

}  // namespace tarvolin
