#pragma once

#include <QAbstractTableModel>

#include "view/text_grid.h"

namespace lorvi {

// A text grid for a table view: the fixed row and column become the view's headers, so that they
// stay in place while the rest scrolls; the other cells are the model's items. Every cell, fixed
// or not, carries its look in the item roles, as the core decides it: the text (DisplayRole), its
// colour (ForegroundRole, absent for the grid's own text colour), bold (FontRole, absent for
// regular) and the selected cell's white (BackgroundRole, absent otherwise).
class TextGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit TextGridModel(const TextGrid& grid, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Grid coordinates of a model index.
  int GridCol(const QModelIndex& index) const { return index.column() + grid_.FixedCols(); }
  int GridRow(const QModelIndex& index) const { return index.row() + grid_.FixedRows(); }

  // Shows the grid anew after the core changed it: a new table when its texts changed, new looks
  // when only its selected cell moved, nothing otherwise.
  void Refresh();

 private:
  // The role of cell (col, row) of the grid.
  QVariant CellData(int col, int row, int role) const;

  const TextGrid& grid_;
  unsigned long shownVersion_;
  int shownCol_;
  int shownRow_;
};

}  // namespace lorvi
