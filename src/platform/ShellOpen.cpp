#include "platform/ShellOpen.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <mutex>
#include <thread>

extern char** environ;

namespace tarvolin::platform {
namespace {

std::mutex& OpenerMutex() {
    static std::mutex mutex;
    return mutex;
}

std::function<bool(const std::string&)>& Opener() {
    static std::function<bool(const std::string&)> opener;
    return opener;
}

// Runs xdg-open without waiting for it; a helper thread reaps the child so no zombie stays.
bool SpawnXdgOpen(const std::string& target) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    std::string program = "xdg-open";
    std::string argument = target;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t child = 0;
    const int failed = posix_spawnp(&child, "xdg-open", &actions, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) return false;
    std::thread([child] { waitpid(child, nullptr, 0); }).detach();
    return true;
}

}  // namespace

bool ShellOpen(const std::string& target) {
    std::function<bool(const std::string&)> opener;
    {
        std::lock_guard lock(OpenerMutex());
        opener = Opener();
    }
    return opener ? opener(target) : SpawnXdgOpen(target);
}

void SetShellOpener(std::function<bool(const std::string&)> opener) {
    std::lock_guard lock(OpenerMutex());
    Opener() = std::move(opener);
}

}  // namespace tarvolin::platform
