#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "render_helpers.h"
#include "widgets/styled_panel.h"

namespace lorvi {
namespace {

using test::RoleColors;

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

TEST(StyledPanel, StartsAsModalFrameOf185By41) {
  TSPanel panel;
  EXPECT_EQ(panel.size(), QSize(185, 41));
  EXPECT_EQ(panel.BorderStyle(), TSBorderStyle(bModalFrame));
  EXPECT_EQ(panel.contentsMargins(), QMargins(3, 3, 3, 3));
}

TEST(StyledPanel, AllThreeFramesNestModalStaticClientFromTheOutside) {
  const RoleColors c;
  TSPanel panel;
  panel.setPalette(test::RolePalette());
  panel.SetColor(QColor(10, 200, 10));
  panel.resize(30, 20);
  panel.SetBorderStyle(bModalFrame | bStaticEdge | bClientEdge);
  EXPECT_EQ(panel.contentsMargins(), QMargins(6, 6, 6, 6));

  const QImage image = test::Render(panel);
  const std::vector<QColor> top_left = {c.midlight, c.light,  c.button,           c.dark,
                                        c.dark,     c.shadow, QColor(10, 200, 10)};
  const std::vector<QColor> bottom_right = {c.shadow, c.dark,     c.button,           c.light,
                                            c.light,  c.midlight, QColor(10, 200, 10)};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(image.pixelColor(i, 10), top_left[i]) << i;
    EXPECT_EQ(image.pixelColor(29 - i, 10), bottom_right[i]) << i;
    EXPECT_EQ(image.pixelColor(15, 19 - i), bottom_right[i]) << i;
  }
}

TEST(StyledPanel, ChangingTheFrameReframesAndMovesLaidOutChildren) {
  const RoleColors c;
  TSPanel panel;
  panel.setPalette(test::RolePalette());
  auto* layout = new QVBoxLayout(&panel);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* child = new QWidget;
  layout->addWidget(child);
  layout->activate();
  EXPECT_EQ(child->geometry(), QRect(3, 3, 179, 35));

  panel.SetBorderStyle({});
  EXPECT_EQ(panel.contentsMargins(), QMargins());
  layout->activate();
  EXPECT_EQ(child->geometry(), panel.rect());
  child->hide();
  QImage image = test::Render(panel);
  EXPECT_EQ(image.pixelColor(0, 0), c.window);
  EXPECT_EQ(image.pixelColor(184, 40), c.window);

  panel.SetBorderStyle(bStaticEdge);
  layout->activate();
  image = test::Render(panel);
  EXPECT_EQ(image.pixelColor(0, 0), c.dark);
  EXPECT_EQ(image.pixelColor(184, 40), c.light);
  EXPECT_EQ(image.pixelColor(1, 1), c.window);
  EXPECT_EQ(panel.contentsMargins(), QMargins(1, 1, 1, 1));
}

TEST(StyledPanel, RepaintsOnlyForADifferentFrame) {
  TSPanel panel;
  panel.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
  QApplication::processEvents();
  PaintCounter paints(&panel);

  panel.SetBorderStyle(bModalFrame);
  QApplication::processEvents();
  EXPECT_EQ(paints.count, 0);

  panel.SetBorderStyle(bModalFrame | bClientEdge);
  EXPECT_GE(paints.count, 1);  // at once, before the event loop runs
}

TEST(StyledPanel, ClicksWhenTheLeftButtonIsReleasedOverIt) {
  TSPanel panel;
  QSignalSpy clicks(&panel, &TSPanel::clicked);
  QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(clicks.count(), 1);
  QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(10, 10));
  QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(300, 10));
  EXPECT_EQ(clicks.count(), 1);
  QTest::mouseClick(&panel, Qt::RightButton, {}, QPoint(10, 10));
  EXPECT_EQ(clicks.count(), 1);
}

}  // namespace
}  // namespace lorvi
