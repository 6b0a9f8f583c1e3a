#include "widgets/image_list.h"

#include <QImage>
#include <QPainter>

namespace lorvi {

TImageList::TImageList(QObject* parent, int width, int height)
    : QObject(parent), width_(width), height_(height) {}

int TImageList::Add(const QPixmap& picture) {
  const QSize size(width_, height_);
  images_.append(picture.size() == size
                     ? picture
                     : picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  return Count() - 1;
}

QPixmap TImageList::Image(int index) const {
  return index >= 0 && index < Count() ? images_[index] : QPixmap();
}

void TImageList::Clear() { images_.clear(); }

bool TImageList::Draw(QPainter& painter, QPoint at, int index) const {
  if (index < 0 || index >= Count()) return false;
  painter.drawPixmap(at, images_[index]);
  return true;
}

bool TImageList::DrawBlend25(QPainter& painter, QPoint at, int index, const QColor& blend) const {
  if (index < 0 || index >= Count()) return false;
  QImage image = images_[index].toImage().convertToFormat(QImage::Format_ARGB32);
  const auto mix = [](int own, int other) { return (3 * own + other + 2) / 4; };
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = line[x];
      line[x] = qRgba(mix(qRed(pixel), blend.red()), mix(qGreen(pixel), blend.green()),
                      mix(qBlue(pixel), blend.blue()), qAlpha(pixel));
    }
  }
  painter.drawImage(at, image);
  return true;
}

}  // namespace lorvi
