#include "widgets/styled_label.h"

#include <QPainter>

#include <cstdlib>

#include "widgets/edge_drawing.h"

namespace lorvi {
namespace {

const QColor kInnerShadow(148, 142, 132);
const QColor kOuterShadow(198, 195, 189);

// An axis-parallel line that leaves out its end point, as GDI's LineTo does.
void LineTo(QPainter& painter, QPoint from, QPoint to, const QColor& color) {
  if (from.y() == to.y() && from.x() != to.x()) {
    const int left = from.x() < to.x() ? from.x() : to.x() + 1;
    painter.fillRect(QRect(left, from.y(), std::abs(to.x() - from.x()), 1), color);
  } else if (from.x() == to.x() && from.y() != to.y()) {
    const int top = from.y() < to.y() ? from.y() : to.y() + 1;
    painter.fillRect(QRect(from.x(), top, 1, std::abs(to.y() - from.y())), color);
  }
}

template <typename T>
bool Assign(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

}  // namespace

TSLabel::TSLabel(QWidget* parent) : QWidget(parent) {
  // A click on the label is the label's, not its parent's.
  setAttribute(Qt::WA_NoMousePropagation);
}

void TSLabel::SetStyle(TLabelStyle style) {
  if (Assign(style_, style)) update();
}

void TSLabel::SetAlignment(TAlignment alignment) {
  if (Assign(alignment_, alignment)) update();
}

void TSLabel::SetLayout(TTextLayout layout) {
  if (Assign(layout_, layout)) update();
}

void TSLabel::SetGapX(int gap) {
  if (gap < width() && Assign(gapX_, gap)) update();
}

void TSLabel::SetGapY(int gap) {
  if (gap < height() && Assign(gapY_, gap)) update();
}

void TSLabel::SetWordWrap(bool wrap) {
  if (Assign(wordWrap_, wrap)) update();
}

void TSLabel::SetTransparent(bool transparent) {
  if (Assign(transparent_, transparent)) update();
}

void TSLabel::SetFlat(bool flat) {
  if (Assign(flat_, flat)) update();
}

void TSLabel::SetCaption(const QString& caption) {
  if (Assign(caption_, caption)) update();
}

QColor TSLabel::Color() const { return palette().color(QPalette::Active, backgroundRole()); }

void TSLabel::SetColor(const QColor& color) {
  QPalette changed = palette();
  changed.setColor(backgroundRole(), color);
  setPalette(changed);
}

// The plate covers all but the last two columns and rows, which hold the shadow, darker inside.
void TSLabel::DrawLotus(QPainter& painter) const {
  const int w = width();
  const int h = height();
  if (w > 2 && h > 2) painter.fillRect(QRect(0, 0, w - 2, h - 2), Color());
  LineTo(painter, {2, h - 2}, {w - 2, h - 2}, kInnerShadow);
  LineTo(painter, {w - 2, h - 2}, {w - 2, 2}, kInnerShadow);
  LineTo(painter, {3, h - 1}, {w - 1, h - 1}, kOuterShadow);
  LineTo(painter, {w - 1, h - 1}, {w - 1, 3}, kOuterShadow);
}

void TSLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!transparent_) painter.fillRect(rect(), Color());
  switch (style_) {
    case lbSimple:
      break;
    case lbLotus:
      DrawLotus(painter);
      break;
    case lbClientEdge:
      DrawEdge(painter, rect(), flat_ ? EdgeKind::SunkenOuter : EdgeKind::Sunken, palette());
      break;
  }

  // The text may run past its rectangle; only the label's own bounds clip it.
  int flags = (wordWrap_ ? Qt::TextWordWrap : Qt::TextSingleLine) | Qt::TextDontClip;
  QRect text = rect();
  switch (alignment_) {
    case taLeftJustify:
      text.setLeft(text.left() + gapX_);
      flags |= Qt::AlignLeft;
      break;
    case taRightJustify:
      text.setRight(text.right() - gapX_);
      flags |= Qt::AlignRight;
      break;
    case taCenter:
      flags |= Qt::AlignHCenter;
      break;
  }
  switch (layout_) {
    case tlTop:
      text.setTop(text.top() + gapY_);
      flags |= Qt::AlignTop;
      break;
    case tlCenter:
      flags |= wordWrap_ ? Qt::AlignTop : Qt::AlignVCenter;
      break;
    case tlBottom:
      text.setBottom(text.bottom() - gapY_);
      flags |= wordWrap_ ? Qt::AlignTop : Qt::AlignBottom;
      break;
  }
  if (style_ == lbLotus) text.adjust(0, 0, -2, -2);
  if (style_ == lbClientEdge) text.adjust(2, 2, -2, -2);

  painter.setPen(isEnabled() ? palette().color(QPalette::Active, foregroundRole()) : kDisabledText);
  painter.drawText(text, flags, caption_);
}

}  // namespace lorvi
