#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "widgets/edge_drawing.h"
#include "widgets/image_list.h"
#include "widgets/text_alignment.h"

namespace lorvi {

// A push button with a caption and an optional picture from an image list. Its raised edge sinks
// while the left button is held down over it; a flat button shows a thin edge and rises only under
// the mouse. It paints its whole rectangle. It takes the focus by Tab and by click, shows it with a
// dotted frame, and is pressed by Space (on release, as a click) or Enter. A caption wider than the
// button is elided; the picture stays.
class TSButton : public QWidget {
  Q_OBJECT

 public:
  explicit TSButton(QWidget* parent = nullptr);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);

  // Index of the picture in ImageList(); a negative index means no picture.
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);

  // Not owned. When the list is destroyed the button forgets it and repaints without picture.
  TImageList* ImageList() const { return imageList_; }
  void SetImageList(TImageList* list);

  bool Flat() const { return flat_; }
  void SetFlat(bool flat);

  // The left button went down on the button and has not been released yet.
  bool Pressed() const { return pressed_; }
  // The pointer is over the button (while held down, it follows the pointer as well).
  bool MouseOver() const { return mouseOver_; }

  // One line; "&" underlines the next character and "&&" shows an ampersand.
  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& caption);

  // Face colour (palette Button, inherited from the parent unless set).
  QColor Color() const;
  void SetColor(const QColor& color);

  // The edge for the current state.
  EdgeKind Edge() const;

  QSize sizeHint() const override { return {75, 25}; }

  // Presses the button as a click does (a screen reader's press action); nothing when disabled.
  void Click();

 signals:
  // A left-button press on the button released over it.
  void clicked();
  void doubleClicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void MouseEntered();
  void MouseLeft();
  void HoldDown();

  TAlignment alignment_ = taCenter;
  int imageIndex_ = -1;
  QPointer<TImageList> imageList_;
  QMetaObject::Connection imageListGone_;
  bool pressed_ = false;
  bool mouseOver_ = false;
  bool flat_ = false;
  bool clickArmed_ = false;
  bool spaceDown_ = false;
  QString caption_;
};

}  // namespace lorvi
