#include <gtest/gtest.h>

#include "view/text_grid.h"

namespace lorvi {
namespace {

TEST(TextGrid, CountsCellsAndFixedCells) {
  TextGrid grid(GridTag::ADVStrah);
  EXPECT_EQ(grid.Tag(), GridTag::ADVStrah);
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(grid.TopRow(), 1);
  grid.SetColCount(3);
  grid.SetRowCount(4);
  grid.SetFixedCols(1);
  grid.SetFixedRows(1);
  grid.SetCell(2, 3, "x");
  grid.SetCell(3, 0, "outside");
  EXPECT_EQ(grid.Cell(2, 3), "x");
  EXPECT_EQ(grid.Cell(3, 0), "");
  EXPECT_EQ(grid.ColWidth(2), TextGrid::kDefaultColWidth);
  grid.SetColWidth(0, 300);
  EXPECT_EQ(grid.ColWidth(0), 300);

  // Shrinking drops the cells outside; growing brings empty ones.
  grid.SetColCount(2);
  grid.SetColCount(3);
  EXPECT_EQ(grid.Cell(2, 3), "");

  // A grid of one column or row has nothing fixed; clearing keeps selection and scroll.
  grid.SetSelection(2, 2);
  grid.SetTopLeft(1, 2);
  grid.SetRowCount(1);
  EXPECT_EQ(grid.FixedRows(), 0);
  EXPECT_EQ(grid.FixedCols(), 1);
  grid.Clear();
  EXPECT_EQ(grid.ColCount(), 0);
  EXPECT_EQ(grid.FixedCols(), 0);
  EXPECT_EQ(grid.Col(), 2);
  EXPECT_EQ(grid.TopRow(), 2);
}

}  // namespace
}  // namespace lorvi
