#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

// The cells of one worksheet, kept in memory until the workbook is saved. Internal to the
// spreadsheet stand-in.
namespace tarvolin::platform {

inline constexpr int kSheetRows = 1048576;
inline constexpr int kSheetColumns = 16384;

// Row and column (1-based) of a cell address in A1 notation ("G26", "xfd1048576"); false for
// anything else, including cells outside the sheet.
bool ParseCellAddress(std::string_view address, int& row, int& column);

// Texts by row and column, 1-based. Rows are kept in order, each as a vector of its cells, so a
// cell costs one string and a save walks the cells row by row.
class CellGrid {
public:
    // An empty text clears the cell.
    void Set(int row, int column, std::string text);
    // The cell's text; empty for a cell never set.
    const std::string& Get(int row, int column) const;

    // Calls visit(row, column, text) for every non-empty cell, row by row, left to right.
    template <class Visit>
    void ForEach(Visit&& visit) const {
        for (const auto& [row, cells] : rows_)
            for (std::size_t i = 0; i < cells.size(); ++i)
                if (!cells[i].empty()) visit(row, static_cast<int>(i) + 1, cells[i]);
    }

private:
    std::map<int, std::vector<std::string>> rows_;
};

}  // namespace tarvolin::platform
