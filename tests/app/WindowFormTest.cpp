#include <QComboBox>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>

#include "WindowFixture.h"
#include "app/ResultListView.h"
#include "platform/Folders.h"

namespace tarvolin::testing {
namespace {

class WindowFormTest : public WindowTest {
protected:
    template <class W = QWidget>
    W* Control(const char* name) {
        return window->findChild<W*>(QString::fromUtf8(name));
    }

    void ShowDefault() {
        Open().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        // The outer size is settled once the frame is known.
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->frameGeometry().size() == QSize(718, 513); }, 2000));
    }
};

TEST_F(WindowFormTest, WindowHasItsCaptionPlaceAndOuterSize) {
    ShowDefault();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tarvolin1.3"));
    EXPECT_EQ(window->frameGeometry(), QRect(50, 50, 718, 513));
}

TEST_F(WindowFormTest, EveryControlHoldsItsPlaceSizeAndText) {
    ShowDefault();
    struct Expected {
        const char* name;
        QRect rect;
        const char* text;
    };
    const Expected controls[] = {
        {"标签1", QRect(2, 13, 40, 19), "关键字："},
        {"编辑框_搜索内容", QRect(47, 7, 67, 31), ""},
        {"组合框1", QRect(126, 3, 107, 15), nullptr},
        {"组合框2", QRect(126, 23, 107, 15), nullptr},
        {"按钮_开始", QRect(240, 6, 62, 33), "开始搜索"},
        {"按钮_暂停搜索", QRect(310, 6, 62, 33), "暂停搜索"},
        {"按钮_继续搜索", QRect(380, 6, 62, 33), "继续搜索"},
        {"按钮_停止搜索", QRect(452, 6, 62, 33), "停止搜索"},
        {"超级列表框1", QRect(0, 45, 712, 419), nullptr},
        {"状态条1", QRect(0, 421, 713, 20), nullptr},
    };
    for (const Expected& expected : controls) {
        QWidget* control = Control(expected.name);
        ASSERT_NE(control, nullptr) << expected.name;
        EXPECT_EQ(control->geometry(), expected.rect) << expected.name;
        EXPECT_TRUE(control->isVisible()) << expected.name;
        if (!expected.text) continue;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(control)) text = label->text();
        if (auto* edit = qobject_cast<QLineEdit*>(control)) text = edit->text();
        if (auto* button = qobject_cast<QPushButton*>(control)) text = button->text();
        EXPECT_EQ(text, QString::fromUtf8(expected.text)) << expected.name;
    }
}

TEST_F(WindowFormTest, DropDownListsHoldTheirItemsWithTheFirstSelected) {
    Open();
    const QStringList autoExport{"默认不自动导出",
                                 "1代表25条数据",
                                 "1",
                                 "2",
                                 "3",
                                 "4",
                                 "5",
                                 "6",
                                 "7",
                                 "8",
                                 "9",
                                 "10",
                                 "15",
                                 "20",
                                 "25",
                                 "30",
                                 "35",
                                 "40",
                                 "50",
                                 "60",
                                 "70",
                                 "80",
                                 "90",
                                 "100",
                                 "150",
                                 "200"};
    const QStringList interfaces{"这里是搜索接口", "现在是默认端口", "下个版本会更新",
                                 "↓更多的接口↓",   "【继续关注吧】", "这里不用选择哦"};
    const std::pair<const char*, QStringList> lists[] = {{"组合框1", autoExport}, {"组合框2", interfaces}};
    for (const auto& [name, items] : lists) {
        auto* box = Control<QComboBox>(name);
        ASSERT_NE(box, nullptr) << name;
        EXPECT_FALSE(box->isEditable()) << name;
        QStringList shown;
        for (int i = 0; i < box->count(); ++i)
            shown << box->itemText(i);
        EXPECT_EQ(shown, items) << name;
        EXPECT_EQ(box->currentIndex(), 0) << name;
    }
    EXPECT_EQ(window->SelectedAutoExportItem(), "默认不自动导出"_t);
    Control<QComboBox>("组合框1")->setCurrentIndex(13);
    EXPECT_EQ(window->SelectedAutoExportItem(), "20"_t);
}

TEST_F(WindowFormTest, ListHasSevenColumnsWithTitlesWidthsAndAlignments) {
    Open();
    QTableView* list = window->List();
    QAbstractItemModel* model = list->model();
    struct Column {
        const char* title;
        int width;
        Qt::Alignment alignment;
    };
    const Column columns[] = {{"公司名", 150, Qt::AlignLeft}, {"联系人", 50, Qt::AlignLeft},
                              {"电话", 84, Qt::AlignHCenter}, {"手机", 78, Qt::AlignHCenter},
                              {"传真", 84, Qt::AlignLeft},    {"邮箱", 115, Qt::AlignLeft},
                              {"地址", 130, Qt::AlignLeft}};
    ASSERT_EQ(model->columnCount(), 7);
    const int row = window->AppendRow();
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(model->headerData(i, Qt::Horizontal).toString(), QString::fromUtf8(columns[i].title));
        EXPECT_EQ(list->horizontalHeader()->sectionSize(i), columns[i].width) << i;
        const auto cellAlignment =
            model->data(model->index(row, i), Qt::TextAlignmentRole).value<Qt::Alignment>();
        EXPECT_EQ(cellAlignment & Qt::AlignHorizontal_Mask, columns[i].alignment) << i;
    }
    EXPECT_FALSE(list->isSortingEnabled());
    EXPECT_FALSE(list->horizontalHeader()->isHidden());
}

