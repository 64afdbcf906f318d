#include <QAbstractButton>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>
#include <future>

#include "WindowFixture.h"
#include "app/ResultListView.h"

namespace tarvolin::testing {
namespace {

using ControlsTest = WindowTest;

// Runs the body on a plain thread while the window thread serves its event loop until it is done.
template <class F>
auto OnBackgroundThread(F body) {
    QEventLoop loop;
    auto task = std::async(std::launch::async, [&] {
        struct QuitLoop {
            QEventLoop& loop;
            ~QuitLoop() { QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection); }
        } quit{loop};
        return body();
    });
    loop.exec();
    return task.get();
}

TEST_F(ControlsTest, BackgroundThreadAppendsRowsAndReadsTheWindow) {
    Open().show();
    window->findChild<QLineEdit*>(QStringLiteral("编辑框_搜索内容"))->setText(QStringLiteral("五金"));
    const bool sameOnCaller = OnBackgroundThread([&] {
        bool ok = window->Caption() == "Tarvolin1.3"_t && window->KeywordText() == "五金"_t &&
                  window->SelectedAutoExportItem() == "默认不自动导出"_t;
        for (int i = 0; i < 40; ++i) {
            const int row = window->AppendRow();
            ok = ok && row == i;
            for (int column = 0; column < 7; ++column)
                window->SetCell(row, column, "公司"_t + IntToText(i) + "-"_t + IntToText(column));
            window->ScrollRowIntoView(row);
        }
        window->SetPanelText(3, "温馨提醒：第2页"_t);
        ok = ok && window->RowCount() == 40 && window->CellText(39, 6) == "公司39-6"_t;
        ok = ok && window->CellText(40, 0).empty() && window->CellText(0, 7).empty();
        window->PumpMessages();  // nothing to do on a thread without a window
        return ok;
    });
    EXPECT_TRUE(sameOnCaller);
    QAbstractItemModel* model = window->List()->model();
    ASSERT_EQ(model->rowCount(), 40);
    EXPECT_EQ(model->data(model->index(17, 4)).toString(), QStringLiteral("公司17-4"));
    EXPECT_EQ(window->PanelLabelText(3), QStringLiteral("温馨提醒：第2页"));
    OnBackgroundThread([&] { window->DeleteAllRows(); });
    EXPECT_EQ(model->rowCount(), 0);
}

TEST_F(ControlsTest, CallsFromTheWindowThreadRunAtOnce) {
    Open();
    EXPECT_EQ(window->AppendRow(), 0);
    window->SetCell(0, 1, "张三"_t);
    EXPECT_EQ(window->CellText(0, 1), "张三"_t);
    window->SetPanelText(0, "状态：运行中"_t);
    EXPECT_EQ(window->PanelLabelText(0), QStringLiteral("状态：运行中"));
    window->SetPanelText(9, "ignored"_t);  // no such panel
}

TEST_F(ControlsTest, BackgroundBoxLeavesTheWindowUsableAndReturnsTheButtonClicked) {
    Open().show();
    std::atomic<bool> asked{false};
    auto answer = std::async(std::launch::async, [&] {
        asked = true;
        return window->ShowMessage({"搜索完毕！"_t, {}, BoxButtons::YesNo, BoxIcon::Question, false});
    });
    QMessageBox* box = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (box = OpenBox()) != nullptr; }, 5000));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("信息："));
    EXPECT_EQ(box->text(), QStringLiteral("搜索完毕！"));
    EXPECT_EQ(box->windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // While the box waits, the window goes on serving other threads and its own handlers.
    const int rows = OnBackgroundThread([&] {
        window->SetCell(window->AppendRow(), 0, "公司"_t);
        return window->RowCount();
    });
    EXPECT_EQ(rows, 1);
    window->ClockTick();
    EXPECT_EQ(window->PanelLabelText(4), QStringLiteral("运行时间:0时0分1秒"));
    EXPECT_EQ(answer.wait_for(std::chrono::seconds(0)), std::future_status::timeout);

    QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 5000));
    EXPECT_EQ(answer.get(), BoxAnswer::Yes);
    EXPECT_TRUE(QTest::qWaitFor([] { return OpenBox() == nullptr; }, 5000));
}

