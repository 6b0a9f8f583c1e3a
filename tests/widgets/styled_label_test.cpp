#include <gtest/gtest.h>

#include "render_helpers.h"
#include "widgets/edge_drawing.h"
#include "widgets/styled_label.h"

namespace lorvi {
namespace {

using test::RoleColors;

const QColor kBackdrop(1, 2, 3);
const QColor kInner(148, 142, 132);
const QColor kOuter(198, 195, 189);

// A label with distinct role colours, a crisp font and the given size.
struct LabelFixture {
  explicit LabelFixture(int width = 80, int height = 24) {
    label.setPalette(test::RolePalette());
    label.setFont(test::CrispFont());
    label.resize(width, height);
  }
  QImage Render() { return test::Render(label, kBackdrop); }
  QRect Ink() { return test::InkBounds(Render(), RoleColors().text); }
  TSLabel label;
};

TEST(StyledLabel, StartsTransparentAndTopLeft) {
  TSLabel label;
  EXPECT_EQ(label.Style(), lbSimple);
  EXPECT_EQ(label.Alignment(), taLeftJustify);
  EXPECT_EQ(label.Layout(), tlTop);
  EXPECT_EQ(label.GapX(), 0);
  EXPECT_EQ(label.GapY(), 0);
  EXPECT_FALSE(label.WordWrap());
  EXPECT_TRUE(label.Transparent());
  EXPECT_FALSE(label.Flat());
}

TEST(StyledLabel, LotusPlateWithTwoShadowLinesEvenWhenTransparent) {
  LabelFixture f(40, 20);
  f.label.SetStyle(lbLotus);
  const QImage image = f.Render();
  const QColor plate = RoleColors().window;
  EXPECT_EQ(image.pixelColor(0, 0), plate);
  EXPECT_EQ(image.pixelColor(37, 17), plate);
  // Inner line: row H-2 from x 2 to W-2, column W-2 from y 3 to H-2.
  EXPECT_EQ(image.pixelColor(38, 18), kInner);
  EXPECT_EQ(image.pixelColor(2, 18), kInner);
  EXPECT_EQ(image.pixelColor(38, 3), kInner);
  EXPECT_EQ(image.pixelColor(1, 18), kBackdrop);
  EXPECT_EQ(image.pixelColor(38, 2), kBackdrop);
  // Outer line: row H-1 from x 3 to W-1, column W-1 from y 4 to H-1.
  EXPECT_EQ(image.pixelColor(39, 19), kOuter);
  EXPECT_EQ(image.pixelColor(3, 19), kOuter);
  EXPECT_EQ(image.pixelColor(39, 4), kOuter);
  EXPECT_EQ(image.pixelColor(2, 19), kBackdrop);
  EXPECT_EQ(image.pixelColor(39, 3), kBackdrop);
  EXPECT_EQ(image.pixelColor(0, 19), kBackdrop);
}

TEST(StyledLabel, BackgroundAndClientEdge) {
  const RoleColors c;
  LabelFixture f(30, 16);
  EXPECT_EQ(f.Render().pixelColor(15, 8), kBackdrop);
  f.label.SetTransparent(false);
  EXPECT_EQ(f.Render().pixelColor(15, 8), c.window);
  EXPECT_EQ(f.Render().pixelColor(0, 0), c.window);

  f.label.SetTransparent(true);
  f.label.SetStyle(lbClientEdge);
  QImage image = f.Render();
  EXPECT_EQ(image.pixelColor(0, 0), c.dark);
  EXPECT_EQ(image.pixelColor(1, 1), c.shadow);
  EXPECT_EQ(image.pixelColor(29, 15), c.light);
  EXPECT_EQ(image.pixelColor(28, 14), c.midlight);
  EXPECT_EQ(image.pixelColor(2, 2), kBackdrop);
  f.label.SetFlat(true);
  image = f.Render();
  EXPECT_EQ(image.pixelColor(0, 0), c.dark);
  EXPECT_EQ(image.pixelColor(1, 1), kBackdrop);
}

TEST(StyledLabel, GapsAreTakenOnlyBelowTheCurrentSize) {
  LabelFixture f(50, 20);
  f.label.SetGapX(50);
  EXPECT_EQ(f.label.GapX(), 0);
  f.label.SetGapX(49);
  EXPECT_EQ(f.label.GapX(), 49);
  f.label.SetGapX(-5);
  EXPECT_EQ(f.label.GapX(), -5);
  f.label.SetGapY(20);
  EXPECT_EQ(f.label.GapY(), 0);
  f.label.SetGapY(19);
  EXPECT_EQ(f.label.GapY(), 19);
  f.label.resize(100, 40);
  f.label.SetGapY(30);
  EXPECT_EQ(f.label.GapY(), 30);
}

TEST(StyledLabel, GapsMoveTextOnlyWhereTheyApply) {
  LabelFixture f(80, 30);
  f.label.SetCaption("Abc");
  const QRect base = f.Ink();
  ASSERT_FALSE(base.isNull());

  f.label.SetGapX(10);
  f.label.SetGapY(5);
  EXPECT_EQ(f.Ink(), base.translated(10, 5));
  f.label.SetGapX(-2);  // pulls the text past the left side, where the label clips it
  EXPECT_EQ(f.Ink().right(), base.right() - 2);
  EXPECT_EQ(f.Ink().left(), 0);

  f.label.SetAlignment(taRightJustify);
  const QRect right = f.Ink();
  EXPECT_GT(right.left(), 50);
  f.label.SetGapX(10);
  EXPECT_EQ(f.Ink(), right.translated(-12, 0));

  f.label.SetAlignment(taCenter);
  f.label.SetLayout(tlCenter);
  const QRect centred = f.Ink();
  f.label.SetGapX(0);
  f.label.SetGapY(0);
  EXPECT_EQ(f.Ink(), centred);

  f.label.SetLayout(tlBottom);
  const QRect bottom = f.Ink();
  EXPECT_GT(bottom.top(), centred.top());
  f.label.SetGapY(4);
  EXPECT_EQ(f.Ink(), bottom.translated(0, -4));
  // Wrapped text starts at the top whatever the layout asks.
  f.label.SetWordWrap(true);
  EXPECT_EQ(f.Ink().top(), base.top());
}

TEST(StyledLabel, LotusAndEdgeKeepTextOffTheirBorders) {
  LabelFixture f(80, 30);
  f.label.SetCaption("Abc");
  f.label.SetAlignment(taRightJustify);
  f.label.SetLayout(tlBottom);
  const QRect plain = f.Ink();
  f.label.SetStyle(lbLotus);
  EXPECT_EQ(f.Ink(), plain.translated(-2, -2));
  f.label.SetStyle(lbClientEdge);
  EXPECT_EQ(f.Ink(), plain.translated(-2, -2));
  f.label.SetAlignment(taLeftJustify);
  f.label.SetLayout(tlTop);
  f.label.SetStyle(lbSimple);
  const QRect top_left = f.Ink();
  f.label.SetStyle(lbClientEdge);
  EXPECT_EQ(f.Ink(), top_left.translated(2, 2));
}

TEST(StyledLabel, DisabledTextIsGreyWhateverTheFontColour) {
  LabelFixture f;
  f.label.SetCaption("Abc");
  const QColor grey(128, 128, 128);
  f.label.setEnabled(false);
  EXPECT_TRUE(f.Ink().isNull());
  EXPECT_FALSE(test::InkBounds(f.Render(), grey).isNull());
  f.label.setEnabled(true);
  EXPECT_FALSE(f.Ink().isNull());
  EXPECT_TRUE(test::InkBounds(f.Render(), grey).isNull());
}

TEST(StyledLabel, AmpersandIsShownLiterally) {
  LabelFixture f;
  f.label.SetCaption("&&");
  const QRect twice = f.Ink();
  f.label.SetCaption("&");
  const QRect once = f.Ink();
  EXPECT_GT(twice.width(), once.width() + 3);
  f.label.SetCaption("x");
  const QRect x = f.Ink();
  f.label.SetCaption("&x");
  EXPECT_GT(f.Ink().width(), x.width() + 3);
  EXPECT_EQ(f.Ink().bottom(), x.bottom());  // no underline below the x
}

}  // namespace
}  // namespace lorvi
