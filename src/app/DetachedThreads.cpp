#include "app/DetachedThreads.h"

#include <atomic>
#include <thread>

namespace tarvolin {
namespace {
std::atomic<int> running{0};
}

void DetachedThreads::Start(std::function<void()> routine) {
    if (!routine) return;
    ++running;
    std::thread([routine = std::move(routine)] {
        routine();
        --running;
    }).detach();
}

int DetachedThreads::Running() {
    return running.load();
}

}  // namespace tarvolin