TEST_F(WindowFormTest, StatusBarHasFiveSunkenPanelsWithTheirOpeningTexts) {
    Open();
    const std::pair<int, const char*> panels[] = {{80, "状态："},
                                                  {110, "搜索结果："},
                                                  {110, "成功获取："},
                                                  {280, "温馨提醒：  【推荐在网速较好的时候使用！！】"},
                                                  {150, "运行时间:0时0钟0秒"}};
    auto* bar = Control<QStatusBar>("状态条1");
    ASSERT_NE(bar, nullptr);
    for (int i = 0; i < 5; ++i) {
        auto* panel = bar->findChild<QLabel*>(QStringLiteral("panel%1").arg(i));
        ASSERT_NE(panel, nullptr) << i;
        EXPECT_EQ(panel->width(), panels[i].first) << i;
        EXPECT_EQ(panel->frameShadow(), QFrame::Sunken) << i;
        EXPECT_EQ(panel->frameShape(), QFrame::Panel) << i;
        EXPECT_EQ(panel->text(), QString::fromUtf8(panels[i].second)) << i;
        EXPECT_TRUE(panel->pixmap().isNull()) << i;
    }
    EXPECT_EQ(window->ClockPeriod(), 0) << "the run clock is idle when the window opens";
}

TEST_F(WindowFormTest, PopupMenuHoldsItsItems) {
    Open();
    QMenu* menu = window->PopupMenu();
    EXPECT_EQ(menu->title(), QStringLiteral("程序菜单"));
    QStringList top;
    QStringList exports;
    for (QAction* action : menu->actions()) {
        top << action->text();
        EXPECT_TRUE(action->isEnabled());
        EXPECT_FALSE(action->isChecked());
        EXPECT_TRUE(action->shortcut().isEmpty());
        if (action->menu())
            for (QAction* item : action->menu()->actions())
                exports << item->text();
    }
    EXPECT_EQ(top, (QStringList{"导出excel", "清空列表", "联系作者", "关于"}));
    EXPECT_EQ(exports, (QStringList{"全部导出", "公司名", "手机号", "邮箱"}));
    EXPECT_FALSE(menu->isVisible());
}

TEST_F(WindowFormTest, ChineseTextsUseACjkFontThatFitsTheLabel) {
    Open();
    auto* label = Control<QLabel>("标签1");
    const QFontMetrics metrics(label->font());
    EXPECT_TRUE(metrics.inFontUcs4(U'关') && metrics.inFontUcs4(U'键') && metrics.inFontUcs4(U'：'))
        << QFontInfo(label->font()).family().toStdString();
    EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width());
    const QFontMetrics buttonMetrics(Control("按钮_开始")->font());
    EXPECT_LE(buttonMetrics.horizontalAdvance(QStringLiteral("开始搜索")), 62);
}

TEST_F(WindowFormTest, ListAndStatusBarFollowAnEnlargedWindow) {
    ShowDefault();
    const QSize client = window->size();
    window->resize(client + QSize(100, 60));
    EXPECT_EQ(Control("超级列表框1")->geometry(), QRect(0, 45, 812, 479));
    EXPECT_EQ(Control("状态条1")->geometry(), QRect(0, 481, 813, 20));
    EXPECT_EQ(Control("按钮_停止搜索")->geometry(), QRect(452, 6, 62, 33));
    window->resize(client);
    EXPECT_EQ(Control("超级列表框1")->geometry(), QRect(0, 45, 712, 419));
    EXPECT_EQ(Control("状态条1")->geometry(), QRect(0, 421, 713, 20));
}

TEST_F(WindowFormTest, RowsScrolledIntoViewAreNotHiddenUnderTheStatusBar) {
    ShowDefault();
    for (int i = 0; i < 200; ++i)
        window->SetCell(window->AppendRow(), 0, IntToText(i));
    window->ScrollRowIntoView(199);
    QTableView* list = window->List();
    const QRect row = list->visualRect(list->model()->index(199, 0));
    ASSERT_TRUE(row.isValid());
    const QPoint bottom = list->viewport()->mapTo(window.get(), row.bottomLeft());
    EXPECT_GE(row.top(), 0);
    EXPECT_LE(row.bottom(), list->viewport()->height());
    EXPECT_LT(bottom.y(), Control("状态条1")->geometry().top());
}

TEST_F(WindowFormTest, CreatingTheWindowAppliesSkinMakesExportFolderAndStartsVersionCheck) {
    std::vector<int> skins;
    std::atomic<bool> checked{false};
    std::atomic<bool> checkOnOtherThread{false};
    WindowActions actions;
    actions.applySkin = [&](int skin) { skins.push_back(skin); };
    actions.versionCheck = [&](Controls& controls) {
        checkOnOtherThread = QThread::currentThread() != qApp->thread();
        checked = controls.Caption() == "Tarvolin1.3"_t;
    };
    Open(actions);
    EXPECT_EQ(skins, std::vector<int>{19});
    EXPECT_TRUE(platform::PathIsDirectory(platform::RunDirectory() + "/导出表格"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return checked.load(); }, 5000));
    EXPECT_TRUE(checkOnOtherThread);
}

}  // namespace
}  // namespace tarvolin::testing
