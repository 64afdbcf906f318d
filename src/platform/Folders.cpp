#include "platform/Folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string_view>
#include <vector>

namespace tarvolin::platform {
namespace {

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : fallback;
}

std::string HomeFolder() {
    std::string home = EnvOr("HOME", "");
    while (home.size() > 1 && home.back() == '/')
        home.pop_back();
    return home;
}

std::string WithOneTrailingSlash(std::string path) {
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    return path + '/';
}

// Value of XDG_DESKTOP_DIR in user-dirs.dirs: a shell assignment "XDG_DESKTOP_DIR="$HOME/Desktop"".
std::string DesktopFromUserDirs(const std::string& home) {
    const std::string config = EnvOr("XDG_CONFIG_HOME", home.empty() ? "" : home + "/.config");
    if (config.empty()) return {};
    std::ifstream file(config + "/user-dirs.dirs");
    std::string line;
    constexpr std::string_view key = "XDG_DESKTOP_DIR=";
    while (std::getline(file, line)) {
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
        std::string value = line.substr(start + key.size());
        while (!value.empty() && (value.back() == '\r' || value.back() == ' '))
            value.pop_back();
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
        // A desktop set to the home folder itself means the user has no separate desktop.
        if (value.empty() || value.front() != '/' ||
            WithOneTrailingSlash(value) == WithOneTrailingSlash(home))
            return {};
        return value;
    }
    return {};
}

}  // namespace

std::string RunDirectory() {
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return {};
        if (static_cast<size_t>(length) < buffer.size()) {
            std::string path(buffer.data(), static_cast<size_t>(length));
            const size_t slash = path.rfind('/');
            if (slash == std::string::npos) return {};
            return slash == 0 ? std::string("/") : path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string DesktopFolder() {
    const std::string home = HomeFolder();
    const std::string fromSetting = DesktopFromUserDirs(home);
    if (!fromSetting.empty() && PathIsDirectory(fromSetting)) return WithOneTrailingSlash(fromSetting);
    if (!home.empty() && PathIsDirectory(home + "/Desktop")) return home + "/Desktop/";
    return {};
}

std::string TempFolder() {
    return WithOneTrailingSlash(EnvOr("TMPDIR", "/tmp"));
}

bool PathIsDirectory(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool MakeSureDirectoryPathExists(const std::string& path) {
    const size_t last = path.rfind('/');
    if (last == std::string::npos) return true;  // nothing but a file name: the current folder
    for (size_t slash = path.find('/', 1); slash != std::string::npos && slash <= last;
         slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (folder.empty() || folder.back() == '/') continue;  // doubled separators
        if (mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) return false;
        if (!PathIsDirectory(folder)) return false;
    }
    return true;
}

}  // namespace tarvolin::platform
