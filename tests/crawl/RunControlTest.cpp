#include <chrono>
#include <thread>

#include "RunFixture.h"

namespace tarvolin::testing {
namespace {

using namespace std::chrono_literals;
using RunControlTest = RunFixture;

std::vector<WorkerHandle> ListedWorkers() {
    return RunState::Instance().WorkersSnapshot();
}

// Pause holds the workers wherever they are, also inside a transfer whose answer then arrives; it
// takes as many Continues as there were Pauses to let them go on.
TEST_F(RunControlTest, PauseHoldsUntilEveryPauseIsContinued) {
    struct Case {
        const char* name;
        int pauses;
        int continuesBeforeRelease;
    } cases[] = {{"pause during a stalled transfer", 1, 0}, {"pause twice, continue once", 2, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingControls window;
        const std::string keyword = std::string("暂停") + std::to_string(c.pauses) + "@total=5";
        const int detailsBefore = site.DetailRequests();
        site.HoldDetail(detailsBefore + 2);  // the second company's transfer stalls
        window.SetKeyword(U(keyword));
        StartSearch(window);
        ASSERT_TRUE(site.WaitForHeld());
        ASSERT_EQ(RunState::Instance().WorkerCount(), 5);

        for (int i = 0; i < c.pauses; ++i)
            PauseWorkers(window);
        EXPECT_EQ(window.Panel(0), "状态：暂停中");
        for (int i = 0; i < c.continuesBeforeRelease; ++i)
            ResumeWorkers(window);
        for (const WorkerHandle& worker : ListedWorkers()) {
            EXPECT_EQ(worker->Control().Suspensions(), c.pauses - c.continuesBeforeRelease);
        }
        site.Release();

        // Held: the stalled answer has arrived, yet no row is added and no further page fetched.
        std::this_thread::sleep_for(400ms);
        EXPECT_EQ(window.RowCount(), 1);
        EXPECT_EQ(site.DetailRequests(), detailsBefore + 2);
        EXPECT_TRUE(SearchUnderWay());
        EXPECT_EQ(window.ClockPeriod(), 1000);

        for (int i = c.continuesBeforeRelease; i < c.pauses; ++i)
            ResumeWorkers(window);
        EXPECT_EQ(window.Panel(0), "状态：恢复中");
        ASSERT_TRUE(WaitUntil(RunEnded));
        EXPECT_EQ(window.RowCount(), 5);
        EXPECT_EQ(window.Panel(0), "状态：运行完毕！");
        EXPECT_EQ(site.DetailRequests(), detailsBefore + 5);
    }
}

TEST_F(RunControlTest, PauseAndContinueWithoutWorkersDoNothing) {
    PauseWorkers(controls);
    ResumeWorkers(controls);
    EXPECT_TRUE(controls.PanelHistory(0).empty());
}

// Stop ends the search thread and every worker at once, the stalled transfer included; the next
// Start runs normally.
TEST_F(RunControlTest, StopMidPageThenStartAgain) {
    site.HoldDetail(3);
    controls.SetKeyword(U("停止@total=10"));
    StartSearch(controls);
    ASSERT_TRUE(site.WaitForHeld());
    const std::vector<WorkerHandle> workers = ListedWorkers();
    const WorkerHandle search = SearchThread();
    ASSERT_EQ(workers.size(), 10u);

    StopSearch(controls);
    EXPECT_EQ(RunState::Instance().WorkerCount(), 0);
    EXPECT_EQ(RunState::Instance().DetailUrlCount(), 0);
    EXPECT_EQ(controls.Panel(0), "状态：结束中");
    EXPECT_FALSE(SearchUnderWay());

    // Every thread of the run ends although the server still holds the third answer.
    EXPECT_TRUE(WaitUntil(
        [&] {
            for (const WorkerHandle& worker : workers) {
                if (!worker->Finished()) return false;
            }
            return search->Finished();
        },
        5s));
    EXPECT_EQ(site.DetailRequests(), 3);
    EXPECT_EQ(controls.RowCount(), 2);
    EXPECT_EQ(controls.ClockPeriod(), 1000);
    EXPECT_TRUE(controls.BoxTexts().empty());
    EXPECT_EQ(controls.Panel(0), "状态：结束中");
    site.Release();

    StartAndFinish("再来@total=3");
    EXPECT_EQ(controls.RowCount(), 5);
    EXPECT_EQ(controls.Panel(0), "状态：运行完毕！");
    EXPECT_EQ(controls.BoxTexts().back(), "搜索完毕！共搜索到：【5 】条数据！！");
    EXPECT_EQ(RunState::Instance().pendingWorkers, 0);
    EXPECT_EQ(site.DetailRequests(), 6);
}

// A stop also ends the wait that follows a batch export.
TEST_F(RunControlTest, StopEndsTheWaitAfterABatchExport) {
    std::atomic<bool> exported{false};
    SetBatchExportHook([&exported](Controls&, int) {
        RunState::Instance().exportOutcome = 0;  // an export that never reports
        exported = true;
    });
    site.OverrideSearch([](const TestSite::SearchRequest&, int) {
        return std::optional<std::string>(ResultPageWith(3, "0", {}));
    });
    controls.AddRow({U("row")});
    controls.SetAutoExportItem(U("1"));
    controls.SetKeyword(U("等待"));
    StartSearch(controls);
    ASSERT_TRUE(WaitUntil([&] { return exported.load(); }));
    const WorkerHandle search = SearchThread();

    StopSearch(controls);
    EXPECT_TRUE(WaitUntil([&] { return search->Finished(); }, 5s));
    EXPECT_EQ(site.Searches().size(), 3u);  // no second page
    EXPECT_TRUE(controls.BoxTexts().empty());
    EXPECT_EQ(controls.ClockPeriod(), 1000);
}

}  // namespace
}  // namespace tarvolin::testing
