#pragma once

#include <QFlags>
#include <QWidget>

namespace lorvi {

// Frame styles of a panel: a two-pixel sunken edge, a one-pixel thin sunken edge and a raised
// three-pixel dialog frame. They combine; the dialog frame is outermost, the client edge innermost.
enum TSBorder { bClientEdge = 0x1, bStaticEdge = 0x2, bModalFrame = 0x4 };
Q_DECLARE_FLAGS(TSBorderStyle, TSBorder)
Q_DECLARE_OPERATORS_FOR_FLAGS(TSBorderStyle)

// A container whose frame is made of the classic window edges, painted inside its own rectangle.
// The frame is kept out of the children's area through the contents margins, so children placed
// by a layout (or within contentsRect()) sit inside it.
class TSPanel : public QWidget {
  Q_OBJECT

 public:
  explicit TSPanel(QWidget* parent = nullptr);

  TSBorderStyle BorderStyle() const { return borderStyle_; }
  // An equal value changes nothing; another one re-frames and repaints the panel at once.
  void SetBorderStyle(TSBorderStyle style);

  // The background colour (palette Window, inherited by children that do not set their own).
  QColor Color() const;
  void SetColor(const QColor& color);

  // Width of the frame of `style` on each side.
  static int FrameWidth(TSBorderStyle style);

 signals:
  // A left-button press on the panel released over it.
  void clicked();
  void doubleClicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  TSBorderStyle borderStyle_ = bModalFrame;
  bool clickArmed_ = false;
};

}  // namespace lorvi
