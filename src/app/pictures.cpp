#include "app/pictures.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <initializer_list>

namespace lorvi {
namespace {

constexpr int kSide = 16;

// Drawn from the program's resources, data/pictures/<name>.svg.
QImage Render(const char* name) {
  QSvgRenderer renderer(QStringLiteral(":/pictures/%1.svg").arg(QLatin1String(name)));
  QImage image(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter);
  painter.end();
  return image;
}

// The drawings are kept as images: a static pixmap would outlive the application object.
QList<QImage> RenderAll(std::initializer_list<const char*> names) {
  QList<QImage> images;
  for (const char* name : names) images.append(Render(name));
  return images;
}

const QList<QImage>& IL() {
  static const QList<QImage> images = RenderAll({
      "two-persons",
      "question-bubble",
      "curved-arrow",
      "sheet-with-round-arrows",
      "briefcase",
      "calendar",
      "two-sheets",
      "notepad-with-pen",
      "sheet-with-blue-arrow",
      "magnifier-over-person",
      "green-disc",
      "help-book",
      "printer",
  });
  return images;
}

const QList<QImage>& TabIL() {
  static const QList<QImage> images = {
      IL()[0],
      Render("sheet-with-red-arrow"),
      Render("sheet-with-green-arrow"),
      Render("person-with-cross"),
      IL()[1],
  };
  return images;
}

QPixmap At(const QList<QImage>& images, int index) {
  return index >= 0 && index < images.size() ? QPixmap::fromImage(images[index]) : QPixmap();
}

QList<QPixmap> All(const QList<QImage>& images) {
  QList<QPixmap> pixmaps;
  for (const QImage& image : images) pixmaps.append(QPixmap::fromImage(image));
  return pixmaps;
}

}  // namespace

QPixmap ILPicture(int index) { return At(IL(), index); }
QPixmap TabILPicture(int index) { return At(TabIL(), index); }
QList<QPixmap> ILPictures() { return All(IL()); }
QList<QPixmap> TabILPictures() { return All(TabIL()); }

QPixmap FloppyDiskPicture() {
  static const QImage image = Render("floppy-disk");
  return QPixmap::fromImage(image);
}

QPixmap MagnifierPicture() {
  static const QImage image = Render("magnifier");
  return QPixmap::fromImage(image);
}

QIcon ProgramIcon() {
  // Drawn from the file that the desktop's menus show, at the sizes window managers ask for.
  QSvgRenderer renderer(QStringLiteral(":/ru.lorvi.analyser.svg"));
  QIcon icon;
  if (!renderer.isValid()) return icon;
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

}  // namespace lorvi
