#pragma once

#include <string>

#include "platform/SpreadsheetCells.h"

// Writing a worksheet's cells as an .xlsx file. Internal to the spreadsheet stand-in.
namespace tarvolin::platform {

// Writes the cells as the one sheet of an .xlsx workbook at path, every cell a text cell. The
// file is written under a temporary name in the same folder and renamed into place when it is
// complete, so a failed save leaves any earlier file under that name as it was.
bool WriteXlsxFile(const CellGrid& cells, const std::string& sheetName, const std::string& path);

}  // namespace tarvolin::platform
