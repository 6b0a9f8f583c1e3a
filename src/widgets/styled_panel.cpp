#include "widgets/styled_panel.h"

#include <QMouseEvent>
#include <QPainter>

#include "widgets/edge_drawing.h"

namespace lorvi {

namespace {
// A dialog frame is a raised edge with one pixel of button face inside it.
constexpr int kModalFrameWidth = 3;
}  // namespace

TSPanel::TSPanel(QWidget* parent) : QWidget(parent) {
  resize(185, 41);
  const int frame = FrameWidth(borderStyle_);
  setContentsMargins(frame, frame, frame, frame);
}

int TSPanel::FrameWidth(TSBorderStyle style) {
  int width = 0;
  if (style & bModalFrame) width += kModalFrameWidth;
  if (style & bStaticEdge) width += EdgeWidth(EdgeKind::SunkenOuter);
  if (style & bClientEdge) width += EdgeWidth(EdgeKind::Sunken);
  return width;
}

void TSPanel::SetBorderStyle(TSBorderStyle style) {
  if (style == borderStyle_) return;
  borderStyle_ = style;
  const int frame = FrameWidth(style);
  setContentsMargins(frame, frame, frame, frame);
  repaint();
}

QColor TSPanel::Color() const { return palette().color(QPalette::Active, backgroundRole()); }

void TSPanel::SetColor(const QColor& color) {
  QPalette changed = palette();
  changed.setColor(backgroundRole(), color);
  setPalette(changed);
}

void TSPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Color());
  const QPalette& colors = palette();
  QRect frame = rect();
  if (borderStyle_ & bModalFrame) {
    frame = DrawEdge(painter, frame, EdgeKind::Raised, colors);
    frame = FillRing(painter, frame, colors.color(QPalette::Active, QPalette::Button));
  }
  if (borderStyle_ & bStaticEdge) frame = DrawEdge(painter, frame, EdgeKind::SunkenOuter, colors);
  if (borderStyle_ & bClientEdge) DrawEdge(painter, frame, EdgeKind::Sunken, colors);
}

void TSPanel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) clickArmed_ = true;
}

void TSPanel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const bool click = clickArmed_ && rect().contains(event->position().toPoint());
  clickArmed_ = false;
  if (click) emit clicked();
}

// The second press of a double click reports the double click instead of arming another click.
void TSPanel::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit doubleClicked();
}

}  // namespace lorvi
