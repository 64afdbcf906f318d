#include "platform/ThreadControl.h"

#include <list>

namespace tarvolin::platform {

namespace {
thread_local ThreadControl* currentControl = nullptr;
}

void ThreadControl::Suspend() {
    std::lock_guard lock(mutex_);
    ++suspensions_;
}

void ThreadControl::Resume() {
    {
        std::lock_guard lock(mutex_);
        if (suspensions_ > 0) --suspensions_;
    }
    wake_.notify_all();
}

void ThreadControl::RequestStop() {
    {
        std::lock_guard lock(mutex_);
        stop_.request_stop();
    }
    wake_.notify_all();
}

bool ThreadControl::Suspended() const {
    std::lock_guard lock(mutex_);
    return suspensions_ > 0;
}

int ThreadControl::Suspensions() const {
    std::lock_guard lock(mutex_);
    return suspensions_;
}

bool ThreadControl::Checkpoint() {
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [&] { return suspensions_ == 0 || stop_.stop_requested(); });
    return !stop_.stop_requested();
}

bool ThreadControl::Sleep(std::chrono::milliseconds period) {
    {
        std::unique_lock lock(mutex_);
        wake_.wait_for(lock, period, [&] { return stop_.stop_requested(); });
    }
    return Checkpoint();
}

ThreadControl* CurrentThreadControl() {
    return currentControl;
}

bool Checkpoint() {
    return currentControl ? currentControl->Checkpoint() : true;
}

bool StopRequested() {
    return currentControl && currentControl->StopRequested();
}

bool InterruptibleSleep(std::chrono::milliseconds period) {
    if (currentControl) return currentControl->Sleep(period);
    std::this_thread::sleep_for(period);
    return true;
}

struct ControlledThread::Done {
    std::mutex mutex;
    std::condition_variable cv;
    bool finished = false;
};

namespace {

// The controls of the controlled threads still running. Never destroyed: threads that outlive
// main() unregister themselves as they end.
struct LiveThreads {
    std::mutex mutex;
    std::condition_variable cv;
    std::list<std::shared_ptr<ThreadControl>> controls;
};

LiveThreads& Live() {
    static LiveThreads* live = new LiveThreads();
    return *live;
}

std::list<std::shared_ptr<ThreadControl>>::iterator Register(std::shared_ptr<ThreadControl> control) {
    LiveThreads& live = Live();
    std::lock_guard lock(live.mutex);
    return live.controls.insert(live.controls.end(), std::move(control));
}

void Unregister(std::list<std::shared_ptr<ThreadControl>>::iterator entry) {
    LiveThreads& live = Live();
    std::lock_guard lock(live.mutex);
    live.controls.erase(entry);
    live.cv.notify_all();
}

}  // namespace

bool StopAllControlledThreads(std::chrono::milliseconds timeout) {
    LiveThreads& live = Live();
    std::unique_lock lock(live.mutex);
    for (const std::shared_ptr<ThreadControl>& control : live.controls)
        control->RequestStop();
    return live.cv.wait_for(lock, timeout, [&] { return live.controls.empty(); });
}

std::shared_ptr<ControlledThread> ControlledThread::Start(std::function<void()> body) {
    std::shared_ptr<ControlledThread> handle(new ControlledThread());
    handle->control_ = std::make_shared<ThreadControl>();
    handle->done_ = std::make_shared<Done>();
    // The thread keeps its own references, so it outlives a handle that was dropped.
    const auto entry = Register(handle->control_);
    handle->thread_ =
        std::thread([control = handle->control_, done = handle->done_, body = std::move(body), entry] {
            currentControl = control.get();
            body();
            currentControl = nullptr;
            {
                std::lock_guard lock(done->mutex);
                done->finished = true;
                done->cv.notify_all();
            }
            Unregister(entry);
        });
    handle->id_ = handle->thread_.get_id();
    return handle;
}

ControlledThread::~ControlledThread() {
    if (!thread_.joinable()) return;
    if (id_ != std::this_thread::get_id() && Finished()) {
        thread_.join();
    } else {
        thread_.detach();
    }
}

bool ControlledThread::Finished() const {
    std::lock_guard lock(done_->mutex);
    return done_->finished;
}

bool ControlledThread::Join(std::chrono::milliseconds timeout) {
    if (id_ == std::this_thread::get_id()) return false;
    {
        std::unique_lock lock(done_->mutex);
        auto finished = [&] { return done_->finished; };
        if (timeout == std::chrono::milliseconds::max()) {
            done_->cv.wait(lock, finished);
        } else if (!done_->cv.wait_for(lock, timeout, finished)) {
            return false;
        }
    }
    std::lock_guard lock(joinMutex_);
    if (thread_.joinable()) thread_.join();
    return true;
}

}  // namespace tarvolin::platform
