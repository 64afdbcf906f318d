#include "platform/SpreadsheetCells.h"

namespace tarvolin::platform {

bool ParseCellAddress(std::string_view address, int& row, int& column) {
    std::size_t i = 0;
    long long letters = 0;
    for (; i < address.size(); ++i) {
        const char c = address[i];
        const bool upper = c >= 'A' && c <= 'Z', lower = c >= 'a' && c <= 'z';
        if (!upper && !lower) break;
        letters = letters * 26 + (upper ? c - 'A' : c - 'a') + 1;
        if (letters > kSheetColumns) return false;
    }
    if (i == 0 || i == address.size() || address[i] == '0') return false;
    long long number = 0;
    for (; i < address.size(); ++i) {
        const char c = address[i];
        if (c < '0' || c > '9') return false;
        number = number * 10 + (c - '0');
        if (number > kSheetRows) return false;
    }
    row = static_cast<int>(number);
    column = static_cast<int>(letters);
    return true;
}

void CellGrid::Set(int row, int column, std::string text) {
    if (text.empty()) {
        const auto found = rows_.find(row);
        if (found != rows_.end() && static_cast<std::size_t>(column) <= found->second.size())
            found->second[column - 1].clear();
        return;
    }
    std::vector<std::string>& cells = rows_[row];
    if (cells.size() < static_cast<std::size_t>(column)) cells.resize(column);
    cells[column - 1] = std::move(text);
}

const std::string& CellGrid::Get(int row, int column) const {
    static const std::string empty;
    const auto found = rows_.find(row);
    if (found == rows_.end() || static_cast<std::size_t>(column) > found->second.size()) return empty;
    return found->second[column - 1];
}

}  // namespace tarvolin::platform
