#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ExportTestSupport.h"
#include "SiteContent.h"
#include "SiteServer.h"
#include "XlsxReader.h"
#include "crawl/BatchExportHook.h"
#include "crawl/RunControl.h"
#include "crawl/StartSearch.h"
#include "export/BatchExport.h"
#include "export/ExportClock.h"
#include "platform/Folders.h"
#include "platform/Spreadsheet.h"
#include "shell/MemoryControls.h"
#include "shell/RunState.h"
#include "web/FetchPage.h"

namespace tarvolin {
namespace {

using Cells = std::map<std::string, std::string>;

const char* const kHeaders[] = {"公司名", "联系人", "电话", "手机", "传真", "邮件", "地址"};
constexpr int kColumns = 7;
constexpr int kRowsPerBatch = 25;
constexpr const char* kKeyword = "灯具@pages=3";
// The batch files carry this time; no other test stamps its files with it.
constexpr int kHour = 22, kMinute = 48, kSecond = 31;
constexpr const char* kStamp = "22时48分31";

bool WaitUntil(const std::function<bool()>& done, std::chrono::seconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

bool RunEnded() {
    const WorkerHandle search = RunState::Instance().searchThread;
    return !SearchUnderWay() && (!search || search->Finished());
}

std::string BatchFile(int number) {
    return platform::RunDirectory() + "/导出表格/第" + std::to_string(number) + "次数据导出  " + kStamp +
           "秒.xlsx";
}

std::string Column(int column) {
    return std::string(1, static_cast<char>('A' + column));
}

// The text cells of a workbook's first sheet, read back by an independent reader.
Cells TextCells(const std::string& path) {
    const test::XlsxContent content = test::ReadXlsx(path);
    EXPECT_TRUE(content.read) << "not a readable workbook: " << path;
    Cells cells;
    for (const auto& [coordinate, cell] : content.cells) {
        EXPECT_TRUE(cell.kind == "s" || cell.kind == "inlineStr")
            << coordinate << " is of kind " << cell.kind;
        cells[coordinate] = cell.value;
    }
    return cells;
}

// What the run's hook saw as each batch export began.
struct BatchCall {
    int offset = 0;    // batchExportOffset
    int rowCount = 0;  // rows in the list
    int n = 0;
};

// A whole search run against the bundled site on 127.0.0.1:0 with the window in memory. The
// process-wide state the run and the exports use is reset before and after, and the batch files
// the run writes are removed again.
class AutoExportRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(site_.Start(0));
        if (const char* previous = std::getenv("TARVOLIN_SITE")) previousSite_ = previous;
        ::setenv("TARVOLIN_SITE", site_.Address().c_str(), 1);
        CreateSharedSession();
        ResetRunState();
        platform::SetSpreadsheetAvailable(true);
        SetExportClock([] { return test::Moment(kHour, kMinute, kSecond); });
        SetBatchExportHook([this](Controls& window, int n) {
            {
                std::lock_guard lock(callsMutex_);
                calls_.push_back({RunState::Instance().batchExportOffset, window.RowCount(), n});
            }
            BatchExport(window, n);
        });
        folderExisted_ = std::filesystem::exists(ExportFolder());
        RemoveBatchFiles();
    }

    void TearDown() override {
        // Leave no run behind, whatever the test's outcome.
        EndRunForExit();
        EXPECT_TRUE(WaitUntil(RunEnded, std::chrono::seconds(30)));
        SetBatchExportHook(nullptr);
        SetExportClock({});
        DestroySharedSession();
        site_.Stop();
        if (previousSite_)
            ::setenv("TARVOLIN_SITE", previousSite_->c_str(), 1);
        else
            ::unsetenv("TARVOLIN_SITE");
        RemoveBatchFiles();
        std::error_code ignored;
        if (!folderExisted_) std::filesystem::remove(ExportFolder(), ignored);  // only when empty
        ResetRunState();
    }

    std::vector<BatchCall> Calls() {
        std::lock_guard lock(callsMutex_);
        return calls_;
    }

