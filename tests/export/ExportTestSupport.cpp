#include "ExportTestSupport.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>

#include "export/ExportClock.h"
#include "platform/Folders.h"
#include "platform/Spreadsheet.h"
#include "shell/RunState.h"

namespace tarvolin::test {

ScratchFolder::ScratchFolder() {
    std::string pattern = platform::TempFolder() + "tarvolin-export-XXXXXX";
    if (mkdtemp(pattern.data())) path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> ScratchFolder::Entries() const {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(path_, ignored))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool FileExists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

void HookedControls::PumpMessages() {
    MemoryControls::PumpMessages();
    ++pumps_;
    if (onPump) onPump(pumps_);
}

std::vector<Text> Row(const std::vector<std::string>& utf8) {
    std::vector<Text> cells;
    for (const auto& cell : utf8)
        cells.push_back(Utf8Text(cell));
    cells.resize(7);
    return cells;
}

void AddNumberedRows(MemoryControls& controls, int from, int to) {
    for (int r = from; r < to; ++r) {
        std::vector<std::string> cells;
        for (int c = 0; c < 7; ++c)
            cells.push_back("r" + std::to_string(r) + "c" + std::to_string(c));
        controls.AddRow(Row(cells));
    }
}

void ExportTest::SetUp() {
    RunState::Instance().exportOutcome = 0;
    RunState::Instance().batchExportOffset = 0;
    platform::SetSpreadsheetAvailable(true);
    SetClock(9, 7, 3);
}

void ExportTest::TearDown() {
    SetExportClock({});
    platform::SetSpreadsheetAvailable(true);
}

std::tm Moment(int hour, int minute, int second) {
    std::tm moment{};
    moment.tm_year = 2015 - 1900;
    moment.tm_mon = 2;
    moment.tm_mday = 2;
    moment.tm_hour = hour;
    moment.tm_min = minute;
    moment.tm_sec = second;
    return moment;
}

void ExportTest::SetClock(int hour, int minute, int second) {
    SetExportClock([=] { return Moment(hour, minute, second); });
}

std::map<std::string, std::string> TextCells(const std::string& path) {
    const XlsxContent content = ReadXlsx(path);
    EXPECT_TRUE(content.read) << "not a readable workbook: " << path;
    std::map<std::string, std::string> cells;
    for (const auto& [coordinate, cell] : content.cells) {
        EXPECT_TRUE(cell.kind == "s" || cell.kind == "inlineStr")
            << coordinate << " is of kind " << cell.kind;
        cells[coordinate] = cell.value;
    }
    return cells;
}

}  // namespace tarvolin::test
