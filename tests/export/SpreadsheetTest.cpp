#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ExportTestSupport.h"
#include "platform/Spreadsheet.h"
#include "platform/SpreadsheetCells.h"

namespace tarvolin::platform {
namespace {

using test::FileExists;
using test::ScratchFolder;
using test::TextCells;

struct Opened {
    SpreadsheetApplication application;
    SpreadsheetWorkbooks workbooks;
    SpreadsheetSheet sheet;
};

Opened OpenWorkbook() {
    Opened opened;
    opened.application = SpreadsheetApplication::Create();
    opened.workbooks = opened.application.Workbooks();
    opened.workbooks.Add();
    opened.sheet = opened.application.Application().Sheets().Item(1);
    return opened;
}

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

TEST(CellAddress, ParsesA1NotationInsideTheSheet) {
    struct Case {
        const char* address;
        int row, column;
    };
    const Case valid[] = {{"A1", 1, 1},  {"G26", 26, 7},   {"g26", 26, 7},
                          {"Z9", 9, 26}, {"AA10", 10, 27}, {"XFD1048576", 1048576, 16384}};
    for (const Case& c : valid) {
        int row = 0, column = 0;
        EXPECT_TRUE(ParseCellAddress(c.address, row, column)) << c.address;
        EXPECT_EQ(row, c.row) << c.address;
        EXPECT_EQ(column, c.column) << c.address;
    }
    for (const char* address : {"", "A", "1", "A0", "A01", "XFE1", "A1048577", "A1B", "$A$1", " A1", "A-1"}) {
        int row = 0, column = 0;
        EXPECT_FALSE(ParseCellAddress(address, row, column)) << address;
    }
}

TEST(Spreadsheet, CellsHoldTextsSetThroughRanges) {
    Opened book = OpenWorkbook();
    ASSERT_TRUE(book.sheet.Held());
    EXPECT_FALSE(book.application.Sheets().Item(2).Held());
    EXPECT_TRUE(book.application.Activate());

    EXPECT_TRUE(book.sheet.Range("G2", "G2").SetValue("公司"));
    EXPECT_EQ(book.sheet.Range("G2", "G2").Value(), "公司");
    EXPECT_EQ(book.sheet.Range("A1", "A1").Value(), "");
    // A rectangle given by any two opposite corners sets every cell in it.
    EXPECT_TRUE(book.sheet.Range("C3", "B2").SetValue("x"));
    for (const char* cell : {"B2", "C2", "B3", "C3"})
        EXPECT_EQ(book.sheet.Range(cell, cell).Value(), "x") << cell;
    EXPECT_EQ(book.sheet.Range("B2", "C3").Value(), std::nullopt);
    EXPECT_TRUE(book.sheet.Range("B2", "B2").SetValue(""));
    EXPECT_EQ(book.sheet.Range("B2", "B2").Value(), "");
    EXPECT_FALSE(book.sheet.Range("A0", "A1").Held());
}

TEST(Spreadsheet, RefusesTextsACellCannotHold) {
    Opened book = OpenWorkbook();
    const SpreadsheetRange cell = book.sheet.Range("A1", "A1");
    ASSERT_TRUE(cell.SetValue("keep"));
    for (const std::string& bad : {std::string("\xC3"), std::string("a\xFFz"), std::string("\xC0\xAF"),
                                   std::string("\xED\xA0\x80"), std::string(kMaxCellCharacters + 1, 'x')}) {
        EXPECT_FALSE(cell.SetValue(bad));
        EXPECT_EQ(cell.Value(), "keep");
    }
    std::string longest;
    for (int i = 0; i < kMaxCellCharacters; ++i)
        longest += "汉";
    EXPECT_TRUE(cell.SetValue(longest));
    EXPECT_FALSE(book.sheet.Range("A1", "XFD1048576").SetValue("too many cells"));
}

TEST(Spreadsheet, NothingWorksOnObjectsClosedQuitOrNeverCreated) {
    Opened book = OpenWorkbook();
    const SpreadsheetRange range = book.sheet.Range("A1", "A1");
    ASSERT_TRUE(book.workbooks.Close());
    EXPECT_FALSE(book.sheet.Held());
    EXPECT_FALSE(range.SetValue("x"));
    EXPECT_EQ(range.Value(), std::nullopt);
    EXPECT_FALSE(book.application.Sheets().Held());
    EXPECT_TRUE(book.workbooks.Add());
    ASSERT_TRUE(book.application.Sheets().Item(1).Held());

    ASSERT_TRUE(book.application.Quit());
    EXPECT_FALSE(book.application.Held());
    EXPECT_FALSE(book.application.Sheets().Item(1).Held());
    EXPECT_FALSE(book.workbooks.Add());
    EXPECT_FALSE(book.application.Quit());

    SetSpreadsheetAvailable(false);
    const SpreadsheetApplication none = SpreadsheetApplication::Create();
    SetSpreadsheetAvailable(true);
    EXPECT_FALSE(none.Held());
    EXPECT_FALSE(none.Workbooks().Add());
    EXPECT_FALSE(none.Activate());
    EXPECT_FALSE(SpreadsheetSheet().SaveAs("/tmp/never.xlsx"));
    EXPECT_FALSE(SpreadsheetRange().SetValue("x"));
}

TEST(Spreadsheet, SavesEveryValueAsATextCell) {
    ScratchFolder folder;
    Opened book = OpenWorkbook();
    const std::pair<const char*, std::string> values[] = {
        {"A1", "=1+1"},         {"B1", "13800138000"},  {"C1", "123456789012345678901234567890"},
        {"A2", "广州市天河区"}, {"B2", "  前后空格  "}, {"C2", "1.5E3"},
        {"D2", "TRUE"},         {"A3", "a<b & \"c\""},  {"XFD1048576", "far corner"}};
    for (const auto& [cell, value] : values)
        ASSERT_TRUE(book.sheet.Range(cell, cell).SetValue(value));
    ASSERT_TRUE(book.sheet.SaveAs(folder.File("values.xlsx")));

    const auto cells = TextCells(folder.File("values.xlsx"));
    EXPECT_EQ(cells.size(), std::size(values));
    for (const auto& [cell, value] : values)
        EXPECT_EQ(cells.count(cell) ? cells.at(cell) : "(none)", value) << cell;
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"values.xlsx"});
}

