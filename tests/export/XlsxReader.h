#pragma once

#include <map>
#include <string>

namespace tarvolin::test {

struct XlsxCell {
    std::string kind;   // the type the file stores: "s" or "inlineStr" for texts, "f", "n", …
    std::string value;  // UTF-8
};

struct XlsxContent {
    bool read = false;  // false when the reader could not open the file
    int sheets = 0;
    std::map<std::string, XlsxCell> cells;  // by coordinate ("A1"), cells with a value only
};

// Reads the first sheet of an .xlsx file with an independent reader (openpyxl).
XlsxContent ReadXlsx(const std::string& path);

}  // namespace tarvolin::test
