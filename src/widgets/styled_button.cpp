#include "widgets/styled_button.h"

#include <QAccessible>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "widgets/edge_drawing.h"
#include "widgets/styled_button_accessible.h"

namespace lorvi {
namespace {

const QColor kDisabledImageBlend(150, 150, 150);

Qt::Alignment HorizontalFlag(TAlignment alignment) {
  switch (alignment) {
    case taLeftJustify:
      return Qt::AlignLeft;
    case taRightJustify:
      return Qt::AlignRight;
    case taCenter:
      break;
  }
  return Qt::AlignHCenter;
}

}  // namespace

TSButton::TSButton(QWidget* parent) : QWidget(parent) {
  // Screen readers are told what the button is and how to press it.
  static const bool accessible = [] {
    QAccessible::installFactory(StyledButtonAccessible);
    return true;
  }();
  (void)accessible;
  resize(75, 25);
  setBackgroundRole(QPalette::Button);
  setForegroundRole(QPalette::ButtonText);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
}

void TSButton::Click() {
  if (isEnabled()) emit clicked();
}

void TSButton::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  update();
}

void TSButton::SetImageIndex(int index) {
  if (index == imageIndex_) return;
  imageIndex_ = index;
  update();
}

void TSButton::SetImageList(TImageList* list) {
  disconnect(imageListGone_);
  imageList_ = list;
  if (list != nullptr) {
    imageListGone_ = connect(list, &QObject::destroyed, this, [this] {
      imageList_ = nullptr;
      update();
    });
  }
  update();
}

void TSButton::SetFlat(bool flat) {
  if (flat == flat_) return;
  flat_ = flat;
  update();
}

void TSButton::SetCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  update();
}

QColor TSButton::Color() const { return palette().color(QPalette::Active, backgroundRole()); }

void TSButton::SetColor(const QColor& color) {
  QPalette changed = palette();
  changed.setColor(backgroundRole(), color);
  setPalette(changed);
}

EdgeKind TSButton::Edge() const {
  if (pressed_ && mouseOver_) return flat_ ? EdgeKind::SunkenOuter : EdgeKind::Sunken;
  if (!flat_ || mouseOver_) return EdgeKind::Raised;
  return EdgeKind::RaisedInner;
}

void TSButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect whole = rect();
  painter.fillRect(whole, Color());

  QRect content = whole.adjusted(2, 2, -2, -2);
  if (pressed_ && mouseOver_) content.translate(1, 1);

  if (imageList_ != nullptr && imageIndex_ >= 0) {
    // Integer division truncates towards zero, which is the placement wanted on small buttons.
    const QPoint at(content.left() + 2,
                    content.top() + 2 + (content.height() - 4) / 2 - imageList_->Height() / 2);
    if (isEnabled()) {
      imageList_->Draw(painter, at, imageIndex_);
    } else {
      imageList_->DrawBlend25(painter, at, imageIndex_, kDisabledImageBlend);
    }
    // The caption makes room even when the index is past the end of the list.
    content.setLeft(content.left() + imageList_->Width() + 4);
  }
  content.adjust(2, 0, -2, 0);

  painter.save();
  painter.setClipRect(content, Qt::IntersectClip);
  painter.setPen(isEnabled() ? palette().color(QPalette::Active, foregroundRole()) : kDisabledText);
  // On a squeezed button the caption ends in an ellipsis instead of running under the edge.
  const QString shown =
      fontMetrics().elidedText(caption_, Qt::ElideRight, content.width(), Qt::TextShowMnemonic);
  painter.drawText(
      content,
      Qt::TextSingleLine | Qt::TextShowMnemonic | Qt::AlignVCenter | HorizontalFlag(alignment_),
      shown);
  painter.restore();

  DrawEdge(painter, whole, Edge(), palette());

  if (hasFocus()) {
    // The classic dotted focus frame, inside the edge.
    painter.setPen(QPen(palette().color(QPalette::Active, foregroundRole()), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(whole.adjusted(4, 4, -5, -5));
  }
}

void TSButton::MouseEntered() {
  if (flat_) {
    if (mouseOver_) return;
    mouseOver_ = true;
    update();
  } else {
    mouseOver_ = true;
    if (pressed_) update();
  }
}

void TSButton::MouseLeft() {
  if (flat_) {
    if (!mouseOver_) return;
    mouseOver_ = false;
    update();
  } else {
    mouseOver_ = false;
    if (pressed_) update();
  }
}

void TSButton::HoldDown() {
  pressed_ = true;
  mouseOver_ = true;
  update();
}

void TSButton::enterEvent(QEnterEvent* event) {
  MouseEntered();
  QWidget::enterEvent(event);
}

void TSButton::leaveEvent(QEvent* event) {
  MouseLeft();
  QWidget::leaveEvent(event);
}

void TSButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  HoldDown();
  clickArmed_ = true;
}

// Qt holds enter and leave back while the mouse is grabbed; the look must follow the pointer
// anyway, so a held-down button rises when the pointer leaves and sinks when it comes back.
void TSButton::mouseMoveEvent(QMouseEvent* event) {
  if (!pressed_) return;
  const bool inside = rect().contains(event->position().toPoint());
  if (inside && !mouseOver_) MouseEntered();
  if (!inside && mouseOver_) MouseLeft();
}

void TSButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (pressed_) {
    pressed_ = false;
    update();
  }
  const bool click = clickArmed_ && rect().contains(event->position().toPoint());
  clickArmed_ = false;
  if (click) emit clicked();
}

// The second press of a double click holds the button down again but arms no second click.
void TSButton::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  emit doubleClicked();
  HoldDown();
}

void TSButton::keyPressEvent(QKeyEvent* event) {
  if (event->isAutoRepeat() && (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
                                event->key() == Qt::Key_Enter)) {
    event->accept();
    return;
  }
  switch (event->key()) {
    case Qt::Key_Space:
      // Held down like the mouse's press; the click comes with the release.
      spaceDown_ = true;
      HoldDown();
      event->accept();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      event->accept();
      emit clicked();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

void TSButton::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Space || event->isAutoRepeat() || !spaceDown_) {
    QWidget::keyReleaseEvent(event);
    return;
  }
  spaceDown_ = false;
  pressed_ = false;
  mouseOver_ = underMouse();
  update();
  event->accept();
  emit clicked();
}

void TSButton::focusInEvent(QFocusEvent* event) {
  update();
  QWidget::focusInEvent(event);
}

// Losing the focus while Space is held cancels that press, as a pointer released elsewhere does.
void TSButton::focusOutEvent(QFocusEvent* event) {
  if (spaceDown_) {
    spaceDown_ = false;
    pressed_ = false;
    mouseOver_ = false;
  }
  update();
  QWidget::focusOutEvent(event);
}

}  // namespace lorvi
