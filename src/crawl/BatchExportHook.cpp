#include "crawl/BatchExportHook.h"

#include <mutex>

namespace tarvolin {

namespace {
std::mutex hookMutex;
BatchExportFunction& Hook() {
    static auto* hook = new BatchExportFunction();
    return *hook;
}
}  // namespace

void SetBatchExportHook(BatchExportFunction hook) {
    std::lock_guard lock(hookMutex);
    Hook() = std::move(hook);
}

BatchExportFunction BatchExportHook() {
    std::lock_guard lock(hookMutex);
    return Hook();
}

}  // namespace tarvolin
