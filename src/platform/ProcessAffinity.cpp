#include "platform/ProcessAffinity.h"

#include <dirent.h>
#include <sched.h>
#include <sys/types.h>

#include <cstdlib>
#include <set>

namespace tarvolin::platform {

namespace {

std::set<pid_t> ThreadIds() {
    std::set<pid_t> ids;
    DIR* tasks = ::opendir("/proc/self/task");
    if (!tasks) return ids;
    while (const dirent* entry = ::readdir(tasks)) {
        const int id = std::atoi(entry->d_name);
        if (id > 0) ids.insert(id);
    }
    ::closedir(tasks);
    return ids;
}

}  // namespace

bool RestrictProcessToFirstProcessor() {
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (::sched_getaffinity(0, sizeof allowed, &allowed) != 0) return false;
    int first = 0;
    while (first < CPU_SETSIZE && !CPU_ISSET(first, &allowed))
        ++first;
    if (first == CPU_SETSIZE) return false;
    cpu_set_t only;
    CPU_ZERO(&only);
    CPU_SET(first, &only);

    // A thread started while we walk the list inherits its creator's old set, so walk again until
    // a pass finds no thread it has not restricted.
    std::set<pid_t> done;
    bool any = false;
    for (bool found = true; found;) {
        found = false;
        for (pid_t id : ThreadIds()) {
            if (!done.insert(id).second) continue;
            found = true;
            if (::sched_setaffinity(id, sizeof only, &only) == 0) any = true;
        }
    }
    return any;
}

int AllowedProcessorCount() {
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (::sched_getaffinity(0, sizeof allowed, &allowed) != 0) return 0;
    return CPU_COUNT(&allowed);
}

}  // namespace tarvolin::platform
