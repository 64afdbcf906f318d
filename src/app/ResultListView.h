#pragma once

#include <QTableView>

namespace tarvolin {

// The report-style results list: one line a row under column headers, no grid, never sorted.
// A table view rather than a tree: appending to a long list and scrolling to its end stay cheap.
class ResultListView : public QTableView {
    Q_OBJECT
public:
    explicit ResultListView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    // Scrolls the row entirely into view at once, rows appended just before included.
    void ScrollRowIntoView(int row);

    // Keeps the rows and the vertical scroll bar clear of the given number of pixels at the
    // bottom, where another control covers the list.
    void SetCoveredBottom(int pixels);
    int CoveredBottom() const { return coveredBottom_; }

protected:
    void updateGeometries() override;

private:
    // Rows arriving one by one from a run are painted a few times a second, not once each.
    void HoldPainting();

    int coveredBottom_ = 0;
    QWidget* scrollBarSpacer_ = nullptr;
    bool holdingPaint_ = false;
};

}  // namespace tarvolin
