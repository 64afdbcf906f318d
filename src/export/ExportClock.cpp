#include "export/ExportClock.h"

#include <mutex>

namespace tarvolin {
namespace {

std::mutex clockLock;
LocalTimeSource installed;

std::tm SystemLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

}  // namespace

std::tm ExportLocalTime() {
    LocalTimeSource source;
    {
        std::lock_guard lock(clockLock);
        source = installed;
    }
    return source ? source() : SystemLocalTime();
}

void SetExportClock(LocalTimeSource source) {
    std::lock_guard lock(clockLock);
    installed = std::move(source);
}

}  // namespace tarvolin
