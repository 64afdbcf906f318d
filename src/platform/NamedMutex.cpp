#include "platform/NamedMutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <map>
#include <mutex>
#include <utility>

#include "platform/ThreadControl.h"

namespace tarvolin::platform {

namespace {

constexpr auto kPollPeriod = std::chrono::milliseconds(10);

bool IsOwnFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid();
}

std::string HexName(const std::string& name) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : name) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

}  // namespace

// The process-local side: one per lock file, so that all Open calls of a name share it.
struct NamedMutex::Local {
    std::mutex mutex;
    std::condition_variable wake;
    bool held = false;
};

std::shared_ptr<NamedMutex::Local> NamedMutex::LocalFor(const std::string& path) {
    static std::mutex registryMutex;
    static auto* registry = new std::map<std::string, std::weak_ptr<NamedMutex::Local>>();
    std::lock_guard lock(registryMutex);
    std::shared_ptr<NamedMutex::Local> local = (*registry)[path].lock();
    if (!local) {
        local = std::make_shared<NamedMutex::Local>();
        (*registry)[path] = local;
    }
    return local;
}

std::string LockFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime && IsOwnFolder(runtime)) return runtime;
    const std::string folder = "/tmp/tarvolin-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    return folder;
}

NamedMutex::NamedMutex(std::string path) : path_(std::move(path)), local_(LocalFor(path_)) {}

NamedMutex::~NamedMutex() = default;

std::shared_ptr<NamedMutex> NamedMutex::Open(const std::string& name) {
    const std::string path = LockFolder() + "/tarvolin-mutex-" + HexName(name) + ".lock";
    return std::shared_ptr<NamedMutex>(new NamedMutex(path));
}

NamedMutex::Holding NamedMutex::Acquire() {
    // First among the threads of this process.
    // A suspended thread holds before it tries, so it never takes the mutex while suspended.
    for (;;) {
        if (!Checkpoint()) return {};
        std::unique_lock lock(local_->mutex);
        if (!local_->held) {
            local_->held = true;
            break;
        }
        local_->wake.wait_for(lock, kPollPeriod);
    }
    Holding holding(local_, -1);

    // Then among the processes of this user.
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return holding;  // no lock file: this process's exclusion still holds
    holding.fd_ = fd;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) return holding;
        if (!InterruptibleSleep(kPollPeriod)) return {};
    }
    return holding;
}

NamedMutex::Holding::~Holding() {
    Release();
}

NamedMutex::Holding::Holding(Holding&& other) noexcept
    : local_(std::move(other.local_)), fd_(std::exchange(other.fd_, -1)) {}

NamedMutex::Holding& NamedMutex::Holding::operator=(Holding&& other) noexcept {
    if (this != &other) {
        Release();
        local_ = std::move(other.local_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

void NamedMutex::Holding::Release() {
    if (fd_ >= 0) {
        ::close(fd_);  // drops the flock
        fd_ = -1;
    }
    if (!local_) return;
    {
        std::lock_guard lock(local_->mutex);
        local_->held = false;
    }
    local_->wake.notify_one();
    local_.reset();
}

}  // namespace tarvolin::platform
