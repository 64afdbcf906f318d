#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>

namespace tarvolin::platform {

// Cooperative stand-in for suspending and ending a thread from outside. The controlled thread
// reaches safe points (Checkpoint, Sleep, transfer callbacks, waits on locks) where it holds while
// suspended and from which it returns early once a stop is requested. Nothing is ever killed.
class ThreadControl {
public:
    // Suspensions are counted: every Suspend adds one, every Resume removes one, and the thread
    // goes on only when none is left. Resume without a suspension changes nothing.
    void Suspend();
    void Resume();
    void RequestStop();

    bool StopRequested() const { return stop_.stop_requested(); }
    bool Suspended() const;
    int Suspensions() const;
    std::stop_token StopToken() const { return stop_.get_token(); }

    // Holds while suspended; false once a stop is requested.
    bool Checkpoint();
    // Sleeps for the period (cut short by a stop), then holds while suspended. False on stop.
    bool Sleep(std::chrono::milliseconds period);

private:
    mutable std::mutex mutex_;
    std::condition_variable_any wake_;
    int suspensions_ = 0;
    std::stop_source stop_;
};

// The control of the calling thread; null on threads not started as ControlledThread.
ThreadControl* CurrentThreadControl();

// Safe point for code that may or may not run on a controlled thread: true to go on.
bool Checkpoint();
bool StopRequested();
// Sleep that a stop cuts short, on any thread; false when it was cut short.
bool InterruptibleSleep(std::chrono::milliseconds period);

// Every controlled thread still running, for the end of the program: asks each to stop, then
// waits until all have finished or the time is up. True when none is left.
bool StopAllControlledThreads(std::chrono::milliseconds timeout);

// A thread with a ThreadControl. The thread is detached when its handle is destroyed while it
// still runs, so dropping a handle never blocks or terminates the process.
class ControlledThread {
public:
    static std::shared_ptr<ControlledThread> Start(std::function<void()> body);
    ~ControlledThread();
    ControlledThread(const ControlledThread&) = delete;
    ControlledThread& operator=(const ControlledThread&) = delete;

    ThreadControl& Control() { return *control_; }
    bool Finished() const;
    // Waits for the body to return; false on time-out. A thread never joins itself.
    bool Join(std::chrono::milliseconds timeout = std::chrono::milliseconds::max());

private:
    ControlledThread() = default;
    struct Done;
    std::shared_ptr<ThreadControl> control_;
    std::shared_ptr<Done> done_;
    std::mutex joinMutex_;
    std::thread thread_;
    std::thread::id id_;
};

}  // namespace tarvolin::platform
