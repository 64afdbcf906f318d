#include <gtest/gtest.h>

#include "ExportTestSupport.h"
#include "export/ExportTime.h"
#include "export/ExportWriter.h"
#include "platform/Spreadsheet.h"

namespace tarvolin {
namespace {

using test::ExportTest;
using test::Moment;
using test::ScratchFolder;
using test::TextCells;

TEST(ColumnLetters, NamesColumnsAsSpreadsheetsDo) {
    const std::pair<int, const char*> cases[] = {{1, "A"},   {7, "G"},     {26, "Z"}, {27, "AA"},
                                                 {52, "AZ"}, {703, "AAA"}, {0, ""},   {-3, ""}};
    for (const auto& [column, letters] : cases)
        EXPECT_EQ(TextToUtf8(ColumnLetters(column)), letters) << column;
}

TEST(DateTimeText, EndsWithTheLastPartOfTheTimeThatIsNotZero) {
    struct Case {
        int hour, minute, second;
        const char* text;
    };
    const Case cases[] = {{9, 7, 3, "2015年3月2日9时7分3秒"}, {9, 7, 0, "2015年3月2日9时7分"},
                          {9, 0, 0, "2015年3月2日9时"},       {0, 0, 0, "2015年3月2日"},
                          {0, 0, 5, "2015年3月2日0时0分5秒"}, {23, 0, 59, "2015年3月2日23时0分59秒"}};
    for (const Case& c : cases)
        EXPECT_EQ(TextToUtf8(DateTimeText(Moment(c.hour, c.minute, c.second))), c.text) << c.text;
}

TEST_F(ExportTest, TimeStampCarriesTheTimeEvenAtAFullMinute) {
    struct Case {
        int hour, minute, second;
        const char* stamp;
    };
    const Case cases[] = {{9, 7, 3, "9时7分3"}, {14, 5, 9, "14时5分9"}, {9, 7, 0, "9时7分0"},
                          {9, 0, 0, "9时0分0"}, {0, 0, 0, "0时0分0"},   {0, 0, 1, "0时0分1"}};
    for (const Case& c : cases) {
        SetClock(c.hour, c.minute, c.second);
        EXPECT_EQ(TextToUtf8(TimeStamp()), c.stamp);
    }
}

TEST_F(ExportTest, CellsWrittenAreReadBackAndSaved) {
    EXPECT_EQ(ReadCell(1, 1), Text());  // nothing open
    OpenExportWorkbook();
    WriteCell(1, 1, "手机号"_t);
    WriteCell(2, 7, "地址"_t);
    EXPECT_EQ(TextToUtf8(ReadCell(1, 1)), "手机号");
    EXPECT_EQ(TextToUtf8(ReadCell(2, 7)), "地址");
    EXPECT_EQ(ReadCell(0, 1), Text());
    EXPECT_EQ(WriteCheck(), 1);
    for (int row = 2; row <= 12; ++row)
        WriteCell(row, 1, IntToText(row));
    int reads = 0;
    EXPECT_EQ(WriteCheck([&] { ++reads; }), 10);
    EXPECT_EQ(reads, 10);

    ScratchFolder folder;
    EXPECT_TRUE(SaveExportWorkbook(Utf8Text(folder.File("写入.xlsx"))));
    CloseExportWorkbook();
    EXPECT_EQ(ReadCell(1, 1), Text());
    EXPECT_EQ(WriteCheck(), 0);
    EXPECT_FALSE(SaveExportWorkbook(Utf8Text(folder.File("after-close.xlsx"))));

    const auto cells = TextCells(folder.File("写入.xlsx"));
    EXPECT_EQ(cells.size(), 13u);
    EXPECT_EQ(cells.at("A1"), "手机号");
    EXPECT_EQ(cells.at("G2"), "地址");
    EXPECT_EQ(cells.at("A12"), "12");
}

TEST_F(ExportTest, WithoutAnApplicationEveryStepDoesNothing) {
    platform::SetSpreadsheetAvailable(false);
    OpenExportWorkbook();
    WriteCell(1, 1, "公司名"_t);
    EXPECT_EQ(ReadCell(1, 1), Text());
    EXPECT_EQ(WriteCheck(), 0);
    ScratchFolder folder;
    EXPECT_FALSE(SaveExportWorkbook(Utf8Text(folder.File("none.xlsx"))));
    CloseExportWorkbook();
    EXPECT_TRUE(folder.Entries().empty());
}

}  // namespace
}  // namespace tarvolin
