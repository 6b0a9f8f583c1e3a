#include "app/string_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWheelEvent>

#include <algorithm>

#include "app/window_font.h"
#include "models/qt_text.h"
#include "view/cell_look.h"

namespace lorvi {
namespace {

constexpr int kRowHeight = 16;

// Draws a cell as the grids do, from the look its model gives: the selected cell's white, the
// text 3 pixels in from the top-left corner in its colour and weight, clipped to the cell.
void DrawCell(QPainter& painter, const QRect& rect, const QVariant& text, const QVariant& colour,
              const QVariant& font, const QVariant& background, const QFont& base,
              const QPalette& palette) {
  if (background.isValid()) painter.fillRect(rect, background.value<QBrush>());
  painter.setFont(font.isValid() ? font.value<QFont>().resolve(base) : base);
  painter.setPen(colour.isValid() ? colour.value<QBrush>().color() : palette.color(QPalette::Text));
  painter.setClipRect(rect);
  painter.drawText(rect.adjusted(kCellTextInset, kCellTextInset, 0, 0),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text.toString());
}

// The scrollable cells.
class CellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    painter->save();
    painter->fillRect(option.rect, option.palette.color(QPalette::Base));
    DrawCell(*painter, option.rect, index.data(Qt::DisplayRole), index.data(Qt::ForegroundRole),
             index.data(Qt::FontRole), index.data(Qt::BackgroundRole), option.font, option.palette);
    // The grid that has the focus frames its current cell, dotted, as the buttons do.
    if (option.state & QStyle::State_HasFocus) {
      painter->setClipping(false);
      painter->setPen(QPen(option.palette.color(QPalette::Text), 1, Qt::DotLine));
      painter->setBrush(Qt::NoBrush);
      painter->drawRect(option.rect.adjusted(1, 1, -2, -2));
    }
    painter->restore();
  }
};

// The fixed row (horizontal) or column (vertical), framed like buttons.
class FixedCells : public QHeaderView {
 public:
  using QHeaderView::QHeaderView;

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
    if (!rect.isValid()) return;
    QStyleOptionHeader frame;
    initStyleOption(&frame);
    frame.rect = rect;
    frame.section = logicalIndex;
    style()->drawControl(QStyle::CE_HeaderSection, &frame, painter, this);
    painter->save();
    const auto role = [&](int r) { return model()->headerData(logicalIndex, orientation(), r); };
    DrawCell(*painter, rect, role(Qt::DisplayRole), role(Qt::ForegroundRole), role(Qt::FontRole),
             role(Qt::BackgroundRole), font(), palette());
    painter->restore();
  }
};

}  // namespace

TStringGrid::TStringGrid(const TextGrid& grid, QWidget* parent)
    : QTableView(parent), grid_(grid), model_(new TextGridModel(grid, this)) {
  setHorizontalHeader(new FixedCells(Qt::Horizontal, this));
  setVerticalHeader(new FixedCells(Qt::Vertical, this));
  setModel(model_);
  setItemDelegate(new CellDelegate(this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setWordWrap(false);
  // The window's font, not the tab control's bigger bold one the grid sits in; set on the fixed
  // cells too, which do not always follow their grid's font, and regular unless a cell says bold.
  QFont font = WindowFont();
  font.setBold(false);
  setFont(font);
  // Tab leaves the grid; the arrows move within it.
  setTabKeyNavigation(false);
  for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(1);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setFont(font);
  }
  verticalHeader()->setDefaultSectionSize(kRowHeight);
  horizontalHeader()->setFixedHeight(kRowHeight);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& index) {
            if (!refreshing_ && index.isValid())
              emit cellSelected(model_->GridCol(index), model_->GridRow(index));
          });
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TStringGrid::ReportScroll);
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &TStringGrid::ReportScroll);
  SetUpWidths();
  Refresh();
}

void TStringGrid::Refresh(const QString& fill) {
  refreshing_ = true;
  model_->Refresh();
  horizontalHeader()->setVisible(grid_.FixedRows() > 0);
  verticalHeader()->setVisible(grid_.FixedCols() > 0);
  // Filled for something else: the user's widths were for what was there before.
  QString shown = fill;
  for (int c = 0; c < grid_.ColCount(); ++c) shown += u'\t' + FromCp1251(grid_.Cell(c, 0));
  if (shown != fill_) {
    fill_ = shown;
    userWidths_.clear();
  }
  ApplyWidths();
  const QModelIndex selected =
      model_->index(grid_.Row() - grid_.FixedRows(), grid_.Col() - grid_.FixedCols());
  if (selected.isValid())
    selectionModel()->setCurrentIndex(selected, QItemSelectionModel::NoUpdate);
  horizontalScrollBar()->setValue(grid_.LeftCol() - grid_.FixedCols());
  verticalScrollBar()->setValue(grid_.TopRow() - grid_.FixedRows());
  viewport()->update();
  horizontalHeader()->viewport()->update();
  verticalHeader()->viewport()->update();
  refreshing_ = false;
}

void TStringGrid::scrollContentsBy(int dx, int dy) {
  QTableView::scrollContentsBy(dx, dy);
  AlignToWholeCells();
}

void TStringGrid::wheelEvent(QWheelEvent* event) {
  constexpr int kNotch = 120;
  QPoint delta = event->angleDelta();
  if (event->modifiers() & Qt::ShiftModifier) delta = QPoint(delta.x() + delta.y(), 0);
  wheelRest_ += delta;
  // Whole notches only; integer division keeps the rest's sign.
  const int across = wheelRest_.x() / kNotch;
  const int down = wheelRest_.y() / kNotch;
  wheelRest_ -= QPoint(across, down) * kNotch;
  // Turned towards the user or away, the wheel moves on through the grid.
  if (down != 0)
    verticalScrollBar()->setValue(verticalScrollBar()->value() -
                                  down * QApplication::wheelScrollLines());
  if (across != 0) horizontalScrollBar()->setValue(horizontalScrollBar()->value() - across);
  event->accept();
}

void TStringGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  if (hasFocus() && isVisible())
    QTableView::currentChanged(current, previous);
  else  // the table's own step but for its announcement, which is the point of skipping it
    QAbstractItemView::currentChanged(current, previous);  // NOLINT(bugprone-parent-virtual-call)
}

void TStringGrid::updateGeometries() {
  QTableView::updateGeometries();
  AlignToWholeCells();
}

// At the end of its range Qt lines the last cell up with the far edge, which cuts the first one
// under the fixed cells and leaves the tails of its texts looking like figures of their own.
void TStringGrid::AlignToWholeCells() {
  bool moved = false;
  for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
    const QScrollBar* bar =
        header == horizontalHeader() ? horizontalScrollBar() : verticalScrollBar();
    if (header->count() == 0) continue;
    const int first = std::min(bar->value(), header->count() - 1);
    const int offset = header->sectionPosition(header->logicalIndex(first));
    if (header->offset() == offset) continue;
    header->setOffset(offset);
    moved = true;
  }
  if (moved) viewport()->update();
}

void TStringGrid::ReportScroll() {
  if (refreshing_) return;
  emit scrolled(horizontalScrollBar()->value() + grid_.FixedCols(),
                verticalScrollBar()->value() + grid_.FixedRows());
}

}  // namespace lorvi
