#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include "WindowFixture.h"
#include "app/ResultListView.h"
#include "shell/BuildConstants.h"

namespace tarvolin::testing {
namespace {

using HandlersTest = WindowTest;

QString ClockPanel(MainWindow& window) {
    return window.PanelLabelText(4);
}

void Tick(MainWindow& window, int times) {
    for (int i = 0; i < times; ++i)
        window.ClockTick();
}

TEST_F(HandlersTest, RunClockCountsTicksIntoMinutesAndHours) {
    Open();
    const std::pair<int, const char*> cases[] = {{1, "运行时间:0时0分1秒"},
                                                 {59, "运行时间:0时1分0秒"},
                                                 {3540, "运行时间:1时0分0秒"},
                                                 {3661, "运行时间:2时1分1秒"}};
    for (const auto& [ticks, text] : cases) {
        Tick(*window, ticks);
        EXPECT_EQ(ClockPanel(*window), QString::fromUtf8(text)) << "after " << ticks << " more ticks";
    }
}

TEST_F(HandlersTest, RunClockGoesOnFromTheEarlierRunAndRunsOnItsTimer) {
    Open();
    EXPECT_EQ(ClockPanel(*window), QStringLiteral("运行时间:0时0钟0秒"));
    window->SetClockPeriod(1000);
    EXPECT_EQ(window->ClockPeriod(), 1000);
    Tick(*window, 75);
    window->SetClockPeriod(0);  // the first run ends
    EXPECT_EQ(window->ClockPeriod(), 0);
    // The second run's clock really ticks on its timer and continues from 1 minute 15 seconds.
    window->SetClockPeriod(1);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return ClockPanel(*window) == QStringLiteral("运行时间:0时1分16秒"); }, 5000));
    window->SetClockPeriod(0);
    const QString stopped = ClockPanel(*window);
    QTest::qWait(30);
    EXPECT_EQ(ClockPanel(*window), stopped) << "period 0 stops the clock";
}

TEST_F(HandlersTest, ClearingAnEmptyListOnlySaysThereIsNothing) {
    Open();
    MessageBoxes::SetNextAnswer(BoxAnswer::Ok);
    window->ClearList();
    const auto log = MessageBoxes::Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].text, QStringLiteral("数据？ 数据呢？ 你想删除什么？！ "));
    EXPECT_EQ(log[0].caption, QStringLiteral("信息："));
    EXPECT_EQ(log[0].buttons, BoxButtons::Ok);
    EXPECT_EQ(log[0].icon, BoxIcon::None);
}

TEST_F(HandlersTest, ClearListAsksAndOnlyYesDeletes) {
    Open();
    RunState::Instance().batchExportOffset = 50;
    for (int i = 0; i < 3; ++i)
        window->SetCell(window->AppendRow(), 0, "公司"_t);

    MessageBoxes::SetNextAnswer(BoxAnswer::No);
    window->ClearList();
    EXPECT_EQ(window->RowCount(), 3);
    auto log = MessageBoxes::Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].text, QStringLiteral("现已获取到数据：【3】 条，请问你确认要删除吗？！"));
    EXPECT_EQ(log[0].caption, QStringLiteral("请问是否删除所有数据？"));
    EXPECT_EQ(log[0].buttons, BoxButtons::YesNo);
    EXPECT_EQ(log[0].icon, BoxIcon::Exclamation);
    EXPECT_TRUE(log[0].modal);

    MessageBoxes::ClearLog();
    MessageBoxes::SetNextAnswer(BoxAnswer::Yes);
    MessageBoxes::SetNextAnswer(BoxAnswer::Ok);
    window->ClearList();
    EXPECT_EQ(window->RowCount(), 0);
    log = MessageBoxes::Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].text, QStringLiteral("删除成功！"));
    EXPECT_EQ(log[1].buttons, BoxButtons::Ok);
    EXPECT_EQ(RunState::Instance().batchExportOffset, 50) << "clearing the list leaves the run state alone";
}

TEST_F(HandlersTest, AboutOpensTheProfileOnlyOnYes) {
    Open();
    MessageBoxes::SetNextAnswer(BoxAnswer::No);
    window->About();
    EXPECT_TRUE(opened.empty());
    MessageBoxes::SetNextAnswer(BoxAnswer::Yes);
    window->About();
    EXPECT_EQ(opened, std::vector<std::string>{TextToUtf8(AuthorProfileUrl())});

    const auto log = MessageBoxes::Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].caption, QStringLiteral("爱自己是最大的帮助！"));
    EXPECT_EQ(log[0].text,
              QStringLiteral("这版本模版已经做好了，剩下就是继续增加数据，那么现在问题来了！\r\n\r\n"
                             "只需等待我的好消息，你的支持是对我最大的鼓励，真心谢谢大家！！\r\n"
                             "Kelvaro By 2014-11-14"));
    EXPECT_EQ(log[0].buttons, BoxButtons::YesNo);
    EXPECT_EQ(log[0].icon, BoxIcon::Question);
    EXPECT_TRUE(log[0].rightAligned);
}

