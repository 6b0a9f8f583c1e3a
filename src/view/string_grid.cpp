#include "view/string_grid.h"

#include <QHeaderView>
#include <QScrollBar>

namespace lorvi {

namespace {
constexpr int kRowHeight = 16;
}

TStringGrid::TStringGrid(const TextGrid& grid, QWidget* parent)
    : QTableView(parent), grid_(grid), model_(new TextGridModel(grid, this)) {
  setModel(model_);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(1);
    header->setSectionResizeMode(QHeaderView::Fixed);
  }
  verticalHeader()->setDefaultSectionSize(kRowHeight);
  horizontalHeader()->setFixedHeight(kRowHeight);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  connect(this, &QTableView::clicked, this, [this](const QModelIndex& index) {
    if (!refreshing_) emit cellSelected(model_->GridCol(index), model_->GridRow(index));
  });
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TStringGrid::ReportScroll);
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &TStringGrid::ReportScroll);
  Refresh();
}

void TStringGrid::Refresh() {
  refreshing_ = true;
  model_->Refresh();
  horizontalHeader()->setVisible(grid_.FixedRows() > 0);
  verticalHeader()->setVisible(grid_.FixedCols() > 0);
  if (grid_.FixedCols() > 0) verticalHeader()->setFixedWidth(grid_.ColWidth(0));
  for (int c = 0; c < model_->columnCount(); ++c)
    setColumnWidth(c, grid_.ColWidth(c + grid_.FixedCols()));
  const QModelIndex selected =
      model_->index(grid_.Row() - grid_.FixedRows(), grid_.Col() - grid_.FixedCols());
  if (selected.isValid())
    selectionModel()->setCurrentIndex(selected, QItemSelectionModel::ClearAndSelect);
  else
    selectionModel()->clearSelection();
  horizontalScrollBar()->setValue(grid_.LeftCol() - grid_.FixedCols());
  verticalScrollBar()->setValue(grid_.TopRow() - grid_.FixedRows());
  viewport()->update();
  refreshing_ = false;
}

void TStringGrid::ReportScroll() {
  if (refreshing_) return;
  emit scrolled(horizontalScrollBar()->value() + grid_.FixedCols(),
                verticalScrollBar()->value() + grid_.FixedRows());
}

}  // namespace lorvi
