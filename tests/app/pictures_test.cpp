#include "app/pictures.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace lorvi {
namespace {

QImage Argb(const QPixmap& pixmap) {
  return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

std::vector<std::pair<QString, QPixmap>> EveryPicture() {
  std::vector<std::pair<QString, QPixmap>> all;
  for (int i = 0; i < kILCount; ++i) all.emplace_back(QString("IL %1").arg(i), ILPicture(i));
  for (int i = 0; i < kTabILCount; ++i) {
    all.emplace_back(QString("TabIL %1").arg(i), TabILPicture(i));
  }
  all.emplace_back("floppy disk", FloppyDiskPicture());
  all.emplace_back("magnifier", MagnifierPicture());
  return all;
}

// The largest difference of one channel between two pictures of the same size.
int LargestDifference(const QImage& a, const QImage& b) {
  int largest = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      for (const int d :
           {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q), qAlpha(p) - qAlpha(q)})
        largest = std::max(largest, std::abs(d));
    }
  }
  return largest;
}

// Pixel for pixel as before: tests/app/pictures holds each picture as it was drawn before it
// became a file of its own, named after its place ("IL 3" in IL-3.png). The renderer applies a
// translucent fill's opacity by its own rounding, so the magnifiers' glass may differ by one level.
TEST(Pictures, EachIsDrawnAsBefore) {
  for (const auto& [name, pixmap] : EveryPicture()) {
    const QString file =
        QString(LORVI_SOURCE_DIR "/tests/app/pictures/%1.png").arg(QString(name).replace(' ', '-'));
    SCOPED_TRACE(file.toStdString());
    const QImage before = QImage(file).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(before.size(), QSize(16, 16));
    const bool glass = name == "IL 9" || name == "magnifier";
    EXPECT_LE(LargestDifference(Argb(pixmap), before), glass ? 1 : 0);
  }
}

TEST(Pictures, EachIsAVisibleSixteenPixelSquareOnATransparentGround) {
  for (const auto& [name, pixmap] : EveryPicture()) {
    SCOPED_TRACE(name.toStdString());
    ASSERT_FALSE(pixmap.isNull());
    ASSERT_EQ(pixmap.size(), QSize(16, 16));
    const QImage image = Argb(pixmap);
    bool clearEdge = false;
    int opaque = 0;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        const int alpha = qAlpha(image.pixel(x, y));
        const bool edge = x == 0 || y == 0 || x == 15 || y == 15;
        if (edge && alpha == 0) clearEdge = true;
        if (alpha >= 200) ++opaque;
      }
    }
    EXPECT_TRUE(clearEdge) << "no transparent pixel along the border";
    EXPECT_GE(opaque, 64) << "too faint to see";
  }
}

// The desktop shows the same file at every size; the window draws it itself.
TEST(Pictures, ProgramIconIsDrawnAtTheSizesWindowManagersAskFor) {
  const QIcon icon = ProgramIcon();
  ASSERT_FALSE(icon.isNull());
  for (const int size : {16, 48, 256}) {
    SCOPED_TRACE(size);
    const QImage image = Argb(icon.pixmap(size, size));
    ASSERT_EQ(image.size(), QSize(size, size));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "rounded corners";
    int opaque = 0;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) opaque += qAlpha(image.pixel(x, y)) >= 200;
    EXPECT_GT(opaque, size * size / 2);
  }
}

TEST(Pictures, IndexesOutsideTheListsGiveNullPixmaps) {
  EXPECT_TRUE(ILPicture(-1).isNull());
  EXPECT_TRUE(ILPicture(kILCount).isNull());
  EXPECT_TRUE(TabILPicture(-1).isNull());
  EXPECT_TRUE(TabILPicture(kTabILCount).isNull());
  EXPECT_EQ(kILCount, 13);
  EXPECT_EQ(kTabILCount, 5);
}

TEST(Pictures, SharedPicturesMatchAndTheOthersDiffer) {
  EXPECT_EQ(Argb(TabILPicture(0)), Argb(ILPicture(0)));
  EXPECT_EQ(Argb(TabILPicture(4)), Argb(ILPicture(1)));

  const std::vector<std::pair<QString, QPixmap>> all = EveryPicture();
  for (size_t a = 0; a < all.size(); ++a) {
    for (size_t b = a + 1; b < all.size(); ++b) {
      const bool shared = (all[a].first == "IL 0" && all[b].first == "TabIL 0") ||
                          (all[a].first == "IL 1" && all[b].first == "TabIL 4");
      if (shared) continue;
      EXPECT_NE(Argb(all[a].second), Argb(all[b].second))
          << all[a].first.toStdString() << " looks like " << all[b].first.toStdString();
    }
  }
}

TEST(Pictures, ListsHoldTheSamePicturesAsTheIndexes) {
  const QList<QPixmap> il = ILPictures();
  ASSERT_EQ(il.size(), kILCount);
  for (int i = 0; i < kILCount; ++i) EXPECT_EQ(Argb(il[i]), Argb(ILPicture(i))) << "IL " << i;
  const QList<QPixmap> tabs = TabILPictures();
  ASSERT_EQ(tabs.size(), kTabILCount);
  for (int i = 0; i < kTabILCount; ++i) {
    EXPECT_EQ(Argb(tabs[i]), Argb(TabILPicture(i))) << "TabIL " << i;
  }
}

int CountPixels(const QPixmap& pixmap, bool (*wanted)(QRgb)) {
  const QImage image = Argb(pixmap);
  int count = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x)
      count += qAlpha(image.pixel(x, y)) >= 200 && wanted(image.pixel(x, y));
  }
  return count;
}

bool Red(QRgb c) { return qRed(c) > qGreen(c) + 80 && qRed(c) > qBlue(c) + 80; }
bool Green(QRgb c) { return qGreen(c) > qRed(c) + 40 && qGreen(c) > qBlue(c) + 40; }

// The tabs are told apart by the colour of their marks, so a swapped index shows here.
TEST(Pictures, TabMarksHaveTheirColours) {
  EXPECT_GE(CountPixels(TabILPicture(1), Red), 12);
  EXPECT_EQ(CountPixels(TabILPicture(1), Green), 0);
  EXPECT_GE(CountPixels(TabILPicture(2), Green), 12);
  EXPECT_EQ(CountPixels(TabILPicture(2), Red), 0);
  EXPECT_GE(CountPixels(TabILPicture(3), Red), 12);
  EXPECT_GE(CountPixels(ILPicture(2), Green), 40);
  EXPECT_GE(CountPixels(ILPicture(3), Green), 20);
}

// The state marker sits next to tree captions and must read as green at a glance.
TEST(Pictures, StateMarkerIsMostlyGreen) {
  const QPixmap disc = ILPicture(10);
  const int opaque = CountPixels(disc, [](QRgb) { return true; });
  const int green = CountPixels(disc, Green);
  EXPECT_GE(opaque, 150);
  EXPECT_GE(green * 10, opaque * 7);
}

}  // namespace
}  // namespace lorvi
