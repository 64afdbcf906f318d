// Runs against the real window, offscreen: the buttons start the crawl's routines as the program
// wires them.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

#include "CrawlTestSupport.h"
#include "SiteContent.h"
#include "TestSite.h"
#include "app/DetachedThreads.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "crawl/RunControl.h"
#include "crawl/StartSearch.h"
#include "web/FetchPage.h"

namespace tarvolin::testing {
namespace {

// Runs the window's event loop until done; unlike QTest::qWaitFor it does not sleep between
// events, so the run's calls into the window are served at once.
bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    QTimer wake;  // makes sure the wait looks at done at least every 10 ms
    wake.start(10);
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

bool RunEnded() {
    const WorkerHandle search = RunState::Instance().searchThread;
    return !SearchUnderWay() && (!search || search->Finished());
}

class WindowRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateSharedSession();
        site.Use();
        MessageBoxes::ClearNextAnswers();
        MessageBoxes::ClearLog();
        WindowActions actions;
        actions.start = StartSearch;
        actions.pause = PauseWorkers;
        actions.resume = ResumeWorkers;
        actions.stop = StopSearch;
        window = std::make_unique<MainWindow>(actions);
        window->show();
    }

    void TearDown() override {
        EndRunForExit();
        site.Release();
        EXPECT_TRUE(WaitFor(RunEnded, 10000));
        EXPECT_TRUE(WaitFor([] { return DetachedThreads::Running() == 0; }, 5000));
        window.reset();
        DestroySharedSession();
    }

    void Click(const char* button) {
        auto* push = window->findChild<QPushButton*>(QString::fromUtf8(button));
        ASSERT_NE(push, nullptr) << button;
        QTest::mouseClick(push, Qt::LeftButton);
    }
    void Start(const std::string& keyword) {
        auto* edit = window->findChild<QLineEdit*>(QStringLiteral("编辑框_搜索内容"));
        ASSERT_NE(edit, nullptr);
        edit->setText(QString::fromStdString(keyword));  // typed text; key clicks cannot carry Chinese
        Click("按钮_开始");
    }
    std::string Panel(int panel) { return window->PanelLabelText(panel).toStdString(); }
    bool WaitForPanel(int panel, const std::string& text) {
        return WaitFor([&] { return Panel(panel) == text; }, 10000);
    }
    bool WaitForHeld() {
        return WaitFor([&] { return site.WaitForHeld(0); }, 10000);
    }
    std::vector<std::vector<std::string>> SortedRows() {
        std::vector<std::vector<std::string>> rows;
        for (int row = 0; row < window->RowCount(); ++row) {
            std::vector<std::string> cells;
            for (int column = 0; column < 7; ++column)
                cells.push_back(TextToUtf8(window->CellText(row, column)));
            rows.push_back(std::move(cells));
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    TestSite site;
    std::unique_ptr<MainWindow> window;
};

TEST_F(WindowRunTest, WholeRunFillsTheListAndReportsTheEnd) {
    const std::string keyword = "灯具@pages=2";
    MessageBoxes::SetNextAnswer(BoxAnswer::Ok);  // the closing message
    Start(keyword);
    ASSERT_TRUE(WaitFor(RunEnded, 20000));

    const demosite::Catalogue catalogue = demosite::CatalogueFor(keyword, {});
    std::vector<std::vector<std::string>> expected;
    for (int n = 0; n < catalogue.total; ++n) {
        if (auto fields = demosite::ExpectedCompany(keyword, n))
            expected.emplace_back(fields->begin(), fields->end());
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(SortedRows(), expected);

    const std::string total = std::to_string(catalogue.total);
    EXPECT_EQ(Panel(0), "状态：运行完毕！");
    EXPECT_EQ(Panel(1), "搜索结果：" + total + "条");
    EXPECT_EQ(Panel(2), "成功获取：" + total + "条");
    EXPECT_EQ(window->ClockPeriod(), 0);
    const auto log = MessageBoxes::Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].text.toStdString(),
              "搜索完毕！共搜索到：【" + std::to_string(expected.size()) + " 】条数据！！");
    EXPECT_EQ(log[0].caption, QStringLiteral("信息："));
}

TEST_F(WindowRunTest, PauseAndContinueButtons) {
    site.HoldDetail(2);
    MessageBoxes::SetNextAnswer(BoxAnswer::Ok);  // the closing message
    Start("按钮@total=6");
    ASSERT_TRUE(WaitForHeld());
    Click("按钮_暂停搜索");
    ASSERT_TRUE(WaitForPanel(0, "状态：暂停中"));
    for (const WorkerHandle& worker : RunState::Instance().WorkersSnapshot()) {
        EXPECT_EQ(worker->Control().Suspensions(), 1);
    }
    site.Release();
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(window->RowCount(), 1);  // held although the stalled answer came
    EXPECT_EQ(site.DetailRequests(), 2);

    Click("按钮_继续搜索");
    ASSERT_TRUE(WaitFor(RunEnded, 10000));
    EXPECT_EQ(window->RowCount(), 6);
    EXPECT_EQ(Panel(0), "状态：运行完毕！");
}

TEST_F(WindowRunTest, StopButtonEndsTheRun) {
    site.HoldDetail(3);
    Start("停止@total=10");
    ASSERT_TRUE(WaitForHeld());
    const std::vector<WorkerHandle> workers = RunState::Instance().WorkersSnapshot();
    Click("按钮_停止搜索");
    ASSERT_TRUE(WaitForPanel(0, "状态：结束中"));
    EXPECT_TRUE(WaitFor(
        [&] {
            return RunEnded() && std::all_of(workers.begin(), workers.end(),
                                             [](const WorkerHandle& w) { return w->Finished(); });
        },
        5000));
    EXPECT_EQ(RunState::Instance().WorkerCount(), 0);
    EXPECT_EQ(window->RowCount(), 2);
    EXPECT_EQ(window->ClockPeriod(), 1000);
    EXPECT_TRUE(MessageBoxes::Log().empty());
}

// Closing the window in the middle of a page stops the run; its threads end although the site
// never answers the transfer in progress.
TEST_F(WindowRunTest, ClosingDuringARunStopsIt) {
    site.HoldDetail(3);
    Start("关闭@total=10");
    ASSERT_TRUE(WaitForHeld());
    const std::vector<WorkerHandle> workers = RunState::Instance().WorkersSnapshot();
    ASSERT_EQ(workers.size(), 10u);
    MessageBoxes::SetNextAnswer(BoxAnswer::Ok);  // "欢迎使用！"
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(WaitFor(
        [&] {
            return RunEnded() && std::all_of(workers.begin(), workers.end(),
                                             [](const WorkerHandle& w) { return w->Finished(); });
        },
        5000));
    EXPECT_EQ(site.DetailRequests(), 3);
}

}  // namespace
}  // namespace tarvolin::testing