TEST(Spreadsheet, SavePathKeepsAnyExtensionAndAddsXlsxToNone) {
    const std::pair<const char*, const char*> cases[] = {
        {"/d/a.xlsx", "/d/a.xlsx"},
        {"/d/a.xls", "/d/a.xls"},
        {"/d/全部数据  9时7分3秒", "/d/全部数据  9时7分3秒.xlsx"},
        {"/d.x/name", "/d.x/name.xlsx"},
        {"/d/.hidden", "/d/.hidden.xlsx"},
        {"/d/", "/d/"}};
    for (const auto& [given, written] : cases)
        EXPECT_EQ(SpreadsheetSheet::SavePath(given), written) << given;

    // Whatever the extension, the file is an .xlsx workbook.
    ScratchFolder folder;
    Opened book = OpenWorkbook();
    book.sheet.Range("A1", "A1").SetValue("x");
    ASSERT_TRUE(book.sheet.SaveAs(folder.File("old.xls")));
    ASSERT_TRUE(book.sheet.SaveAs(folder.File("无扩展名")));
    EXPECT_EQ(TextCells(folder.File("old.xls")).at("A1"), "x");
    EXPECT_EQ(TextCells(folder.File("无扩展名.xlsx")).at("A1"), "x");
}

TEST(Spreadsheet, FailedSaveLeavesNothingUnderTheName) {
    ScratchFolder folder;
    Opened book = OpenWorkbook();
    book.sheet.Range("A1", "A1").SetValue("x");
    EXPECT_FALSE(book.sheet.SaveAs(folder.File("missing/out.xlsx")));
    EXPECT_FALSE(FileExists(folder.File("missing")));
    EXPECT_FALSE(book.sheet.SaveAs(""));
    // A folder in the way of the name stays as it is.
    ASSERT_EQ(mkdir(folder.File("taken.xlsx").c_str(), 0755), 0);
    EXPECT_FALSE(book.sheet.SaveAs(folder.File("taken.xlsx")));
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("taken.xlsx")));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"taken.xlsx"});
}

TEST(Spreadsheet, SaveCutShortKeepsTheEarlierFile) {
    ScratchFolder folder;
    const std::string path = folder.File("report.xlsx");
    {
        std::ofstream earlier(path, std::ios::binary);
        earlier << "earlier content";
    }
    // The child may write only a few kilobytes, so the save breaks off in the middle of the file.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        Opened book = OpenWorkbook();
        for (int row = 1; row <= 2000; ++row) {
            const std::string cell = "A" + std::to_string(row);
            book.sheet.Range(cell, cell)
                .SetValue("row " + std::to_string(row) + " of a workbook too big to write");
        }
        _exit(book.sheet.SaveAs(path) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save should have failed";
    EXPECT_EQ(ReadAll(path), "earlier content");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"report.xlsx"});
}

}  // namespace
}  // namespace tarvolin::platform