TEST_F(ControlsTest, BackgroundBoxClosedByHandIsAnsweredNo) {
    Open().show();
    auto answer = std::async(std::launch::async, [&] {
        return window->ShowMessage(
            {"版本有更新了"_t, "版本更新提醒！"_t, BoxButtons::YesNo, BoxIcon::Question, false});
    });
    QMessageBox* box = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (box = OpenBox()) != nullptr; }, 5000));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("版本更新提醒！"));
    box->close();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 5000));
    EXPECT_EQ(answer.get(), BoxAnswer::No);
}

TEST_F(ControlsTest, StopOfTheAskingThreadClosesItsBox) {
    Open().show();
    std::atomic<int> answer{-1};
    auto asking = platform::ControlledThread::Start([&] {
        answer = static_cast<int>(
            window->ShowMessage({"没有搜索到"_t, {}, BoxButtons::YesNo, BoxIcon::None, false}));
    });
    ASSERT_TRUE(QTest::qWaitFor([] { return OpenBox() != nullptr; }, 5000));
    asking->Control().RequestStop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return asking->Finished(); }, 5000));
    EXPECT_EQ(answer, static_cast<int>(BoxAnswer::No));
    EXPECT_TRUE(QTest::qWaitFor([] { return OpenBox() == nullptr; }, 5000));
    EXPECT_TRUE(asking->Join(std::chrono::seconds(1)));

    // A thread already stopped gets its answer without a box.
    MessageBoxes::ClearLog();
    auto stopped = platform::ControlledThread::Start([&] {
        platform::CurrentThreadControl()->RequestStop();
        answer = static_cast<int>(window->ShowMessage({"完毕"_t, {}, BoxButtons::Ok, BoxIcon::None, false}));
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return stopped->Finished(); }, 5000));
    EXPECT_EQ(answer, static_cast<int>(BoxAnswer::Ok));
    EXPECT_TRUE(MessageBoxes::Log().empty());
}

TEST_F(ControlsTest, BoxStillOpenWhenTheWindowClosesAnswersItsThread) {
    Open().show();
    auto answer = std::async(std::launch::async, [&] {
        return window->ShowMessage({"搜索完毕！"_t, {}, BoxButtons::Ok, BoxIcon::None, false});
    });
    ASSERT_TRUE(QTest::qWaitFor([] { return OpenBox() != nullptr; }, 5000));
    window->close();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 5000));
    EXPECT_EQ(answer.get(), BoxAnswer::Ok);
    EXPECT_EQ(OpenBox(), nullptr);
}

TEST_F(ControlsTest, QueuedAnswersReachBackgroundBoxesInOrder) {
    Open();
    MessageBoxes::SetNextAnswer(BoxAnswer::Yes);
    MessageBoxes::SetNextAnswer(BoxAnswer::No);
    const auto answers = OnBackgroundThread([&] {
        const MessageBoxSpec ask{"问"_t, {}, BoxButtons::YesNo, BoxIcon::Question, false};
        const BoxAnswer first = window->ShowMessage(ask);
        return std::pair(first, window->ShowMessage(ask));
    });
    EXPECT_EQ(answers, std::pair(BoxAnswer::Yes, BoxAnswer::No));
    const auto log = MessageBoxes::Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_FALSE(log[0].modal);
}

TEST_F(ControlsTest, ClockPeriodFollowsItsRules) {
    Open();
    struct Step {
        int set;
        int period;
    };
    const Step steps[] = {{0, 0}, {1000, 1000}, {1000, 1000}, {500, 500}, {0, 0}, {-3, 0}};
    for (const Step& step : steps) {
        OnBackgroundThread([&] { window->SetClockPeriod(step.set); });
        EXPECT_EQ(window->ClockPeriod(), step.period) << step.set;
    }
}

}  // namespace
}  // namespace tarvolin::testing