    MemoryControls controls;

private:
    static std::string ExportFolder() { return platform::RunDirectory() + "/导出表格"; }
    static void ResetRunState() {
        RunState::Instance().batchExportOffset = 0;
        RunState::Instance().exportOutcome = 0;
    }
    static void RemoveBatchFiles() {
        std::error_code ignored;
        for (int number = 1; number <= 4; ++number)
            std::filesystem::remove(BatchFile(number), ignored);
    }

    demosite::SiteServer site_;
    std::optional<std::string> previousSite_;
    bool folderExisted_ = false;
    std::mutex callsMutex_;
    std::vector<BatchCall> calls_;
};

// Headers, then list rows offset … offset + 24 from sheet row 2 on, taken from the list as it
// ends. A batch sees only the rows listed when it runs: a page whose detail pages lack a block
// lists fewer than 25 companies, so the sheet rows past the list's end then stay empty (the list
// fills those rows later, from the next page). Empty fields stay empty cells too.
Cells ExpectedBatch(const std::vector<std::vector<Text>>& rows, const BatchCall& call) {
    Cells cells;
    for (int c = 0; c < kColumns; ++c)
        cells[Column(c) + "1"] = kHeaders[c];
    for (int r = call.offset; r < call.offset + kRowsPerBatch && r < call.rowCount; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            const std::string value = TextToUtf8(rows[r][c]);
            if (!value.empty()) cells[Column(c) + std::to_string(r - call.offset + 2)] = value;
        }
    }
    return cells;
}

// The site's companies on pages 1 … lastPage that the run lists (a detail page that lacks a block
// gives no row), sorted.
std::vector<std::vector<std::string>> SiteRows(const demosite::Catalogue& catalogue, int lastPage) {
    std::vector<std::vector<std::string>> rows;
    const int end = std::min(catalogue.total, demosite::Catalogue::FirstOnPage(lastPage + 1));
    for (int n = 0; n < end; ++n) {
        if (auto fields = demosite::ExpectedCompany(kKeyword, n))
            rows.emplace_back(fields->begin(), fields->end());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<std::vector<std::string>> SortedUtf8(const std::vector<std::vector<Text>>& rows) {
    std::vector<std::vector<std::string>> sorted;
    for (const std::vector<Text>& row : rows) {
        std::vector<std::string> cells;
        for (const Text& cell : row)
            cells.push_back(TextToUtf8(cell));
        sorted.push_back(std::move(cells));
    }
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

TEST_F(AutoExportRunTest, EveryPageWritesTheNextTwentyFiveRows) {
    const demosite::Catalogue catalogue = demosite::CatalogueFor(kKeyword, {});
    ASSERT_EQ(catalogue.pages, 3);
    ASSERT_LT(catalogue.total, 3 * kRowsPerBatch);  // the last page is short: the third file has gaps

    controls.SetKeyword(Utf8Text(kKeyword));
    controls.SetAutoExportItem(Utf8Text("1"));
    StartSearch(controls);
    ASSERT_TRUE(WaitUntil(RunEnded, std::chrono::seconds(120))) << "the run did not end";

    const std::vector<std::vector<Text>> rows = controls.Rows();
    ASSERT_EQ(SortedUtf8(rows), SiteRows(catalogue, catalogue.pages));
    const std::vector<MessageBoxSpec> boxes = controls.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(TextToUtf8(boxes[0].text),
              "搜索完毕！共搜索到：【" + std::to_string(rows.size()) + " 】条数据！！");

    // One batch after each page, each starting where the last one stopped.
    const std::vector<BatchCall> calls = Calls();
    ASSERT_EQ(calls.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE("batch " + std::to_string(k + 1));
        EXPECT_EQ(calls[k].n, 1);
        EXPECT_EQ(calls[k].offset, k * kRowsPerBatch);
        // The page's workers have all finished: the list holds every company of the pages so far.
        ASSERT_EQ(calls[k].rowCount, static_cast<int>(SiteRows(catalogue, k + 1).size()));
        EXPECT_EQ(TextCells(BatchFile(k + 1)), ExpectedBatch(rows, calls[k]));
    }
    EXPECT_FALSE(std::filesystem::exists(BatchFile(4)));
    EXPECT_EQ(RunState::Instance().exportOutcome, 3);
    EXPECT_EQ(RunState::Instance().batchExportOffset, 0);  // a run that ends normally starts the next afresh
}

}  // namespace
}  // namespace tarvolin
