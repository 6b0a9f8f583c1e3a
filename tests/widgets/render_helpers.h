#pragma once

#include <QColor>
#include <QImage>
#include <QPalette>
#include <QRect>

class QWidget;

namespace lorvi::test {

// A palette whose roles all differ, so a pixel tells which role painted it.
struct RoleColors {
  QColor window{200, 200, 100};
  QColor button{180, 190, 210};
  QColor light{255, 255, 250};
  QColor midlight{230, 225, 215};
  QColor dark{120, 110, 100};
  QColor shadow{40, 30, 20};
  QColor text{0, 0, 160};
};
QPalette RolePalette(const RoleColors& colors = {});

// The widget painted (with its children) over a backdrop of `backdrop`, in RGB.
QImage Render(QWidget& widget, const QColor& backdrop = QColor(1, 2, 3));

// Bounding box of the pixels of exactly `color`; null when there are none.
QRect InkBounds(const QImage& image, const QColor& color);

// A pixel-size font without antialiasing, so text pixels carry the pen colour exactly.
QFont CrispFont(int pixel_size = 11);

}  // namespace lorvi::test
