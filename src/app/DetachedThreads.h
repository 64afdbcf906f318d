#pragma once

#include <functional>

namespace tarvolin {

// Short-lived threads that nobody joins (run control, the version check). Counted, so that the
// end of the program can tell whether one may still be running.
class DetachedThreads {
public:
    static void Start(std::function<void()> routine);
    static int Running();
};

}  // namespace tarvolin
