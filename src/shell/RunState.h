#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/ThreadControl.h"
#include "text/Text.h"

namespace tarvolin {

namespace platform {
class NamedMutex;
}

using WorkerHandle = std::shared_ptr<platform::ControlledThread>;

// The process-wide run state shared by the window, the search thread and the detail workers.
// Exactly one exists per process (RunState::Instance()).
struct RunState {
    static RunState& Instance();

    // Guards workerThreads and detailUrls; held only for each single access.
    std::mutex listLock;
    std::vector<WorkerHandle> workerThreads;
    std::vector<Text> detailUrls;  // positions counted from 1 by callers

    std::shared_ptr<std::mutex> pendingGuard;  // a fresh one per run
    int pendingWorkers = 0;                    // changed only under *pendingGuard

    std::shared_ptr<platform::NamedMutex> workerMutex;
    WorkerHandle searchThread;

    std::atomic<int> exportOutcome{0};  // 0 none or under way, 2 failed, 3 succeeded
    std::atomic<int> batchExportOffset{0};

    int clockSeconds = 0;  // window thread only
    int clockMinutes = 0;
    int clockHours = 0;

    // List accessors that take listLock for the one access.
    int WorkerCount();
    int DetailUrlCount();
    // The URL at 1-based position k; nothing when there is no such entry.
    bool DetailUrlAt(int k, Text& url);
    void AppendDetailUrl(const Text& url);
    void AppendWorker(WorkerHandle worker);
    std::vector<WorkerHandle> WorkersSnapshot();
    // Empties both lists, returning the workers that were listed.
    std::vector<WorkerHandle> TakeLists();

    // Releases the lists and the guard (the exit clean-up).
    void Release();
};

}  // namespace tarvolin
