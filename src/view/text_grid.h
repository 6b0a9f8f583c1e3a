#pragma once

#include <string>
#include <vector>

namespace lorvi {

// The four grids of the window, each grid's Tag: the insured persons' insurance and funded parts,
// then the inventory's.
enum class GridTag { ZLStrah, ZLNakop, ADVStrah, ADVNakop };

inline constexpr GridTag kAllGrids[] = {GridTag::ZLStrah, GridTag::ZLNakop, GridTag::ADVStrah,
                                        GridTag::ADVNakop};

// The grid shown with it in the same view: the insurance part's with the funded part's.
constexpr GridTag Partner(GridTag tag) {
  switch (tag) {
    case GridTag::ZLStrah:
      return GridTag::ZLNakop;
    case GridTag::ZLNakop:
      return GridTag::ZLStrah;
    case GridTag::ADVStrah:
      return GridTag::ADVNakop;
    case GridTag::ADVNakop:
      break;
  }
  return GridTag::ADVStrah;
}

constexpr bool IsInsurancePart(GridTag tag) {
  return tag == GridTag::ZLStrah || tag == GridTag::ADVStrah;
}

constexpr bool IsInventory(GridTag tag) {
  return tag == GridTag::ADVStrah || tag == GridTag::ADVNakop;
}

// The grid's name in the window: "sgZLStrah", "sgZLNakop", "sgADVStrah", "sgADVNakop".
const char* GridName(GridTag tag);

// A string grid as text: counts, fixed cells, column widths, cells, the selected cell and the
// first visible scrollable cell. The window shows it; the core fills, filters and reads it.
// Texts are in code page 1251.
class TextGrid {
 public:
  static constexpr int kDefaultColWidth = 64;

  explicit TextGrid(GridTag tag) : tag_(tag) {}

  GridTag Tag() const { return tag_; }

  int ColCount() const { return colCount_; }
  int RowCount() const { return rowCount_; }
  // Cells outside the new counts are dropped; new columns take the default width.
  void SetColCount(int count);
  void SetRowCount(int count);

  int FixedCols() const { return fixedCols_; }
  int FixedRows() const { return fixedRows_; }
  void SetFixedCols(int n) {
    fixedCols_ = n;
    ++version_;
  }
  void SetFixedRows(int n) {
    fixedRows_ = n;
    ++version_;
  }

  int ColWidth(int col) const;
  void SetColWidth(int col, int width);

  // The text of a cell; empty outside the grid.
  const std::string& Cell(int col, int row) const;
  // Writing outside the grid does nothing.
  void SetCell(int col, int row, std::string text);

  // Keeps row r where keep[r] is true (rows beyond `keep` stay), in one stable pass.
  void KeepRows(const std::vector<bool>& keep);

  // The selected cell and the first visible scrollable cell, as last set (never clamped).
  int Col() const { return col_; }
  int Row() const { return row_; }
  void SetSelection(int col, int row) {
    col_ = col;
    row_ = row;
  }
  int LeftCol() const { return leftCol_; }
  int TopRow() const { return topRow_; }
  void SetTopLeft(int col, int row) {
    leftCol_ = col;
    topRow_ = row;
  }

  // Counts back to 0; selection, scroll position and widths stay.
  void Clear();

  // Goes up with every change of counts, fixed cells, widths or texts, not of the selection or
  // the scroll position: a view shows the grid anew only when it changed.
  unsigned long Version() const { return version_; }

 private:
  GridTag tag_;
  int colCount_ = 0;
  int rowCount_ = 0;
  int fixedCols_ = 0;
  int fixedRows_ = 0;
  std::vector<int> widths_;
  std::vector<std::vector<std::string>> rows_;  // rows_[row][col]
  int col_ = 1, row_ = 1;
  int leftCol_ = 1, topRow_ = 1;
  unsigned long version_ = 0;
};

}  // namespace lorvi
