#include "crawl/RunBook.h"

namespace tarvolin {

RunBook& RunBook::Instance() {
    static RunBook* book = new RunBook();  // threads that outlive main() may still ask
    return *book;
}

RunId RunBook::Begin() {
    std::lock_guard lock(mutex_);
    if (current_ != 0) return 0;
    current_ = ++last_;
    return current_;
}

bool RunBook::UnderWay() {
    std::lock_guard lock(mutex_);
    return current_ != 0;
}

bool RunBook::IsCurrent(RunId id) {
    std::lock_guard lock(mutex_);
    return id != 0 && id == current_;
}

void RunBook::Finish(RunId id) {
    std::lock_guard lock(mutex_);
    if (id == current_) current_ = 0;
}

RunBook::Cancelled RunBook::Cancel() {
    std::lock_guard lock(mutex_);
    current_ = 0;
    return Cancelled{RunState::Instance().searchThread, RunState::Instance().TakeLists()};
}

}  // namespace tarvolin
