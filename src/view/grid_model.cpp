#include "view/grid_model.h"

#include "widgets/qt_text.h"

namespace lorvi {

TextGridModel::TextGridModel(const TextGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid) {}

int TextGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(grid_.RowCount() - grid_.FixedRows(), 0);
}

int TextGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(grid_.ColCount() - grid_.FixedCols(), 0);
}

QVariant TextGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole) return {};
  return FromCp1251(grid_.Cell(GridCol(index), GridRow(index)));
}

QVariant TextGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal)
    return grid_.FixedRows() > 0 ? FromCp1251(grid_.Cell(section + grid_.FixedCols(), 0))
                                 : QString();
  return grid_.FixedCols() > 0 ? FromCp1251(grid_.Cell(0, section + grid_.FixedRows())) : QString();
}

void TextGridModel::Refresh() {
  beginResetModel();
  endResetModel();
}

}  // namespace lorvi
