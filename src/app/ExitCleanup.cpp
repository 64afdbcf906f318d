#include "app/ExitCleanup.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "app/DetachedThreads.h"
#include "platform/ThreadControl.h"
#include "shell/RunState.h"

namespace tarvolin {
namespace {

std::function<void()>& SessionDestroyer() {
    static auto* destroy = new std::function<void()>();  // outlives static destruction
    return *destroy;
}

std::atomic<int> exitStatus{0};

// Asks every controlled thread (the search thread, workers of this and of stopped runs, the
// version check) to stop; true when all of them, and the detached control threads, have ended
// within the grace time.
bool StopRunThreads() {
    const auto deadline = std::chrono::steady_clock::now() + kExitGrace;
    if (!platform::StopAllControlledThreads(kExitGrace)) return false;
    while (DetachedThreads::Running() != 0) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
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
    static std::atomic<bool> done{false};
    if (done.exchange(true)) return;
    const bool runThreadsEnded = StopRunThreads();
    RunState::Instance().Release();
    if (runThreadsEnded) {
        if (SessionDestroyer()) SessionDestroyer()();
        return;
    }
    std::fflush(nullptr);
    std::_Exit(exitStatus.load());
}

}  // namespace tarvolin
