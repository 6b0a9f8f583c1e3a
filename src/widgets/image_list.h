#pragma once

#include <QColor>
#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QVector>

class QPainter;

namespace lorvi {

// A list of pictures of one size (16 x 16 unless told otherwise). Controls that show a picture of
// the list refer to it without owning it and watch destroyed() to forget it.
class TImageList : public QObject {
  Q_OBJECT

 public:
  explicit TImageList(QObject* parent = nullptr, int width = 16, int height = 16);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Count() const { return static_cast<int>(images_.size()); }

  // Appends a picture, scaled to the list's size if it has another, and returns its index.
  int Add(const QPixmap& picture);
  // The picture at `index`, or a null pixmap when there is none.
  QPixmap Image(int index) const;
  const QVector<QPixmap>& Images() const { return images_; }
  void Clear();

  // Draws the picture unscaled with its top-left corner at `at`; transparent pixels stay
  // transparent. Returns false, drawing nothing, when `index` is out of range.
  bool Draw(QPainter& painter, QPoint at, int index) const;
  // As Draw, with every colour moved a quarter of the way towards `blend`.
  bool DrawBlend25(QPainter& painter, QPoint at, int index, const QColor& blend) const;

 private:
  int width_;
  int height_;
  QVector<QPixmap> images_;
};

}  // namespace lorvi
