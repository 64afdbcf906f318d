#include "platform/SpreadsheetFile.h"

#include <fcntl.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace tarvolin::platform {
namespace {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A new, empty file beside the target with a name no one else uses; empty on failure.
std::string CreateTemporaryBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const std::string folder = FolderOf(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = folder + ".tarvolin-save-" + std::to_string(getpid()) + "-" +
                                 std::to_string(counter.fetch_add(1)) + ".tmp";
        // 0666 lets the umask decide the mode, as for any file the user saves.
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            close(fd);
            return name;
        }
        if (errno != EEXIST) return {};
    }
    return {};
}

bool FlushToDisk(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool flushed = fsync(fd) == 0;
    close(fd);
    return flushed;
}

bool WriteWorkbook(const CellGrid& cells, const std::string& sheetName, const std::string& path) {
    // Cells come out of the grid in row order, which is all that constant-memory mode needs; it
    // keeps the library from holding a second copy of every text.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(path.c_str(), &options);
    if (!workbook) return false;
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, sheetName.c_str());
    bool written = sheet != nullptr;
    if (written) {
        cells.ForEach([&](int row, int column, const std::string& text) {
            if (worksheet_write_string(sheet, static_cast<lxw_row_t>(row - 1),
                                       static_cast<lxw_col_t>(column - 1), text.c_str(),
                                       nullptr) != LXW_NO_ERROR)
                written = false;
        });
    }
    // Closing frees the workbook whether or not it could be written.
    const bool closed = workbook_close(workbook) == LXW_NO_ERROR;
    return written && closed;
}

}  // namespace

bool WriteXlsxFile(const CellGrid& cells, const std::string& sheetName, const std::string& path) {
    if (path.empty() || path.back() == '/') return false;
    const std::string temporary = CreateTemporaryBeside(path);
    if (temporary.empty()) return false;
    if (WriteWorkbook(cells, sheetName, temporary) && FlushToDisk(temporary) &&
        std::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    std::remove(temporary.c_str());
    return false;
}

}  // namespace tarvolin::platform
