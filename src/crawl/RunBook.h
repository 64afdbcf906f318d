#pragma once

#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

#include "shell/RunState.h"

namespace tarvolin {

using RunId = std::uint64_t;

// Which search run is current. Every change the search thread and the detail workers make to the
// shared lists and to the pending-worker count goes through WhileCurrent, so a thread of a run
// that was stopped can no longer touch them, even when it is slow to notice its stop and a new run
// has begun meanwhile.
//
// Never call the window (Controls) inside WhileCurrent: the window thread takes the same lock.
class RunBook {
public:
    static RunBook& Instance();

    // Makes a new run current and returns its id; 0 while another run is under way.
    RunId Begin();
    bool UnderWay();
    bool IsCurrent(RunId id);
    // The run's own end: it is no longer current.
    void Finish(RunId id);
    // Stop: no run is current any more. Empties both lists of RunState under the same lock and
    // returns the search thread and the workers that were listed, as they were at that moment.
    struct Cancelled {
        WorkerHandle search;
        std::vector<WorkerHandle> workers;
    };
    Cancelled Cancel();

    // Runs action under the lock when id is the current run; false when it is not.
    template <class Action>
    bool WhileCurrent(RunId id, Action&& action) {
        std::lock_guard lock(mutex_);
        if (id == 0 || id != current_) return false;
        std::forward<Action>(action)();
        return true;
    }
    // Runs action under the lock, whatever run is current.
    template <class Action>
    void Locked(Action&& action) {
        std::lock_guard lock(mutex_);
        std::forward<Action>(action)();
    }

private:
    std::mutex mutex_;
    RunId current_ = 0;
    RunId last_ = 0;
};

}  // namespace tarvolin