TEST_F(HandlersTest, RealAboutBoxIsModalRightAlignedAndAnsweredByItsYesButton) {
    Open().show();
    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("爱自己是最大的帮助！"));
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        EXPECT_TRUE(label->alignment() & Qt::AlignRight);
        EXPECT_FALSE(label->text().contains(QLatin1Char('\r')));
        ASSERT_NE(box->button(QMessageBox::No), nullptr);
        checked = true;
        QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
    });
    window->About();
    EXPECT_TRUE(checked);
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(HandlersTest, ContactAuthorOpensTheChatLink) {
    Open();
    window->ContactAuthor();
    EXPECT_EQ(opened, std::vector<std::string>{TextToUtf8(AuthorChatLink())});
    EXPECT_TRUE(MessageBoxes::Log().empty());
}

TEST_F(HandlersTest, RightClickAnywhereInTheListOpensTheMenuBesideThePointer) {
    Open().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QWidget* header = window->List()->horizontalHeader()->viewport();
    QWidget* targets[] = {window->List()->viewport(), header};
    for (QWidget* target : targets) {
        SCOPED_TRACE(target == header ? "header" : "rows");
        const QPoint at(100, target == header ? 5 : 120);
        const QPoint global = target->mapToGlobal(at);
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, global);
        QApplication::sendEvent(target, &click);
        QMenu* menu = window->PopupMenu();
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
        EXPECT_EQ(menu->pos(), global + QPoint(3, 3));
        menu->hide();
    }
    EXPECT_EQ(window->RowCount(), 0);
}

TEST_F(HandlersTest, MenuExportsCallTheirExportThenGoOn) {
    std::vector<std::tuple<int, Text, Text>> calls;
    int allColumns = 0;
    WindowActions actions;
    actions.exportAll = [&](Controls&) { ++allColumns; };
    actions.exportColumn = [&](Controls&, int column, const Text& header, const Text& prefix) {
        calls.emplace_back(column, header, prefix);
    };
    Open(actions);
    QMenu* exports = window->PopupMenu()->actions().front()->menu();
    for (QAction* item : exports->actions())
        item->trigger();
    EXPECT_EQ(allColumns, 1);
    const std::vector<std::tuple<int, Text, Text>> expected{
        {0, "公司名"_t, "公司名  "_t}, {3, "手机号"_t, "手机号  "_t}, {5, "邮箱"_t, "邮箱  "_t}};
    EXPECT_EQ(calls, expected);
}

// Pause, Continue and Stop start their routine on a thread of its own, and only while more than
// one worker is listed.
TEST_F(HandlersTest, RunControlButtonsActOnlyWithMoreThanOneListedWorker) {
    std::atomic<int> runs[3] = {0, 0, 0};
    std::atomic<bool> onWindowThread{false};
    WindowActions actions;
    std::function<void(Controls&)>* routines[] = {&actions.pause, &actions.resume, &actions.stop};
    for (int i = 0; i < 3; ++i) {
        *routines[i] = [&, i](Controls&) {
            if (QThread::currentThread() == qApp->thread()) onWindowThread = true;
            ++runs[i];
        };
    }
    Open(actions);
    const char* buttons[] = {"按钮_暂停搜索", "按钮_继续搜索", "按钮_停止搜索"};
    std::vector<WorkerHandle> workers;
    for (int listed : {0, 1, 2, 3}) {
        auto more = ListWaitingWorkers(listed - static_cast<int>(workers.size()));
        workers.insert(workers.end(), more.begin(), more.end());
        for (int i = 0; i < 3; ++i) {
            const int before = runs[i];
            QTest::mouseClick(window->findChild<QPushButton*>(QString::fromUtf8(buttons[i])), Qt::LeftButton);
            ASSERT_TRUE(QTest::qWaitFor([] { return DetachedThreads::Running() == 0; }, 5000));
            EXPECT_EQ(runs[i] - before, listed > 1 ? 1 : 0) << buttons[i] << " with " << listed << " workers";
        }
    }
    EXPECT_FALSE(onWindowThread);
    EXPECT_TRUE(MessageBoxes::Log().empty());
}

TEST_F(HandlersTest, StartRunsOnTheWindowThread) {
    bool started = false;
    WindowActions actions;
    actions.start = [&](Controls& controls) {
        started = QThread::currentThread() == qApp->thread() && controls.Caption() == "Tarvolin1.3"_t;
    };
    Open(actions);
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("按钮_开始")), Qt::LeftButton);
    EXPECT_TRUE(started);
}

}  // namespace
}  // namespace tarvolin::testing
