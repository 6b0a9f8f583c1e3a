#pragma once

#include <QString>
#include <QTableView>

#include <map>

#include "models/grid_model.h"
#include "view/text_grid.h"

namespace lorvi {

// One of the four contribution grids on the screen: shows a text grid of the core, with its fixed
// row and column held in place, and reports the cell the user selects. It scrolls by whole cells:
// the first scrollable column and row on screen are never cut. Every figure can be read: a text
// cut by its column shows whole in a tooltip, and the user widens a column by dragging its right
// edge in the title row (the names column's too), or fits it to its longest text by a double
// click there. The user's widths hold until the grid is filled for something else.
class TStringGrid : public QTableView {
  Q_OBJECT

 public:
  TStringGrid(const TextGrid& grid, QWidget* parent = nullptr);

  GridTag Tag() const { return grid_.Tag(); }
  const TextGrid& Grid() const { return grid_; }

  // Shows the grid anew: counts, widths, texts, selected cell and scroll position. `fill` names
  // what the grid shows (the organisation); with it or the column titles changed, the widths go
  // back to those the grid was filled with.
  void Refresh(const QString& fill = QString());

  // Column `col` (grid coordinates) as the user set it on the partner grid.
  void SetUserWidth(int col, int width);
  // The width of column `col` on screen (grid coordinates).
  int ShownWidth(int col) const;

 signals:
  // The user selected cell (col, row), in grid coordinates.
  void cellSelected(int col, int row);
  // The user scrolled: the first visible scrollable cell is now (col, row).
  void scrolled(int col, int row);
  // The user set column `col` (grid coordinates) to `width` pixels.
  void columnResized(int col, int width);

 protected:
  void scrollContentsBy(int dx, int dy) override;
  void updateGeometries() override;
  // A notch of the wheel: three whole rows, or with Shift (or a sideways wheel) one whole column,
  // as the scroll bars step.
  void wheelEvent(QWheelEvent* event) override;
  // Tooltips of cut texts.
  bool viewportEvent(QEvent* event) override;
  // A table tells screen readers of every new current cell, whether it has the focus or not: the
  // partner that follows a selection, or a hidden grid, must not talk over the grid in use.
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  // The fixed cells' tooltips, and the drag of the names column's edge in the title row.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetUpWidths();
  // The grid's own width of column `col`, or the user's where the user set one.
  int ColumnWidth(int col) const;
  void ApplyWidths();
  void UserResized(int col, int width);
  // Column `col` as wide as its longest text, title included.
  void FitColumn(int col);
  // The pixels a cell needs for its whole text, the insets included.
  int TextWidth(const QVariant& text, const QVariant& font) const;
  // Shows `text` in a tooltip over `rect` of `widget` when `needed` pixels do not fit it.
  bool ToolTipIfCut(QWidget* widget, const QPoint& at, const QRect& rect, const QVariant& text,
                    int needed) const;
  bool NamesEdgeEvent(QEvent* event);

  void ReportScroll();
  // Puts the first visible scrollable column and row whole at the fixed cells' edge.
  void AlignToWholeCells();

  const TextGrid& grid_;
  TextGridModel* model_;
  bool refreshing_ = false;
  QPoint wheelRest_;               // what a fine wheel turned short of a notch
  QString fill_;                   // what the user's widths were set for
  std::map<int, int> userWidths_;  // by grid column
  QWidget* corner_ = nullptr;      // the title cell of the names column
  bool draggingNames_ = false;
  int namesGrab_ = 0;  // from the mouse to the names column's edge
};

}  // namespace lorvi
