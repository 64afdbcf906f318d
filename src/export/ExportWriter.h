#pragma once

#include <functional>
#include <string>

#include "text/Text.h"

// The spreadsheet writer every export shares. It drives the one process-wide pair of components:
// the application (Excel程序1) and the workbook component (Excel工作簿1) with its workbooks,
// application reference, sheets, current sheet, current range and the two corners last set.
// Failures of the application are ignored here: a call on something not held does nothing, and a
// read gives empty text. Callers hold an ExportTurn (ExportTurn.h) while they use these.
namespace tarvolin {

// "A" for 1 … "Z" for 26, then "AA", "AB", … as spreadsheets count on; empty below 1.
Text ColumnLetters(int column);

// Writes value into the cell (row, column) of the current sheet, through a range of its own.
void WriteCell(int row, int column, const Text& value);
// The cell's current text; empty when nothing can be read.
Text ReadCell(int row, int column);

// Starts the application and opens a new workbook whose first sheet becomes current.
void OpenExportWorkbook();
// Saves the workbook as .xlsx under path; true when the file was written.
bool SaveExportWorkbook(const Text& path);
bool SaveExportWorkbookUtf8(const std::string& path);
// Closes the workbooks, releases every reference and quits the application.
void CloseExportWorkbook();

// Number of non-empty cells among A1 to A10; afterEachRead, when given, runs after each read.
int WriteCheck(const std::function<void()>& afterEachRead = {});

}  // namespace tarvolin
