#pragma once

#include <memory>
#include <string>

namespace tarvolin::platform {

// A mutex shared by every process of the same user that opens the same name: a lock file in the
// user's runtime folder, taken with flock. The kernel drops a dead holder's lock, so the next
// waiter gets it, as with an abandoned mutex. Threads of one process also exclude each other: each
// wait opens its own descriptor, and a process-local hand-off lets a waiting thread of the same
// process take over as soon as the holder releases.
class NamedMutex {
public:
    // The mutex of that name (UTF-8), created when it does not exist yet. Never null: when the lock
    // file cannot be made, the mutex still excludes the threads of this process.
    static std::shared_ptr<NamedMutex> Open(const std::string& name);
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    class Holding;
    // Waits without a time-out. The wait is a safe point of a controlled thread: it holds while the
    // thread is suspended and gives up, empty-handed, once a stop is requested.
    Holding Acquire();

    const std::string& LockFilePath() const { return path_; }

private:
    struct Local;
    static std::shared_ptr<Local> LocalFor(const std::string& path);
    explicit NamedMutex(std::string path);
    std::string path_;
    std::shared_ptr<Local> local_;
};

// Ownership of a NamedMutex, released when destroyed.
class NamedMutex::Holding {
public:
    Holding() = default;
    ~Holding();
    Holding(Holding&& other) noexcept;
    Holding& operator=(Holding&& other) noexcept;

    bool Owns() const { return local_ != nullptr; }
    explicit operator bool() const { return Owns(); }
    void Release();

private:
    friend class NamedMutex;
    Holding(std::shared_ptr<Local> local, int fd) : local_(std::move(local)), fd_(fd) {}
    std::shared_ptr<Local> local_;
    int fd_ = -1;
};

// The folder the lock files live in: $XDG_RUNTIME_DIR when usable, otherwise /tmp/tarvolin-<uid>.
std::string LockFolder();

}  // namespace tarvolin::platform
