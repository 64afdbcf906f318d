#include "WindowFixture.h"

namespace tarvolin::testing {
namespace {

using ClosingTest = WindowTest;

struct CloseCase {
    int listedWorkers;
    bool stopsAndWelcomes;
};

// Closing always closes; with more than one listed worker it first starts Stop and says goodbye.
TEST_F(ClosingTest, ClosingWithZeroOneAndTwoListedWorkers) {
    const CloseCase cases[] = {{0, false}, {1, false}, {2, true}};
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.listedWorkers);
        ResetRunState();
        MessageBoxes::ClearLog();
        std::atomic<int> stops{0};
        int detaches = 0;
        WindowActions actions;
        actions.stop = [&](Controls&) {
            ++stops;
            for (const WorkerHandle& worker : RunState::Instance().TakeLists())
                worker->Control().RequestStop();
        };
        actions.detachSkin = [&] { ++detaches; };
        Open(actions).show();
        const std::vector<WorkerHandle> workers = ListWaitingWorkers(c.listedWorkers);
        if (c.stopsAndWelcomes) MessageBoxes::SetNextAnswer(BoxAnswer::Ok);

        EXPECT_TRUE(window->close());
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(detaches, 1);
        const auto log = MessageBoxes::Log();
        if (c.stopsAndWelcomes) {
            ASSERT_EQ(log.size(), 1u);
            EXPECT_EQ(log[0].text, QStringLiteral("欢迎使用！"));
            EXPECT_EQ(log[0].buttons, BoxButtons::Ok);
            EXPECT_EQ(log[0].icon, BoxIcon::None);
            for (const WorkerHandle& worker : workers)
                EXPECT_TRUE(worker->Join(std::chrono::seconds(5)));
            EXPECT_EQ(stops, 1);
        } else {
            EXPECT_TRUE(log.empty());
            ASSERT_TRUE(QTest::qWaitFor([] { return DetachedThreads::Running() == 0; }, 5000));
            EXPECT_EQ(stops, 0);
            for (const WorkerHandle& worker : workers)
                EXPECT_FALSE(worker->Finished());
        }
        for (const WorkerHandle& worker : workers)
            worker->Control().RequestStop();
        ASSERT_TRUE(QTest::qWaitFor([] { return DetachedThreads::Running() == 0; }, 5000));
        window.reset();
    }
}

TEST_F(ClosingTest, AfterClosingBackgroundCallsReturnAtOnceWithEmptyValues) {
    Open().show();
    window->SetCell(window->AppendRow(), 0, "公司"_t);
    window->close();
    std::atomic<bool> done{false};
    int rows = -5, appended = -5;
    Text cell, caption;
    BoxAnswer answer = BoxAnswer::Yes;
    std::thread caller([&] {
        rows = window->RowCount();
        appended = window->AppendRow();
        cell = window->CellText(0, 0);
        caption = window->Caption();
        window->SetPanelText(0, "x"_t);
        answer = window->ShowMessage({"问"_t, {}, BoxButtons::YesNo, BoxIcon::Question, false});
        done = true;
    });
    // Not served by the event loop: the calls must not wait for it.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    caller.join();
    EXPECT_TRUE(done);
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(appended, -1);
    EXPECT_TRUE(cell.empty());
    EXPECT_TRUE(caption.empty());
    EXPECT_EQ(answer, BoxAnswer::No);
    EXPECT_TRUE(MessageBoxes::Log().empty()) << "no box is shown for a window that is gone";
}

}  // namespace
}  // namespace tarvolin::testing
