#pragma once

#include <QAbstractTableModel>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "text/Text.h"

namespace tarvolin {

// The rows of the results list: seven text cells a row, appended at the end or all removed,
// never sorted. Each row keeps its cells packed in one byte string (code page 936), so a long
// list costs little more than its texts.
class ResultListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 7;

    explicit ResultListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Index of the new row, whose cells are empty.
    int AppendRow();
    // False for a cell that does not exist.
    bool SetCell(int row, int column, const Text& text);
    // Empty for a cell that does not exist.
    Text Cell(int row, int column) const;
    void Clear();

private:
    struct Row {
        std::string cells;                          // the seven texts, one after the other
        std::array<uint32_t, kColumnCount> ends{};  // where each text ends in cells
    };
    static std::string_view CellView(const Row& row, int column);
    bool Exists(int row, int column) const;

    std::vector<Row> rows_;
};

}  // namespace tarvolin
