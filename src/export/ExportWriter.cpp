#include "export/ExportWriter.h"

#include "platform/Spreadsheet.h"

namespace tarvolin {
namespace {

struct WorkbookComponent {
    platform::SpreadsheetWorkbooks workbooks;
    platform::SpreadsheetApplication application;  // the reference taken from the application
    platform::SpreadsheetSheets sheets;
    platform::SpreadsheetSheet sheet;
    platform::SpreadsheetRange range;
    Text startCorner;
    Text endCorner;
};

struct ExportComponents {
    platform::SpreadsheetApplication application;
    WorkbookComponent workbook;
};

ExportComponents& Components() {
    static ExportComponents components;
    return components;
}

Text CellAddress(int row, int column) {
    const Text letters = ColumnLetters(column);
    return letters.empty() ? Text() : letters + IntToText(row);
}

}  // namespace

Text ColumnLetters(int column) {
    std::string letters;
    for (; column > 0; column = (column - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
    return Text::FromBytesUnchecked(std::move(letters));
}

void WriteCell(int row, int column, const Text& value) {
    WorkbookComponent& book = Components().workbook;
    const Text address = CellAddress(row, column);
    book.startCorner = address;
    book.endCorner = address;
    book.range = book.sheet.Range(address.bytes(), address.bytes());
    book.range.SetValue(TextToUtf8(value));
}

Text ReadCell(int row, int column) {
    WorkbookComponent& book = Components().workbook;
    const Text address = CellAddress(row, column);
    if (!book.sheet.Held() || address.empty()) return {};
    book.startCorner = address;
    const std::optional<std::string> value = book.sheet.Range(address.bytes(), address.bytes()).Value();
    return value ? Utf8Text(*value) : Text();
}

void OpenExportWorkbook() {
    ExportComponents& components = Components();
    components.workbook = {};
    components.application = platform::SpreadsheetApplication::Create();
    WorkbookComponent& book = components.workbook;
    book.workbooks = components.application.Workbooks();
    book.workbooks.Add();
    book.application = components.application.Application();
    book.sheets = book.application.Sheets();
    book.sheet = book.sheets.Item(1);
    book.application.Activate();
    book.sheet = book.sheets.Item(1);
}

bool SaveExportWorkbook(const Text& path) {
    return SaveExportWorkbookUtf8(TextToUtf8(path));
}

bool SaveExportWorkbookUtf8(const std::string& path) {
    const WorkbookComponent& book = Components().workbook;
    return book.application.Held() && book.sheet.SaveAs(path);
}

void CloseExportWorkbook() {
    ExportComponents& components = Components();
    components.workbook.workbooks.Close();
    components.workbook = {};
    components.application.Quit();
    components.application = {};
}

int WriteCheck(const std::function<void()>& afterEachRead) {
    int filled = 0;
    for (int row = 1; row <= 10; ++row) {
        if (!ReadCell(row, 1).empty()) ++filled;
        if (afterEachRead) afterEachRead();
    }
    return filled;
}

}  // namespace tarvolin
