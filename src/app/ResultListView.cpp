#include "app/ResultListView.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>
#include <QTimer>

namespace tarvolin {
namespace {
constexpr int kPaintIntervalMs = 40;
}

ResultListView::ResultListView(QWidget* parent) : QTableView(parent) {
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setSortingEnabled(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setContextMenuPolicy(Qt::CustomContextMenu);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 4);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    scrollBarSpacer_ = new QWidget(this);
    addScrollBarWidget(scrollBarSpacer_, Qt::AlignBottom);
}

void ResultListView::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    if (!model) return;
    connect(model, &QAbstractItemModel::rowsInserted, this, &ResultListView::HoldPainting);
    connect(model, &QAbstractItemModel::dataChanged, this, &ResultListView::HoldPainting);
}

void ResultListView::ScrollRowIntoView(int row) {
    if (!model()) return;
    const QModelIndex index = model()->index(row, 0);
    if (!index.isValid()) return;
    executeDelayedItemsLayout();  // the scroll range must know the new rows
    scrollTo(index, QAbstractItemView::EnsureVisible);
}

void ResultListView::HoldPainting() {
    if (holdingPaint_) return;
    holdingPaint_ = true;
    setUpdatesEnabled(false);
    QTimer::singleShot(kPaintIntervalMs, this, [this] {
        holdingPaint_ = false;
        setUpdatesEnabled(true);  // repaints the whole list once
    });
}

void ResultListView::SetCoveredBottom(int pixels) {
    coveredBottom_ = std::max(0, pixels);
    scrollBarSpacer_->setFixedHeight(coveredBottom_);
    updateGeometries();
}

// The table view keeps its header in the top margin and resets the others; the bottom one is ours.
void ResultListView::updateGeometries() {
    QTableView::updateGeometries();
    const QMargins margins = viewportMargins();
    if (margins.bottom() != coveredBottom_)
        setViewportMargins(margins.left(), margins.top(), margins.right(), coveredBottom_);
}

}  // namespace tarvolin
