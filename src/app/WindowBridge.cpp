#include "app/WindowBridge.h"

#include <QThread>

namespace tarvolin {

std::shared_ptr<WindowBridge> WindowBridge::Create(QObject* context) {
    return std::shared_ptr<WindowBridge>(new WindowBridge(context));
}

bool WindowBridge::OnWindowThread() const {
    return QThread::currentThread() == windowThread_;
}

bool WindowBridge::Alive() const {
    std::lock_guard lock(mutex_);
    return alive_;
}

void WindowBridge::Shutdown() {
    std::lock_guard lock(mutex_);
    alive_ = false;
    answered_.notify_all();
}

void WindowBridge::Run(std::function<void()> operation) {
    Run<bool>(
        [operation = std::move(operation)] {
            operation();
            return true;
        },
        false);
}

bool WindowBridge::Post(std::function<void()> task) {
    std::lock_guard lock(mutex_);
    if (!alive_) return false;
    // A task still queued when the context object is destroyed is dropped with it.
    return QMetaObject::invokeMethod(context_, std::move(task), Qt::QueuedConnection);
}

}  // namespace tarvolin
