#include "auxiliary/FileReplace.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>

namespace tarvolin {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string UniqueSibling(const std::string& path) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    return path + ".new-" + std::to_string(random());
}

bool WriteNew(const std::string& path, std::string_view bytes) {
    File file(std::fopen(path.c_str(), "wbx"));  // "x": never an existing file or link
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    return std::fclose(file.release()) == 0 && written;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
    const std::string fresh = UniqueSibling(path);
    std::error_code error;
    if (WriteNew(fresh, bytes)) {
        std::filesystem::rename(fresh, path, error);
        if (!error) return true;
    }
    std::filesystem::remove(fresh, error);
    return false;
}

}  // namespace tarvolin
