#include <gtest/gtest.h>

#include <QSignalSpy>

#include "app/ResultListModel.h"

namespace tarvolin {
namespace {

TEST(ResultListModelTest, CellsAreReplacedInPlaceWithoutTouchingNeighbours) {
    ResultListModel model;
    EXPECT_EQ(model.AppendRow(), 0);
    EXPECT_EQ(model.AppendRow(), 1);
    for (int column = 0; column < 7; ++column)
        model.SetCell(0, column, IntToText(column * 111));
    model.SetCell(0, 3, "一个很长的手机号码文本"_t);
    model.SetCell(0, 0, Text());
    model.SetCell(0, 6, "地址"_t);
    const Text expected[] = {Text(),  "111"_t, "222"_t, "一个很长的手机号码文本"_t,
                             "444"_t, "555"_t, "地址"_t};
    for (int column = 0; column < 7; ++column)
        EXPECT_EQ(model.Cell(0, column), expected[column]) << column;
    for (int column = 0; column < 7; ++column)
        EXPECT_TRUE(model.Cell(1, column).empty());
    EXPECT_EQ(model.data(model.index(0, 6), Qt::DisplayRole).toString(), QStringLiteral("地址"));
}

TEST(ResultListModelTest, CellsOutsideTheListAreEmptyAndCannotBeSet) {
    ResultListModel model;
    model.AppendRow();
    EXPECT_FALSE(model.SetCell(1, 0, "x"_t));
    EXPECT_FALSE(model.SetCell(0, 7, "x"_t));
    EXPECT_FALSE(model.SetCell(-1, 0, "x"_t));
    EXPECT_TRUE(model.Cell(5, 0).empty());
    EXPECT_TRUE(model.Cell(0, -1).empty());
    EXPECT_FALSE(model.data(model.index(3, 0), Qt::DisplayRole).isValid());
}

TEST(ResultListModelTest, ChangesAreAnnouncedToViews) {
    ResultListModel model;
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.AppendRow();
    model.SetCell(0, 2, "0755-1"_t);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex(), model.index(0, 2));
    model.Clear();
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(model.rowCount(), 0);
}

}  // namespace
}  // namespace tarvolin
