#pragma once

#include <memory>
#include <mutex>

#include "crawl/RunBook.h"
#include "platform/NamedMutex.h"
#include "shell/Controls.h"

namespace tarvolin {

// What the search thread and its workers keep of the run that started them: the window, the
// run's id, and the pendingGuard and workerMutex that StartSearch made for it.
struct RunContext {
    Controls* controls = nullptr;
    RunId id = 0;
    std::shared_ptr<std::mutex> pendingGuard;
    std::shared_ptr<platform::NamedMutex> workerMutex;
};

}  // namespace tarvolin
