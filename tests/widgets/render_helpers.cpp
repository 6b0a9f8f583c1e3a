#include "render_helpers.h"

#include <QFont>
#include <QWidget>

namespace lorvi::test {

QPalette RolePalette(const RoleColors& colors) {
  QPalette palette;
  palette.setColor(QPalette::Window, colors.window);
  palette.setColor(QPalette::Button, colors.button);
  palette.setColor(QPalette::Light, colors.light);
  palette.setColor(QPalette::Midlight, colors.midlight);
  palette.setColor(QPalette::Dark, colors.dark);
  palette.setColor(QPalette::Mid, colors.dark);
  palette.setColor(QPalette::Shadow, colors.shadow);
  palette.setColor(QPalette::WindowText, colors.text);
  palette.setColor(QPalette::ButtonText, colors.text);
  return palette;
}

QImage Render(QWidget& widget, const QColor& backdrop) {
  QImage image(widget.size(), QImage::Format_RGB32);
  image.fill(backdrop);
  widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
  return image;
}

QRect InkBounds(const QImage& image, const QColor& color) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) == color) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

QFont CrispFont(int pixel_size) {
  QFont font("DejaVu Sans");
  font.setPixelSize(pixel_size);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

}  // namespace lorvi::test
