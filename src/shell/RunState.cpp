#include "shell/RunState.h"

namespace tarvolin {

RunState& RunState::Instance() {
    // Never destroyed: threads that outlive main() may still read it while the process ends.
    static RunState* state = new RunState();
    return *state;
}

int RunState::WorkerCount() {
    std::lock_guard lock(listLock);
    return static_cast<int>(workerThreads.size());
}

int RunState::DetailUrlCount() {
    std::lock_guard lock(listLock);
    return static_cast<int>(detailUrls.size());
}

bool RunState::DetailUrlAt(int k, Text& url) {
    std::lock_guard lock(listLock);
    if (k < 1 || k > static_cast<int>(detailUrls.size())) return false;
    url = detailUrls[k - 1];
    return true;
}

void RunState::AppendDetailUrl(const Text& url) {
    std::lock_guard lock(listLock);
    detailUrls.push_back(url);
}

void RunState::AppendWorker(WorkerHandle worker) {
    std::lock_guard lock(listLock);
    workerThreads.push_back(std::move(worker));
}

std::vector<WorkerHandle> RunState::WorkersSnapshot() {
    std::lock_guard lock(listLock);
    return workerThreads;
}

std::vector<WorkerHandle> RunState::TakeLists() {
    std::lock_guard lock(listLock);
    detailUrls.clear();
    std::vector<WorkerHandle> taken;
    taken.swap(workerThreads);
    return taken;
}

void RunState::Release() {
    TakeLists();
    pendingGuard.reset();
}

}  // namespace tarvolin
