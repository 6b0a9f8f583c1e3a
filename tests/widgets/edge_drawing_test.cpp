#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <vector>

#include "render_helpers.h"
#include "widgets/edge_drawing.h"

namespace lorvi {
namespace {

using test::RoleColors;

struct EdgeCase {
  EdgeKind kind;
  // Colours from the outside in: top-left of each border, then bottom-right of each border.
  std::vector<QColor> top_left;
  std::vector<QColor> bottom_right;
};

TEST(StyledEdge, BordersSitOutsideInWithTheirWindowsColours) {
  const RoleColors c;
  const QColor untouched(1, 2, 3);
  const std::vector<EdgeCase> cases = {
      {EdgeKind::Raised, {c.midlight, c.light}, {c.shadow, c.dark}},
      {EdgeKind::Sunken, {c.dark, c.shadow}, {c.light, c.midlight}},
      {EdgeKind::RaisedInner, {c.light}, {c.dark}},
      {EdgeKind::SunkenOuter, {c.dark}, {c.light}},
  };
  for (const EdgeCase& edge : cases) {
    SCOPED_TRACE(static_cast<int>(edge.kind));
    QImage image(12, 10, QImage::Format_RGB32);
    image.fill(untouched);
    QRect inside;
    {
      QPainter painter(&image);
      inside = DrawEdge(painter, QRect(1, 1, 10, 8), edge.kind, test::RolePalette());
    }
    const int width = static_cast<int>(edge.top_left.size());
    EXPECT_EQ(EdgeWidth(edge.kind), width);
    EXPECT_EQ(inside, QRect(1 + width, 1 + width, 10 - 2 * width, 8 - 2 * width));
    for (int i = 0; i < width; ++i) {
      const int left = 1 + i, top = 1 + i, right = 10 - i, bottom = 8 - i;
      EXPECT_EQ(image.pixelColor(left, 4), edge.top_left[i]) << i;
      EXPECT_EQ(image.pixelColor(5, top), edge.top_left[i]) << i;
      EXPECT_EQ(image.pixelColor(right, 4), edge.bottom_right[i]) << i;
      EXPECT_EQ(image.pixelColor(5, bottom), edge.bottom_right[i]) << i;
      // The bottom-right colour owns the top-right and bottom-left corners.
      EXPECT_EQ(image.pixelColor(right, top), edge.bottom_right[i]) << i;
      EXPECT_EQ(image.pixelColor(left, bottom), edge.bottom_right[i]) << i;
      EXPECT_EQ(image.pixelColor(left, top), edge.top_left[i]) << i;
    }
    EXPECT_EQ(image.pixelColor(0, 0), untouched);
    EXPECT_EQ(image.pixelColor(5, 1 + width), untouched);
  }
}

TEST(StyledEdge, DisabledColourGroupDoesNotChangeTheEdge) {
  QPalette palette = test::RolePalette();
  palette.setColor(QPalette::Disabled, QPalette::Dark, Qt::red);
  palette.setCurrentColorGroup(QPalette::Disabled);
  QImage image(4, 4, QImage::Format_RGB32);
  QPainter painter(&image);
  DrawEdge(painter, image.rect(), EdgeKind::SunkenOuter, palette);
  painter.end();
  EXPECT_EQ(image.pixelColor(0, 0), RoleColors().dark);
}

}  // namespace
}  // namespace lorvi
