#include "app/ResultListModel.h"

#include "app/QtText.h"
#include "app/WindowLayout.h"

namespace tarvolin {

ResultListModel::ResultListModel(QObject* parent) : QAbstractTableModel(parent) {}

int ResultListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ResultListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !Exists(index.row(), index.column())) return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        return QString::fromStdString(TextToUtf8(Cell(index.row(), index.column())));
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(layout::kColumns[index.column()].alignment | Qt::AlignVCenter);
    }
    return {};
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
    if (role == Qt::DisplayRole) return QString::fromUtf8(layout::kColumns[section].title);
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(layout::kColumns[section].alignment | Qt::AlignVCenter);
    }
    return {};
}

int ResultListModel::AppendRow() {
    const int row = static_cast<int>(rows_.size());
    beginInsertRows({}, row, row);
    rows_.emplace_back();
    endInsertRows();
    return row;
}

bool ResultListModel::SetCell(int row, int column, const Text& text) {
    if (!Exists(row, column)) return false;
    Row& target = rows_[row];
    const uint32_t begin = column == 0 ? 0 : target.ends[column - 1];
    const uint32_t oldLength = target.ends[column] - begin;
    const uint32_t newLength = static_cast<uint32_t>(text.bytes().size());
    target.cells.replace(begin, oldLength, text.bytes());
    for (int later = column; later < kColumnCount; ++later)
        target.ends[later] += newLength - oldLength;
    if (target.cells.capacity() > 2 * target.cells.size() + 32) target.cells.shrink_to_fit();
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
    return true;
}

Text ResultListModel::Cell(int row, int column) const {
    if (!Exists(row, column)) return {};
    return Text::FromBytesUnchecked(std::string(CellView(rows_[row], column)));
}

void ResultListModel::Clear() {
    beginResetModel();
    std::vector<Row>().swap(rows_);
    endResetModel();
}

std::string_view ResultListModel::CellView(const Row& row, int column) {
    const uint32_t begin = column == 0 ? 0 : row.ends[column - 1];
    return std::string_view(row.cells).substr(begin, row.ends[column] - begin);
}

bool ResultListModel::Exists(int row, int column) const {
    return row >= 0 && row < static_cast<int>(rows_.size()) && column >= 0 && column < kColumnCount;
}

}  // namespace tarvolin
