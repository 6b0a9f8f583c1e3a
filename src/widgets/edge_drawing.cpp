#include "widgets/edge_drawing.h"

#include <QPainter>

namespace lorvi {
namespace {

constexpr int kRaisedOuter = 0x1;
constexpr int kSunkenOuter = 0x2;
constexpr int kRaisedInner = 0x4;
constexpr int kSunkenInner = 0x8;

// One border: the top and left sides first, then the bottom and right sides over them, so the
// bottom-right colour owns the top-right and bottom-left corners, as on Windows.
QRect DrawBorder(QPainter& painter, const QRect& rect, const QColor& top_left,
                 const QColor& bottom_right) {
  if (rect.width() <= 0 || rect.height() <= 0) return rect;
  painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), top_left);
  painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), top_left);
  painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottom_right);
  painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), bottom_right);
  return rect.adjusted(1, 1, -1, -1);
}

}  // namespace

int EdgeWidth(EdgeKind kind) {
  const int bits = static_cast<int>(kind);
  return ((bits & (kRaisedOuter | kSunkenOuter)) ? 1 : 0) +
         ((bits & (kRaisedInner | kSunkenInner)) ? 1 : 0);
}

QRect DrawEdge(QPainter& painter, const QRect& rect, EdgeKind kind, const QPalette& palette) {
  const auto color = [&palette](QPalette::ColorRole role) {
    return palette.color(QPalette::Active, role);
  };
  const int bits = static_cast<int>(kind);
  QRect inside = rect;
  if (bits & kRaisedOuter) {
    inside = DrawBorder(painter, inside, color(QPalette::Midlight), color(QPalette::Shadow));
  } else if (bits & kSunkenOuter) {
    inside = DrawBorder(painter, inside, color(QPalette::Dark), color(QPalette::Light));
  }
  if (bits & kRaisedInner) {
    inside = DrawBorder(painter, inside, color(QPalette::Light), color(QPalette::Dark));
  } else if (bits & kSunkenInner) {
    inside = DrawBorder(painter, inside, color(QPalette::Shadow), color(QPalette::Midlight));
  }
  return inside;
}

QRect FillRing(QPainter& painter, const QRect& rect, const QColor& color) {
  return DrawBorder(painter, rect, color, color);
}

QPalette ClassicPalette() {
  const QColor face(212, 208, 200);
  const QColor grey(128, 128, 128);
  QPalette palette(Qt::black, face, Qt::white, grey, grey, Qt::black, Qt::white, Qt::white, face);
  palette.setColor(QPalette::Midlight, face);
  palette.setColor(QPalette::Shadow, QColor(64, 64, 64));
  palette.setColor(QPalette::Highlight, QColor(10, 36, 106));
  palette.setColor(QPalette::HighlightedText, Qt::white);
  for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    palette.setColor(QPalette::Disabled, role, grey);
  }
  return palette;
}

}  // namespace lorvi
