#pragma once

#include <QTableView>

#include "models/grid_model.h"
#include "view/text_grid.h"

namespace lorvi {

// One of the four contribution grids on the screen: shows a text grid of the core, with its fixed
// row and column held in place, and reports the cell the user selects. It scrolls by whole cells:
// the first scrollable column and row on screen are never cut.
class TStringGrid : public QTableView {
  Q_OBJECT

 public:
  TStringGrid(const TextGrid& grid, QWidget* parent = nullptr);

  GridTag Tag() const { return grid_.Tag(); }
  const TextGrid& Grid() const { return grid_; }

  // Shows the grid anew: counts, widths, texts, selected cell and scroll position.
  void Refresh();

 signals:
  // The user selected cell (col, row), in grid coordinates.
  void cellSelected(int col, int row);
  // The user scrolled: the first visible scrollable cell is now (col, row).
  void scrolled(int col, int row);

 protected:
  void scrollContentsBy(int dx, int dy) override;
  void updateGeometries() override;

 private:
  void ReportScroll();
  // Puts the first visible scrollable column and row whole at the fixed cells' edge.
  void AlignToWholeCells();

  const TextGrid& grid_;
  TextGridModel* model_;
  bool refreshing_ = false;
};

}  // namespace lorvi
