#include "app/ExitCleanup.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "app/DetachedThreads.h"
#include "shell/RunState.h"

namespace tarvolin {
namespace {

std::function<void()>& SessionDestroyer() {
    static auto* destroy = new std::function<void()>();  // outlives static destruction
    return *destroy;
}

std::atomic<int> exitStatus{0};

// Asks the search thread and every listed worker to stop; true when all of them have ended
// within the grace time.
bool StopRunThreads() {
    RunState& state = RunState::Instance();
    std::vector<WorkerHandle> threads = state.WorkersSnapshot();
    if (state.searchThread) threads.push_back(state.searchThread);
    for (const WorkerHandle& thread : threads) {
        if (thread) thread->Control().RequestStop();
    }
    const auto deadline = std::chrono::steady_clock::now() + kExitGrace;
    bool allEnded = true;
    for (const WorkerHandle& thread : threads) {
        if (!thread) continue;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (!thread->Join(std::max(left, std::chrono::milliseconds(0)))) allEnded = false;
    }
    return allEnded;
}

}  // namespace

void SetExitStatus(int status) {
    exitStatus = status;
}

void RegisterExitCleanup(std::function<void()> destroySession) {
    SessionDestroyer() = std::move(destroySession);
    static std::once_flag registered;
    std::call_once(registered, [] { std::atexit(&ExitCleanup); });
}

void ExitCleanup() {
    const bool runThreadsEnded = StopRunThreads();
    RunState::Instance().Release();
    if (runThreadsEnded && DetachedThreads::Running() == 0) {
        if (SessionDestroyer()) SessionDestroyer()();
        return;
    }
    std::fflush(nullptr);
    std::_Exit(exitStatus.load());
}

}  // namespace tarvolin
