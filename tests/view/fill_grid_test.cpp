#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text1251.h"
#include "store/org_store.h"
#include "view/cell_look.h"
#include "view/fill_grid.h"

namespace lorvi {
namespace {

using V = std::vector<std::string>;

// A table with the given periods and rows; cells set by the test.
struct Table {
  TInfo info;
  void Period(const std::string& key) {
    info.Periods.Append(key, std::to_string(info.Periods.Count()));
  }
  void Row(const std::string& key) { info.Rows.Append(key, std::to_string(info.Rows.Count())); }
  void Amounts(int row, int col, const std::string& accrued, const std::string& paid) {
    info.StrahN.At(row, col) = accrued;
    info.StrahU.At(row, col) = paid;
  }
};

V Rows(const TextGrid& grid) {
  V out;
  for (int r = 0; r < grid.RowCount(); ++r) {
    std::string line;
    for (int c = 0; c < grid.ColCount(); ++c)
      line += (c ? " | " : "") + Cp1251ToUtf8(grid.Cell(c, r));
    out.push_back(line);
  }
  return out;
}

TEST(FillGrid, LayoutTitlesAndComparisons) {
  Table t;
  t.Period("2011-2");
  t.Period("2011-1");
  t.info.Periods.Sort();  // 2011-1=1, 2011-2=0
  t.Row("ИВАНОВ"_w.data());
  t.Row(std::string("ПЕТРОВ"_w));
  t.Amounts(0, 1, "1234,56", "1000,00");
  t.Amounts(0, 0, "1234.56", "1000.00");
  t.Amounts(1, 1, "500", "750.5");
  t.Amounts(1, 0, "???", "1");
  TextGrid grid(GridTag::ZLStrah);
  FillGrid(t.info, grid, ',');
  EXPECT_EQ(Rows(grid), V({" | Итого: (Н ? У) | 2011-1 (Н ? У) | 2011-2 (Н ? У)",
                           "ИВАНОВ | 2469,12 > 2000 (469,12) | 1234,56 > 1000,00 (234,56) | "
                           "1234.56 > 1000.00 (234,56)",
                           "ПЕТРОВ | 500 < 750,5 (250,5) | 500 < 750.5 (250,5) | ???"}));
  EXPECT_EQ(grid.FixedCols(), 1);
  EXPECT_EQ(grid.FixedRows(), 1);
  EXPECT_EQ(grid.ColWidth(0), 300);
  EXPECT_EQ(grid.ColWidth(1), 180);
  EXPECT_EQ(grid.ColWidth(3), 180);

  // The funded grid reads the other pair; untouched cells compare "0" with "0".
  TextGrid funded(GridTag::ZLNakop);
  FillGrid(t.info, funded, '.');
  EXPECT_EQ(Cp1251ToUtf8(funded.Cell(2, 1)), "0 = 0");
  EXPECT_EQ(Cp1251ToUtf8(funded.Cell(1, 2)), "0 = 0");
}

TEST(FillGrid, TotalsCompareSumsInFloatingPoint) {
  Table t;
  for (const char* p : {"2011-1", "2011-2", "2011-3"}) t.Period(p);
  t.Row("A");
  t.Row("B");
  t.Row("C");
  for (int c = 0; c < 3; ++c) {
    t.Amounts(0, c, "1000.01", "1000");
    t.Amounts(1, c, "???", "");
  }
  t.Amounts(2, 0, "100.01", "100");
  t.Amounts(2, 1, "0.03", "0.02");
  t.Amounts(2, 2, "-5", "0");
  TextGrid grid(GridTag::ADVStrah);
  FillGrid(t.info, grid, ',');
  EXPECT_EQ(Rows(grid)[1],
            "A | 3000,03 > 3000 (0,03) | 1000.01 = 1000 | 1000.01 = 1000 | 1000.01 = 1000");
  EXPECT_EQ(Rows(grid)[2], "B | 0 = 0 | ??? | ??? | ???");
  EXPECT_EQ(Rows(grid)[3],
            "C | 95,04 < 100,02 (4,98) | 100.01 > 100 (0,01) | 0.03 = 0.02 | -5 < 0 (5)");
}

TEST(FillGrid, EmptyTables) {
  // No period: one column of row titles, nothing fixed, no totals.
  Table rowsOnly;
  rowsOnly.Row("A");
  TextGrid grid(GridTag::ADVNakop);
  grid.SetFixedCols(1);
  FillGrid(rowsOnly.info, grid, ',');
  EXPECT_EQ(Rows(grid), V({"", "A"}));
  EXPECT_EQ(grid.FixedCols(), 0);
  EXPECT_EQ(grid.FixedRows(), 1);

  // Nothing at all: a single empty cell.
  FillGrid(TInfo{}, grid, ',');
  EXPECT_EQ(grid.ColCount(), 1);
  EXPECT_EQ(grid.RowCount(), 1);
  EXPECT_EQ(grid.FixedRows(), 0);

  // Periods but no rows: the title row alone.
  Table periodsOnly;
  periodsOnly.Period("2012-4");
  FillGrid(periodsOnly.info, grid, ',');
  EXPECT_EQ(Rows(grid), V({" | Итого: (Н ? У) | 2012-4 (Н ? У)"}));

  // An entry that names no cell (a negative index) shows "???" and adds nothing to the total.
  periodsOnly.info.Rows.Append("A", "-1");
  FillGrid(periodsOnly.info, grid, ',');
  EXPECT_EQ(Rows(grid)[1], "A | 0 = 0 | ???");
}

TEST(RenderNumber, FourDecimalsAtMostTrailingZerosDropped) {
  EXPECT_EQ(RenderNumber(0, ','), "0");
  EXPECT_EQ(RenderNumber(234.56L, ','), "234,56");
  EXPECT_EQ(RenderNumber(1000, '.'), "1000");
  EXPECT_EQ(RenderNumber(-0.5L, '.'), "-0.5");
  EXPECT_EQ(RenderNumber(0.00006L, '.'), "0.0001");
  EXPECT_EQ(RenderNumber(0.000049L, '.'), "0");
  EXPECT_EQ(RenderNumber(1.23456789L, ','), "1,2346");
}

TEST(ShowOrganisation, FillsAllFourAndSelectsTheFirstCell) {
  OrgStore store;
  NewOrgSlot(store);
  KeyRow(store.ZLInfo[0], "A");
  PeriodColumn(store.ZLInfo, 0, "2011-1");
  TextGrid zs(GridTag::ZLStrah), zn(GridTag::ZLNakop), as(GridTag::ADVStrah), an(GridTag::ADVNakop);
  zs.SetSelection(4, 4);
  zs.SetTopLeft(3, 3);
  an.SetSelection(5, 5);
  ShowOrganisation(store, 0, {zs, zn, as, an});
  EXPECT_EQ(zs.ColCount(), 3);
  EXPECT_EQ(as.ColCount(), 1);
  EXPECT_EQ(zs.Col(), 1);
  EXPECT_EQ(zs.Row(), 1);
  EXPECT_EQ(zs.TopRow(), 3);  // not scrolled
  EXPECT_EQ(zn.LeftCol(), 1);
  EXPECT_EQ(zn.TopRow(), 1);
  EXPECT_EQ(an.Col(), 5);
}

TEST(CellLook, SelectedTitlesAndTotals) {
  TextGrid grid(GridTag::ZLStrah);
  grid.SetColCount(3);
  grid.SetRowCount(3);
  grid.SetCell(1, 0, "Итого: (Н ? У)"_w.data());
  grid.SetCell(1, 1, "5 > 3 (2)");
  grid.SetCell(1, 2, "5 = 5");
  grid.SetCell(2, 1, "5 < 7 (2)");
  grid.SetSelection(1, 1);
  using L = CellLook;
  EXPECT_EQ(sgZLStrahDrawCell(grid, 1, 1), (L{true, true, L::kGreen}));
  EXPECT_EQ(sgZLStrahDrawCell(grid, 1, 2), (L{false, false, L::kGrey}));
  EXPECT_EQ(sgZLStrahDrawCell(grid, 1, 0), (L{false, true, L::kText}));
  EXPECT_EQ(sgZLStrahDrawCell(grid, 2, 1), (L{false, false, L::kText}));  // periods never coloured
  EXPECT_EQ(sgZLStrahDrawCell(grid, 0, 1), (L{false, false, L::kText}));
  grid.SetSelection(2, 1);
  EXPECT_EQ(sgZLStrahDrawCell(grid, 2, 1), (L{true, true, L::kBlack}));
  grid.SetSelection(0, 1);  // the title column is never drawn as selected
  EXPECT_EQ(sgZLStrahDrawCell(grid, 0, 1), (L{false, false, L::kText}));
  grid.SetCell(1, 2, "a < b = c");  // a later sign wins
  EXPECT_EQ(sgZLStrahDrawCell(grid, 1, 2).colour, L::kGrey);
}

}  // namespace
}  // namespace lorvi
