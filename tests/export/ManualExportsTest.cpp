#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <functional>

#include "ExportTestSupport.h"
#include "export/ManualExports.h"
#include "platform/Folders.h"
#include "platform/Spreadsheet.h"
#include "shell/RunState.h"

namespace tarvolin {
namespace {

using test::ExportTest;
using test::FileExists;
using test::HookedControls;
using test::Row;
using test::ScratchFolder;
using test::TextCells;

using Cells = std::map<std::string, std::string>;

const std::vector<std::vector<std::string>> kList = {
    {"广州天河科技有限公司", "张三", "020-12345678", "13800138000", "020-87654321", "zhang@example.com",
     "广州市天河区中山大道1号"},
    {"=1+1", "李四", "0755-1234", "015912345678901234567", "0755-5678", "li@example.cn", "深圳市宝安区"},
    {"北京 某某 公司 ", "王五", "010-1", "18600000001", "010-2", "wang@example.net", "北京市朝阳区"}};

const char* const kHeaders[] = {"公司名", "联系人", "电话", "手机", "传真", "邮件", "地址"};

// One menu export as the window's menu starts it.
struct MenuExport {
    const char* name;
    std::function<void(Controls&)> run;
    const char* prefix;
    const char* filter;
    bool allColumns;
};

const char* const kXlsx = "默认保存为 office Excel文件(*.xlsx)|*.xlsx";
const char* const kXls = "默认保存为 office Excel文件(*.xls)|*.xls";

const MenuExport kMenu[] = {
    {"全部导出", [](Controls& c) { ExportAllColumns(c); }, "全部数据  ", kXlsx, true},
    {"公司名", [](Controls& c) { ExportOneColumn(c, 0, "公司名"_t, "公司名  "_t); }, "公司名  ", kXls, false},
    {"手机号", [](Controls& c) { ExportOneColumn(c, 3, "手机号"_t, "手机号  "_t); }, "手机号  ", kXls, false},
    {"邮箱", [](Controls& c) { ExportOneColumn(c, 5, "邮箱"_t, "邮箱  "_t); }, "邮箱  ", kXls, false},
};

void AddList(MemoryControls& controls) {
    for (const auto& row : kList)
        controls.AddRow(Row(row));
}

std::string Panel(MemoryControls& controls, int panel) {
    return TextToUtf8(controls.PanelText(panel));
}

std::string Cell(int column, int row) {
    return std::string(1, static_cast<char>('A' + column)) + std::to_string(row);
}

Cells AllColumnsCells() {
    Cells cells;
    for (int c = 0; c < 7; ++c)
        cells[Cell(c, 1)] = kHeaders[c];
    for (std::size_t r = 0; r < kList.size(); ++r)
        for (int c = 0; c < 7; ++c)
            cells[Cell(c, static_cast<int>(r) + 2)] = kList[r][c];
    return cells;
}

TEST_F(ExportTest, AllColumnsExportWritesHeadersAndEveryRow) {
    ScratchFolder folder;
    HookedControls controls;
    AddList(controls);
    controls.QueueDialogResult(Utf8Text(folder.File("全部.xlsx")));
    ExportAllColumns(controls);

    ASSERT_EQ(controls.Dialogs().size(), 1u);
    const SaveDialogSpec dialog = controls.Dialogs()[0];
    EXPECT_EQ(dialog.kind, DialogKind::Save);
    EXPECT_EQ(TextToUtf8(dialog.filter), kXlsx);
    EXPECT_EQ(TextToUtf8(dialog.fileName), "全部数据  9时7分3秒");
    EXPECT_EQ(dialog.initialFolder, Utf8Text(platform::DesktopFolder()));

    const Cells cells = TextCells(folder.File("全部.xlsx"));
    EXPECT_EQ(cells.size(), 28u);
    EXPECT_EQ(cells, AllColumnsCells());
    EXPECT_EQ(cells.at("F1"), "邮件");
    EXPECT_EQ(Panel(controls, 0), "状态：成功！！");
    EXPECT_EQ(Panel(controls, 3), "数据导出成功！！");
    EXPECT_EQ(RunState::Instance().exportOutcome, 3);
    EXPECT_TRUE(controls.Boxes().empty());
    // Once after opening, after the headers, after each of the 3 rows, after each of the 10
    // reads of the write check and after the save.
    EXPECT_EQ(controls.PumpCount(), 16);
}

TEST_F(ExportTest, MobileExportWritesOnlyItsColumn) {
    ScratchFolder folder;
    MemoryControls controls;
    AddList(controls);
    RunState::Instance().exportOutcome = 2;
    controls.QueueDialogResult(Utf8Text(folder.File("mobile.xls")));
    ExportOneColumn(controls, 3, "手机号"_t, "手机号  "_t);

    const Cells expected = {{"A1", "手机号"}, {"A2", kList[0][3]}, {"A3", kList[1][3]}, {"A4", kList[2][3]}};
    EXPECT_EQ(TextCells(folder.File("mobile.xls")), expected);
    EXPECT_EQ(Panel(controls, 0), "状态：成功！！");
    EXPECT_EQ(Panel(controls, 3), "数据导出成功！！ ");
    EXPECT_EQ(RunState::Instance().exportOutcome, 2);
    ASSERT_EQ(controls.Dialogs().size(), 1u);
    EXPECT_EQ(TextToUtf8(controls.Dialogs()[0].filter), kXls);
    // Once after opening and after each read of the write check; none while writing rows.
    EXPECT_EQ(controls.PumpCount(), 11);
}

TEST_F(ExportTest, EmptyListCellsStayEmptyAndKeepTheirRows) {
    ScratchFolder folder;
    MemoryControls controls;
    controls.AddRow(Row({"公司甲", "", "电话", "", "", "", "地址甲"}));
    controls.AddRow(Row({"", "", "", "", "", "", ""}));
    controls.AddRow(Row({"公司丙"}));
    controls.QueueDialogResult(Utf8Text(folder.File("gaps.xlsx")));
    ExportAllColumns(controls);

    Cells expected;
    for (int c = 0; c < 7; ++c)
        expected[Cell(c, 1)] = kHeaders[c];
    expected.insert({{"A2", "公司甲"}, {"C2", "电话"}, {"G2", "地址甲"}, {"A4", "公司丙"}});
    EXPECT_EQ(TextCells(folder.File("gaps.xlsx")), expected);
    EXPECT_EQ(RunState::Instance().exportOutcome, 3);
}

TEST_F(ExportTest, DefaultNamesCarryPrefixAndTime) {
    struct Time {
        int hour, minute, second;
        const char* stamp;
    };
    for (const Time& time : {Time{9, 7, 3, "9时7分3"}, Time{9, 7, 0, "9时7分0"}}) {
        SetClock(time.hour, time.minute, time.second);
        for (const MenuExport& menu : kMenu) {
            MemoryControls controls;
            AddList(controls);
            RunState::Instance().exportOutcome = 3;
            menu.run(controls);  // no dialog result queued: the user cancels
            ASSERT_EQ(controls.Dialogs().size(), 1u) << menu.name;
            const SaveDialogSpec dialog = controls.Dialogs()[0];
            EXPECT_EQ(TextToUtf8(dialog.fileName), std::string(menu.prefix) + time.stamp + "秒") << menu.name;
            EXPECT_EQ(TextToUtf8(dialog.filter), menu.filter) << menu.name;
            // Cancelled: nothing else happens.
            EXPECT_EQ(controls.PanelText(0), Text()) << menu.name;
            EXPECT_EQ(controls.PanelText(3), Text()) << menu.name;
            EXPECT_EQ(controls.PumpCount(), 0) << menu.name;
            EXPECT_EQ(RunState::Instance().exportOutcome, 3) << menu.name;
        }
    }
}

TEST_F(ExportTest, DialogOpensInTheDesktopFolder) {
    ScratchFolder home;
    ASSERT_EQ(mkdir(home.File("Desktop").c_str(), 0755), 0);
    const std::string savedHome = getenv("HOME") ? getenv("HOME") : "";
    setenv("HOME", home.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", home.File("no-config").c_str(), 1);
    MemoryControls controls;
    AddList(controls);
    ExportOneColumn(controls, 5, "邮箱"_t, "邮箱  "_t);
    setenv("HOME", savedHome.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    ASSERT_EQ(controls.Dialogs().size(), 1u);
    EXPECT_EQ(TextToUtf8(controls.Dialogs()[0].initialFolder), home.path() + "/Desktop/");
    EXPECT_EQ(TextToUtf8(controls.Dialogs()[0].fileName), "邮箱  9时7分3秒");
}

TEST_F(ExportTest, EmptyListOnlyShowsTheMessage) {
    for (const MenuExport& menu : kMenu) {
        MemoryControls controls;
        RunState::Instance().exportOutcome = 3;
        controls.QueueDialogResult(Text::FromBytes("/tmp/never-written.xlsx"));
        menu.run(controls);
        ASSERT_EQ(controls.Boxes().size(), 1u) << menu.name;
        const MessageBoxSpec box = controls.Boxes()[0];
        EXPECT_EQ(TextToUtf8(box.text), "还没进行操作，不能导出！");
        EXPECT_EQ(TextToUtf8(box.title), "信息：");
        EXPECT_EQ(box.buttons, BoxButtons::Ok);
        EXPECT_TRUE(controls.Dialogs().empty()) << menu.name;
        EXPECT_EQ(controls.PanelText(0), Text());
        EXPECT_EQ(controls.PumpCount(), 0);
        EXPECT_EQ(RunState::Instance().exportOutcome, 3);
    }
    EXPECT_FALSE(FileExists("/tmp/never-written.xlsx"));
}

TEST_F(ExportTest, FailuresShowTheFailureTexts) {
    struct Case {
        const char* name;
        bool application;
        std::string file;  // under the scratch folder
    };
    const Case cases[] = {{"no spreadsheet application", false, "out.xlsx"},
                          {"folder missing", true, "missing/out.xlsx"}};
    for (const Case& c : cases) {
        for (const MenuExport& menu : kMenu) {
            ScratchFolder folder;
            MemoryControls controls;
            AddList(controls);
            platform::SetSpreadsheetAvailable(c.application);
            RunState::Instance().exportOutcome = 0;
            controls.QueueDialogResult(Utf8Text(folder.File(c.file)));
            menu.run(controls);
            platform::SetSpreadsheetAvailable(true);
            EXPECT_EQ(Panel(controls, 0), "状态：失败！！") << c.name << " " << menu.name;
            EXPECT_EQ(Panel(controls, 3), "数据导出失败！！") << c.name << " " << menu.name;
            EXPECT_EQ(RunState::Instance().exportOutcome, menu.allColumns ? 2 : 0)
                << c.name << " " << menu.name;
            EXPECT_TRUE(controls.Boxes().empty());
            EXPECT_TRUE(folder.Entries().empty()) << c.name << " " << menu.name;
        }
    }
}

TEST_F(ExportTest, ListClearedWhileOpeningGivesTheHeadersOnly) {
    ScratchFolder folder;
    HookedControls controls;
    AddList(controls);
    controls.onPump = [&](int pump) {
        if (pump == 1) controls.DeleteAllRows();
    };
    controls.QueueDialogResult(Utf8Text(folder.File("headers.xlsx")));
    ExportAllColumns(controls);
    Cells headers;
    for (int c = 0; c < 7; ++c)
        headers[Cell(c, 1)] = kHeaders[c];
    EXPECT_EQ(TextCells(folder.File("headers.xlsx")), headers);
    EXPECT_EQ(Panel(controls, 3), "数据导出成功！！");
    EXPECT_EQ(RunState::Instance().exportOutcome, 3);
}

TEST_F(ExportTest, MenuExportWhileAnotherRunsIsRefused) {
    ScratchFolder folder;
    HookedControls controls;
    AddList(controls);
    controls.QueueDialogResult(Utf8Text(folder.File("first.xlsx")));
    controls.onPump = [&](int pump) {
        if (pump != 2) return;
        controls.QueueDialogResult(Utf8Text(folder.File("second.xlsx")));
        for (const MenuExport& menu : kMenu)
            menu.run(controls);
        controls.DeleteAllRows();  // not even the empty-list message may appear
        for (const MenuExport& menu : kMenu)
            menu.run(controls);
        AddList(controls);
    };
    ExportAllColumns(controls);
    EXPECT_EQ(controls.Dialogs().size(), 1u);
    EXPECT_TRUE(controls.Boxes().empty());
    EXPECT_EQ(TextCells(folder.File("first.xlsx")), AllColumnsCells());
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"first.xlsx"});

    // Once the export is over the next one runs.
    controls.onPump = nullptr;
    ExportOneColumn(controls, 0, "公司名"_t, "公司名  "_t);
    EXPECT_EQ(controls.Dialogs().size(), 2u);
    EXPECT_EQ(TextCells(folder.File("second.xlsx")).size(), 4u);
}

}  // namespace
}  // namespace tarvolin
