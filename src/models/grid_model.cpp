#include "models/grid_model.h"

#include <QBrush>
#include <QColor>
#include <QFont>

#include "models/qt_text.h"
#include "view/cell_look.h"

namespace lorvi {
namespace {

// The grid's own text colour is the view's; every other one is the look's.
QVariant ColourOf(CellLook::Colour colour) {
  if (colour == CellLook::kText) return {};
  return QBrush(QColor(static_cast<QRgb>(Rgb(colour))));
}

}  // namespace

TextGridModel::TextGridModel(const TextGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid) {}

int TextGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(grid_.RowCount() - grid_.FixedRows(), 0);
}

int TextGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(grid_.ColCount() - grid_.FixedCols(), 0);
}

QVariant TextGridModel::CellData(int col, int row, int role) const {
  switch (role) {
    case Qt::DisplayRole:
      return FromCp1251(grid_.Cell(col, row));
    case Qt::ForegroundRole:
      return ColourOf(sgZLStrahDrawCell(grid_, col, row).colour);
    case Qt::FontRole:
      if (sgZLStrahDrawCell(grid_, col, row).bold) {
        QFont bold;
        bold.setBold(true);  // only the weight: the rest is the grid's font
        return bold;
      }
      return {};
    case Qt::BackgroundRole:
      if (sgZLStrahDrawCell(grid_, col, row).whiteBackground) return QBrush(Qt::white);
      return {};
    default:
      return {};
  }
}

QVariant TextGridModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  return CellData(GridCol(index), GridRow(index), role);
}

// A header without its fixed cells (a grid without periods or rows) shows nothing.
QVariant TextGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal)
    return grid_.FixedRows() > 0 ? CellData(section + grid_.FixedCols(), 0, role) : QVariant();
  return grid_.FixedCols() > 0 ? CellData(0, section + grid_.FixedRows(), role) : QVariant();
}

void TextGridModel::Refresh() {
  beginResetModel();
  endResetModel();
}

}  // namespace lorvi
