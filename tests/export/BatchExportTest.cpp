#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "ExportTestSupport.h"
#include "export/BatchExport.h"
#include "export/ExportClock.h"
#include "export/ExportTurn.h"
#include "export/ManualExports.h"
#include "platform/Folders.h"
#include "platform/Spreadsheet.h"
#include "platform/ThreadControl.h"
#include "shell/RunState.h"

namespace tarvolin {
namespace {

using test::AddNumberedRows;
using test::ExportTest;
using test::FileExists;
using test::HookedControls;
using test::ScratchFolder;
using test::TextCells;

using Cells = std::map<std::string, std::string>;

const char* const kHeaders[] = {"公司名", "联系人", "电话", "手机", "传真", "邮件", "地址"};

// Batch files land in the export folder beside the test program. Each test stamps its files with
// a time of its own, so tests running side by side never write the same name; the files are
// removed again.
class BatchExportTest : public ExportTest {
protected:
    std::string BatchFile(const std::string& number, const std::string& stamp) {
        const std::string path =
            platform::RunDirectory() + "/导出表格/第" + number + "次数据导出  " + stamp + "秒.xlsx";
        written_.push_back(path);
        std::filesystem::remove(path);
        return path;
    }
    void TearDown() override {
        for (const auto& path : written_)
            std::filesystem::remove(path);
        ExportTest::TearDown();
    }

private:
    std::vector<std::string> written_;
};

// Headers and list rows first..last (numbered rows) from sheet row 2 on.
Cells WindowCells(int first, int last) {
    Cells cells;
    for (int c = 0; c < 7; ++c)
        cells[std::string(1, static_cast<char>('A' + c)) + "1"] = kHeaders[c];
    for (int r = first; r <= last; ++r)
        for (int c = 0; c < 7; ++c)
            cells[std::string(1, static_cast<char>('A' + c)) + std::to_string(r - first + 2)] =
                "r" + std::to_string(r) + "c" + std::to_string(c);
    return cells;
}

std::string Panel(MemoryControls& controls, int panel) {
    return TextToUtf8(controls.PanelText(panel));
}

// Waits until a batch export waits for its turn; false if none does within a long while.
bool BatchExportWaits() {
    for (int i = 0; i < 1000 && ExportTurn::WaitingBatchExports() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return ExportTurn::WaitingBatchExports() > 0;
}

TEST_F(BatchExportTest, ConsecutiveBatchesCoverConsecutiveWindows) {
    RunState& state = RunState::Instance();
    MemoryControls controls;
    AddNumberedRows(controls, 0, 30);
    SetClock(10, 1, 5);
    const std::string first = BatchFile("1", "10时1分5");
    BatchExport(controls, 1);
    EXPECT_EQ(TextCells(first), WindowCells(0, 24));
    EXPECT_EQ(state.batchExportOffset, 25);
    EXPECT_EQ(state.exportOutcome, 3);
    EXPECT_EQ(Panel(controls, 0), "状态：成功！！");
    EXPECT_EQ(Panel(controls, 3), "数据导出成功！！");
    // After opening, after the headers, after each of the 25 rows, after the check, after the save.
    EXPECT_EQ(controls.PumpCount(), 29);
    EXPECT_TRUE(controls.Boxes().empty());
    EXPECT_TRUE(controls.Dialogs().empty());

    // The window runs past the 40 rows: its last ten sheet rows stay empty.
    AddNumberedRows(controls, 30, 40);
    SetClock(10, 1, 6);
    const std::string second = BatchFile("2", "10时1分6");
    BatchExport(controls, 1);
    EXPECT_EQ(TextCells(second), WindowCells(25, 39));
    EXPECT_EQ(state.batchExportOffset, 50);
    EXPECT_EQ(TextCells(first), WindowCells(0, 24));
}

TEST_F(BatchExportTest, ChangedIntervalGivesAFractionalNumber) {
    RunState& state = RunState::Instance();
    MemoryControls controls;
    AddNumberedRows(controls, 0, 80);
    SetClock(10, 2, 7);
    BatchFile("1", "10时2分7");
    BatchExport(controls, 1);
    SetClock(10, 2, 0);
    const std::string second = BatchFile("1.5", "10时2分0");
    BatchExport(controls, 2);
    EXPECT_EQ(TextCells(second), WindowCells(25, 74));
    EXPECT_EQ(state.batchExportOffset, 75);
    EXPECT_EQ(state.exportOutcome, 3);
}

TEST_F(BatchExportTest, EmptyListShowsTheMessageAndCountsAsFailed) {
    RunState& state = RunState::Instance();
    state.batchExportOffset = 25;
    MemoryControls controls;
    SetClock(10, 3, 9);
    const std::string would = BatchFile("2", "10时3分9");
    BatchExport(controls, 1);
    ASSERT_EQ(controls.Boxes().size(), 1u);
    EXPECT_EQ(TextToUtf8(controls.Boxes()[0].text), "还没进行操作，不能导出！");
    EXPECT_EQ(TextToUtf8(controls.Boxes()[0].title), "信息：");
    EXPECT_EQ(controls.PanelText(0), Text());
    EXPECT_EQ(controls.PanelText(3), Text());
    EXPECT_EQ(controls.PumpCount(), 0);
    EXPECT_EQ(state.batchExportOffset, 25);
    EXPECT_EQ(state.exportOutcome, 2);
    EXPECT_FALSE(FileExists(would));
}

TEST_F(BatchExportTest, WithoutAnApplicationTheWindowStillAdvances) {
    RunState& state = RunState::Instance();
    MemoryControls controls;
    AddNumberedRows(controls, 0, 30);
    platform::SetSpreadsheetAvailable(false);
    SetClock(10, 4, 1);
    const std::string would = BatchFile("1", "10时4分1");
    BatchExport(controls, 1);
    EXPECT_EQ(Panel(controls, 0), "状态：失败！！");
    EXPECT_EQ(Panel(controls, 3), "数据导出失败！！");
    EXPECT_EQ(state.exportOutcome, 2);
    EXPECT_EQ(state.batchExportOffset, 25);
    EXPECT_FALSE(FileExists(would));
}

TEST_F(BatchExportTest, BatchWaitsForAMenuExportAndMenuExportsWaitForNoOne) {
    ScratchFolder folder;
    HookedControls menuControls;
    AddNumberedRows(menuControls, 0, 3);
    MemoryControls batchControls;
    AddNumberedRows(batchControls, 0, 30);
    SetClock(10, 5, 2);
    const std::string batchFile = BatchFile("1", "10时5分2");
    std::shared_ptr<platform::ControlledThread> batch;
    menuControls.onPump = [&](int pump) {
        if (pump != 1) return;
        batch = platform::ControlledThread::Start([&] { BatchExport(batchControls, 1); });
        ASSERT_TRUE(BatchExportWaits());
        // A batch export waiting for its turn turns other menu exports away.
        menuControls.QueueDialogResult(Utf8Text(folder.File("refused.xlsx")));
        ExportOneColumn(menuControls, 0, "公司名"_t, "公司名  "_t);
        EXPECT_EQ(batchControls.PumpCount(), 0);
    };
    menuControls.QueueDialogResult(Utf8Text(folder.File("menu.xlsx")));
    ExportAllColumns(menuControls);
    ASSERT_TRUE(batch);
    ASSERT_TRUE(batch->Join(std::chrono::seconds(30)));

    EXPECT_EQ(menuControls.Dialogs().size(), 1u);
    EXPECT_EQ(TextCells(folder.File("menu.xlsx")), WindowCells(0, 2));
    EXPECT_FALSE(FileExists(folder.File("refused.xlsx")));
    EXPECT_EQ(TextCells(batchFile), WindowCells(0, 24));
    EXPECT_EQ(RunState::Instance().exportOutcome, 3);
    EXPECT_EQ(Panel(batchControls, 3), "数据导出成功！！");
}

TEST_F(BatchExportTest, StopEndsTheWaitForTheTurn) {
    ScratchFolder folder;
    HookedControls menuControls;
    AddNumberedRows(menuControls, 0, 3);
    MemoryControls batchControls;
    AddNumberedRows(batchControls, 0, 30);
    SetClock(10, 6, 3);
    const std::string would = BatchFile("1", "10时6分3");
    menuControls.onPump = [&](int pump) {
        if (pump != 1) return;
        auto batch = platform::ControlledThread::Start([&] { BatchExport(batchControls, 1); });
        ASSERT_TRUE(BatchExportWaits());
        batch->Control().RequestStop();
        ASSERT_TRUE(batch->Join(std::chrono::seconds(30)));
        EXPECT_EQ(RunState::Instance().exportOutcome, 2);
        EXPECT_EQ(ExportTurn::WaitingBatchExports(), 0);
    };
    menuControls.QueueDialogResult(Utf8Text(folder.File("menu.xlsx")));
    ExportAllColumns(menuControls);
    EXPECT_EQ(TextCells(folder.File("menu.xlsx")), WindowCells(0, 2));
    EXPECT_EQ(RunState::Instance().batchExportOffset, 0);
    EXPECT_EQ(batchControls.PumpCount(), 0);
    EXPECT_EQ(batchControls.PanelText(3), Text());
    EXPECT_FALSE(FileExists(would));
}

TEST_F(BatchExportTest, MenuExportDuringABatchIsRefused) {
    ScratchFolder folder;
    MemoryControls menuControls;
    AddNumberedRows(menuControls, 0, 3);
    HookedControls batchControls;
    AddNumberedRows(batchControls, 0, 30);
    batchControls.onPump = [&](int pump) {
        if (pump != 3) return;
        menuControls.QueueDialogResult(Utf8Text(folder.File("menu.xlsx")));
        ExportAllColumns(menuControls);
    };
    SetClock(10, 7, 4);
    const std::string batchFile = BatchFile("1", "10时7分4");
    BatchExport(batchControls, 1);
    EXPECT_TRUE(menuControls.Dialogs().empty());
    EXPECT_TRUE(folder.Entries().empty());
    EXPECT_EQ(TextCells(batchFile), WindowCells(0, 24));
}

TEST(BatchFilePath, NamesTheBatchByItsNumberAndTime) {
    const std::string folder = platform::RunDirectory() + "/导出表格/";
    test::ExportTest::SetClock(14, 5, 9);
    EXPECT_EQ(BatchFilePath(50, 25), folder + "第2次数据导出  14时5分9秒.xlsx");
    EXPECT_EQ(BatchFilePath(75, 50), folder + "第1.5次数据导出  14时5分9秒.xlsx");
    EXPECT_EQ(BatchFilePath(100, 75), folder + "第1.333333333333次数据导出  14时5分9秒.xlsx");
    SetExportClock({});
}

}  // namespace
}  // namespace tarvolin
