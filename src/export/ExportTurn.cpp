#include "export/ExportTurn.h"

#include <chrono>
#include <mutex>

#include "platform/ThreadControl.h"

namespace tarvolin {
namespace {

std::mutex turnLock;
bool running = false;
int waiting = 0;

constexpr std::chrono::milliseconds kPollPeriod{20};

}  // namespace

std::optional<ExportTurn> ExportTurn::ForMenuExport() {
    std::lock_guard lock(turnLock);
    if (running || waiting > 0) return std::nullopt;
    running = true;
    return ExportTurn();
}

std::optional<ExportTurn> ExportTurn::ForBatchExport() {
    std::unique_lock lock(turnLock);
    ++waiting;
    // Polling keeps the wait a safe point of the calling thread: a stop ends it.
    while (running) {
        lock.unlock();
        const bool goOn = platform::InterruptibleSleep(kPollPeriod) && !platform::StopRequested();
        lock.lock();
        if (!goOn) {
            --waiting;
            return std::nullopt;
        }
    }
    --waiting;
    running = true;
    return ExportTurn();
}

int ExportTurn::WaitingBatchExports() {
    std::lock_guard lock(turnLock);
    return waiting;
}

ExportTurn::~ExportTurn() {
    if (!held_) return;
    std::lock_guard lock(turnLock);
    running = false;
}

}  // namespace tarvolin
