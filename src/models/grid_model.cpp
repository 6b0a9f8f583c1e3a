#include "models/grid_model.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QStringList>

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
    : QAbstractTableModel(parent),
      grid_(grid),
      shownVersion_(grid.Version()),
      shownCol_(grid.Col()),
      shownRow_(grid.Row()) {}

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
  // A screen reader reads a figure with the person and the period it belongs to.
  if (role == Qt::AccessibleTextRole) {
    const int col = GridCol(index);
    const int row = GridRow(index);
    QStringList parts;
    if (grid_.FixedCols() > 0) parts << FromCp1251(grid_.Cell(0, row));
    if (grid_.FixedRows() > 0) parts << FromCp1251(grid_.Cell(col, 0));
    parts.removeAll(QString());
    const QString figure = FromCp1251(grid_.Cell(col, row));
    return parts.isEmpty() ? figure
                           : parts.join(QStringLiteral(", ")) + QStringLiteral(": ") + figure;
  }
  return CellData(GridCol(index), GridRow(index), role);
}

// A header without its fixed cells (a grid without periods or rows) shows nothing.
QVariant TextGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal)
    return grid_.FixedRows() > 0 ? CellData(section + grid_.FixedCols(), 0, role) : QVariant();
  return grid_.FixedCols() > 0 ? CellData(0, section + grid_.FixedRows(), role) : QVariant();
}

void TextGridModel::Refresh() {
  if (grid_.Version() != shownVersion_) {
    beginResetModel();
    shownVersion_ = grid_.Version();
    shownCol_ = grid_.Col();
    shownRow_ = grid_.Row();
    endResetModel();
    return;
  }
  // The same texts, another selected cell: only looks change, and views and screen readers are
  // not told of a new table.
  if (grid_.Col() == shownCol_ && grid_.Row() == shownRow_) return;
  shownCol_ = grid_.Col();
  shownRow_ = grid_.Row();
  const int rows = rowCount();
  const int cols = columnCount();
  const QList<int> looks = {Qt::ForegroundRole, Qt::FontRole, Qt::BackgroundRole};
  if (rows > 0 && cols > 0) emit dataChanged(index(0, 0), index(rows - 1, cols - 1), looks);
  if (cols > 0) emit headerDataChanged(Qt::Horizontal, 0, cols - 1);
  if (rows > 0) emit headerDataChanged(Qt::Vertical, 0, rows - 1);
}

}  // namespace lorvi
