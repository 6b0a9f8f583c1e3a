// Every figure can be read: the user's column widths, fitting a column to its texts, and the
// tooltips of texts their column cuts.
#include <QAbstractButton>
#include <QFontMetrics>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>

#include <algorithm>

#include "app/string_grid.h"
#include "view/cell_look.h"

namespace lorvi {
namespace {

constexpr int kGrip = 4;       // pixels left of a column's right edge that take a drag
constexpr int kMinWidth = 16;  // a column never gets narrower by a drag

}  // namespace

void TStringGrid::SetUpWidths() {
  QHeaderView* titles = horizontalHeader();
  titles->setSectionResizeMode(QHeaderView::Interactive);
  connect(titles, &QHeaderView::sectionResized, this, [this](int section, int, int width) {
    if (!refreshing_) UserResized(section + grid_.FixedCols(), width);
  });
  // The table would fit the rows on screen only; the user asks for the longest text of all.
  disconnect(titles, &QHeaderView::sectionHandleDoubleClicked, this, nullptr);
  connect(titles, &QHeaderView::sectionHandleDoubleClicked, this,
          [this](int section) { FitColumn(section + grid_.FixedCols()); });
  // The names column's title is the table's corner: its right edge takes the drag. Its own click
  // (select all) is never let through.
  setCornerButtonEnabled(true);
  corner_ = findChild<QAbstractButton*>();
  if (corner_ != nullptr) {
    corner_->setMouseTracking(true);
    corner_->installEventFilter(this);
  }
  titles->viewport()->installEventFilter(this);
  verticalHeader()->viewport()->installEventFilter(this);
}

int TStringGrid::ColumnWidth(int col) const {
  const auto user = userWidths_.find(col);
  return user != userWidths_.end() ? user->second : grid_.ColWidth(col);
}

void TStringGrid::ApplyWidths() {
  const bool refreshing = refreshing_;
  refreshing_ = true;
  if (grid_.FixedCols() > 0) verticalHeader()->setFixedWidth(ColumnWidth(0));
  for (int c = 0; c < model_->columnCount(); ++c)
    setColumnWidth(c, ColumnWidth(c + grid_.FixedCols()));
  refreshing_ = refreshing;
}

void TStringGrid::SetUserWidth(int col, int width) {
  userWidths_[col] = width;
  ApplyWidths();
}

int TStringGrid::ShownWidth(int col) const {
  return col < grid_.FixedCols() ? verticalHeader()->width() : columnWidth(col - grid_.FixedCols());
}

void TStringGrid::UserResized(int col, int width) {
  SetUserWidth(col, width);
  emit columnResized(col, width);
}

int TStringGrid::TextWidth(const QVariant& text, const QVariant& font) const {
  const QFont shown = font.isValid() ? font.value<QFont>().resolve(this->font()) : this->font();
  return QFontMetrics(shown).horizontalAdvance(text.toString()) + 2 * kCellTextInset;
}

void TStringGrid::FitColumn(int col) {
  int width = kMinWidth;
  const auto take = [&](const QVariant& text, const QVariant& font) {
    width = std::max(width, TextWidth(text, font));
  };
  if (col < grid_.FixedCols()) {
    for (int r = 0; r < model_->rowCount(); ++r)
      take(model_->headerData(r, Qt::Vertical, Qt::DisplayRole),
           model_->headerData(r, Qt::Vertical, Qt::FontRole));
  } else {
    const int c = col - grid_.FixedCols();
    for (int r = 0; r < model_->rowCount(); ++r) {
      const QModelIndex index = model_->index(r, c);
      take(index.data(Qt::DisplayRole), index.data(Qt::FontRole));
    }
    // The cells give a pixel to the grid line; the title has it for itself.
    if (showGrid()) ++width;
    take(model_->headerData(c, Qt::Horizontal, Qt::DisplayRole),
         model_->headerData(c, Qt::Horizontal, Qt::FontRole));
  }
  UserResized(col, width);
}

bool TStringGrid::ToolTipIfCut(QWidget* widget, const QPoint& at, const QRect& rect,
                               const QVariant& text, int needed) const {
  if (rect.isValid() && needed > rect.width())
    QToolTip::showText(at, text.toString(), widget, rect);
  else
    QToolTip::hideText();
  return true;
}

bool TStringGrid::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QTableView::viewportEvent(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const QModelIndex index = indexAt(help->pos());
  return ToolTipIfCut(viewport(), help->globalPos(), visualRect(index), index.data(),
                      TextWidth(index.data(), index.data(Qt::FontRole)));
}

bool TStringGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == corner_) return NamesEdgeEvent(event);
  if (event->type() != QEvent::ToolTip) return QTableView::eventFilter(watched, event);
  const auto* help = static_cast<QHelpEvent*>(event);
  for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
    if (watched != header->viewport()) continue;
    const Qt::Orientation o = header->orientation();
    const int at = o == Qt::Horizontal ? help->pos().x() : help->pos().y();
    const int section = header->logicalIndexAt(at);
    if (section < 0) return ToolTipIfCut(header->viewport(), {}, {}, {}, 0);
    const int start = header->sectionViewportPosition(section);
    const QRect rect = o == Qt::Horizontal
                           ? QRect(start, 0, header->sectionSize(section), header->height())
                           : QRect(0, start, header->width(), header->sectionSize(section));
    const QVariant text = model_->headerData(section, o, Qt::DisplayRole);
    return ToolTipIfCut(header->viewport(), help->globalPos(), rect, text,
                        TextWidth(text, model_->headerData(section, o, Qt::FontRole)));
  }
  return QTableView::eventFilter(watched, event);
}

// The names column's edge in its title: a drag sets its width, a double click fits it. Nothing
// else of the corner reaches the table, so that a click there selects nothing.
bool TStringGrid::NamesEdgeEvent(QEvent* event) {
  if (event->type() == QEvent::Leave) {
    if (!draggingNames_) corner_->unsetCursor();
    return false;
  }
  const auto* mouse = dynamic_cast<const QMouseEvent*>(event);
  if (mouse == nullptr) return false;
  const int x = mouse->position().toPoint().x();
  const bool onEdge = x >= corner_->width() - kGrip;
  switch (mouse->type()) {
    case QEvent::MouseMove:
      if (draggingNames_)
        UserResized(0, std::max(x + namesGrab_, kMinWidth));
      else if (onEdge)
        corner_->setCursor(Qt::SplitHCursor);
      else
        corner_->unsetCursor();
      return true;
    case QEvent::MouseButtonPress:
      draggingNames_ = mouse->button() == Qt::LeftButton && onEdge;
      namesGrab_ = corner_->width() - x;  // the edge moves with the mouse, not to it
      return true;
    case QEvent::MouseButtonRelease:
      draggingNames_ = false;
      return true;
    case QEvent::MouseButtonDblClick:
      if (onEdge) FitColumn(0);
      return true;
    default:
      return false;
  }
}

}  // namespace lorvi
