#pragma once

#include <QObject>
#include <QThread>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>

namespace tarvolin {

// Carries calls from any thread to the window thread and lets the caller wait for the result.
// A call made on the window thread runs at once. Once the window is gone (Shutdown), waiting
// callers are released with their fallback value and later calls return it at once, so no
// thread waits for ever on a window that no longer exists.
class WindowBridge : public std::enable_shared_from_this<WindowBridge> {
public:
    // Calls are run in the context object's thread. Shutdown must come before the context
    // object is destroyed.
    static std::shared_ptr<WindowBridge> Create(QObject* context);

    bool OnWindowThread() const;
    bool Alive() const;
    void Shutdown();

    // Runs the operation on the window thread and returns its result; fallback when the window
    // is gone. The operation must own what it uses (capture by value): it may outlive a caller
    // that was released by Shutdown.
    template <class R>
    R Run(std::function<R()> operation, R fallback);
    void Run(std::function<void()> operation);

    // Starts an operation on the window thread that finishes later (a box the user answers).
    // `start` receives `finish`, to be called once with the result, and sets `cancel` to what
    // closes the operation unanswered. The caller waits for the result; it gets the fallback
    // when the window goes, or as soon as a stop is requested on `stop`, and the operation is
    // then cancelled on the window thread.
    template <class R>
    using Finish = std::function<void(R)>;
    template <class R>
    using Start = std::function<void(Finish<R> finish, std::function<void()>& cancel)>;
    template <class R>
    R Await(Start<R> start, R fallback, std::stop_token stop);

private:
    explicit WindowBridge(QObject* context) : context_(context), windowThread_(context->thread()) {}

    template <class R>
    struct Pending {
        std::optional<R> result;
        bool abandoned = false;
        std::function<void()> cancel;  // window thread only
    };

    // Queues the task to the window thread; false when the window is gone.
    bool Post(std::function<void()> task);

    QObject* context_;  // used only while alive_
    QThread* const windowThread_;
    mutable std::mutex mutex_;
    std::condition_variable answered_;
    bool alive_ = true;
};

template <class R>
R WindowBridge::Run(std::function<R()> operation, R fallback) {
    if (OnWindowThread()) return Alive() ? operation() : fallback;
    Start<R> start = [operation = std::move(operation)](Finish<R> finish, std::function<void()>&) {
        finish(operation());
    };
    return Await<R>(std::move(start), std::move(fallback), {});
}

template <class R>
R WindowBridge::Await(Start<R> start, R fallback, std::stop_token stop) {
    auto pending = std::make_shared<Pending<R>>();
    std::weak_ptr<WindowBridge> self = weak_from_this();
    auto finish = [pending, self](R value) {
        if (auto bridge = self.lock()) {
            std::lock_guard lock(bridge->mutex_);
            if (!pending->result) pending->result = std::move(value);
            bridge->answered_.notify_all();
        }
    };
    auto begin = [pending, self, start = std::move(start), finish]() mutable {
        auto bridge = self.lock();
        if (!bridge) return;
        {
            std::lock_guard lock(bridge->mutex_);
            if (pending->abandoned || !bridge->alive_) return;
        }
        start(finish, pending->cancel);
    };
    if (OnWindowThread()) {
        // Waiting here would hold up the very thread that has to finish the operation: only an
        // operation that finishes within `start` gives its result, any other the fallback.
        begin();
        std::lock_guard lock(mutex_);
        return pending->result ? std::move(*pending->result) : std::move(fallback);
    }
    if (stop.stop_requested() || !Post(std::move(begin))) return fallback;
    std::stop_callback onStop(stop, [pending, self] {
        auto bridge = self.lock();
        if (!bridge) return;
        {
            std::lock_guard lock(bridge->mutex_);
            pending->abandoned = true;
            bridge->answered_.notify_all();
        }
        bridge->Post([pending] {
            if (pending->cancel) pending->cancel();
        });
    });
    std::unique_lock lock(mutex_);
    answered_.wait(lock, [&] { return pending->result.has_value() || pending->abandoned || !alive_; });
    return pending->result ? std::move(*pending->result) : std::move(fallback);
}

}  // namespace tarvolin
