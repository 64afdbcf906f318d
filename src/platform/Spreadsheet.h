#pragma once

#include <memory>
#include <optional>
#include <string>

// Stand-in for a spreadsheet application driven through its automation interface. Objects are
// handles, cheap to copy; an empty (default) handle is an object not held. Every call on an empty
// handle, on an object whose application has quit or whose workbook was closed, or that fails
// otherwise, reports failure (false, an empty handle or nothing) and changes nothing.
//
// Cells hold texts only and live in memory until SaveAs writes the workbook as an .xlsx file.
// Texts are UTF-8. One application is used by one thread at a time.
namespace tarvolin::platform {

struct SpreadsheetApp;
struct SpreadsheetBook;

// Process-wide: while false, creating an application fails as if none were installed.
void SetSpreadsheetAvailable(bool available);
bool SpreadsheetAvailable();

// Longest text a cell takes, in characters.
inline constexpr int kMaxCellCharacters = 32767;

class SpreadsheetRange {
public:
    SpreadsheetRange() = default;
    bool Held() const;
    // Sets every cell of the range to the text; an empty text clears them. Fails for text that is
    // not UTF-8 or longer than kMaxCellCharacters, and for ranges of more than a million cells.
    bool SetValue(const std::string& text) const;
    // The text of a one-cell range (empty for an empty cell); nothing for a larger range.
    std::optional<std::string> Value() const;

private:
    friend class SpreadsheetSheet;
    std::shared_ptr<SpreadsheetApp> app_;
    std::shared_ptr<SpreadsheetBook> book_;
    int firstRow_ = 0, firstColumn_ = 0, lastRow_ = 0, lastColumn_ = 0;
};

class SpreadsheetSheet {
public:
    SpreadsheetSheet() = default;
    bool Held() const;
    // The rectangle with the two corners in A1 notation ("B2"; letters in either case); empty
    // for an address that is not one.
    SpreadsheetRange Range(const std::string& corner1, const std::string& corner2) const;
    // Saves the sheet's workbook under path as .xlsx, adding ".xlsx" to a file name without an
    // extension. The file appears complete under its name or not at all.
    bool SaveAs(const std::string& path) const;
    // The path SaveAs writes for a given path.
    static std::string SavePath(const std::string& path);

private:
    friend class SpreadsheetSheets;
    std::shared_ptr<SpreadsheetApp> app_;
    std::shared_ptr<SpreadsheetBook> book_;
};

// The sheets of the workbook that was active when they were taken.
class SpreadsheetSheets {
public:
    SpreadsheetSheets() = default;
    bool Held() const;
    // 1-based; a new workbook has one sheet.
    SpreadsheetSheet Item(int index) const;

private:
    friend class SpreadsheetApplication;
    std::shared_ptr<SpreadsheetApp> app_;
    std::shared_ptr<SpreadsheetBook> book_;
};

class SpreadsheetWorkbooks {
public:
    SpreadsheetWorkbooks() = default;
    bool Held() const;
    // A new empty workbook, which becomes the active one.
    bool Add() const;
    // Closes every open workbook without saving.
    bool Close() const;

private:
    friend class SpreadsheetApplication;
    std::shared_ptr<SpreadsheetApp> app_;
};

class SpreadsheetApplication {
public:
    SpreadsheetApplication() = default;
    // A new running application; empty when none is available.
    static SpreadsheetApplication Create();

    bool Held() const;
    SpreadsheetWorkbooks Workbooks() const;
    // The application's reference to itself.
    SpreadsheetApplication Application() const;
    // The sheets of the active workbook; empty when there is none.
    SpreadsheetSheets Sheets() const;
    // Brings the application forward; there is nothing to show, so it only reports whether the
    // application still runs.
    bool Activate() const;
    // Ends the application; open workbooks are discarded and every handle on it fails afterwards.
    bool Quit() const;

private:
    std::shared_ptr<SpreadsheetApp> app_;
};

}  // namespace tarvolin::platform
