#include "web/FetchPage.h"

#include <memory>
#include <mutex>

namespace tarvolin {

namespace {

// A fetch holds its own reference, so destroying the shared session at exit while a background
// thread is still inside FetchPage frees the session only when that fetch returns.
struct Shared {
    std::mutex mutex;
    std::shared_ptr<HttpSession> session;
    // The session holds one exchange at a time. Callers already take turns, but a thread of a
    // stopped run may still be leaving its transfer when a new run's first fetch begins.
    std::mutex exchange;
};

Shared& TheShared() {
    static Shared* shared = new Shared();  // threads still fetching at exit may outlive statics
    return *shared;
}

std::shared_ptr<HttpSession> Current() {
    Shared& shared = TheShared();
    std::lock_guard lock(shared.mutex);
    return shared.session;
}

}  // namespace

void CreateSharedSession() {
    Shared& shared = TheShared();
    std::lock_guard lock(shared.mutex);
    if (!shared.session) shared.session = std::make_shared<HttpSession>();
}

void DestroySharedSession() {
    std::shared_ptr<HttpSession> released;
    {
        Shared& shared = TheShared();
        std::lock_guard lock(shared.mutex);
        released.swap(shared.session);
    }
    // Destroyed here, outside the lock, unless a fetch still holds it.
}

HttpSession* SharedSession() {
    return Current().get();
}

Text FetchPage(const Text& url) {
    const std::shared_ptr<HttpSession> session = Current();
    if (!session) return {};
    std::lock_guard exchange(TheShared().exchange);
    if (!session->Get(url)) return {};
    return session->ReadBodyText(0);
}

}  // namespace tarvolin
