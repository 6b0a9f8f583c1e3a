#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "render_helpers.h"
#include "widgets/styled_button.h"

namespace lorvi {
namespace {

using test::RoleColors;

const QColor kPicture(255, 0, 0);
const QColor kGrey(128, 128, 128);

// A 16 x 16 red picture whose top-left pixel is transparent.
QPixmap RedPicture() {
  QImage image(16, 16, QImage::Format_ARGB32);
  image.fill(kPicture);
  image.setPixelColor(0, 0, Qt::transparent);
  return QPixmap::fromImage(image);
}

void Enter(QWidget& widget) {
  QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(&widget, &event);
}

void Leave(QWidget& widget) {
  QEvent event(QEvent::Leave);
  QApplication::sendEvent(&widget, &event);
}

struct ButtonFixture {
  explicit ButtonFixture(int width = 80, int height = 24) {
    button.setPalette(test::RolePalette());
    button.setFont(test::CrispFont());
    button.resize(width, height);
    images.Add(RedPicture());
  }
  QImage Render() { return test::Render(button); }
  QRect Ink() { return test::InkBounds(Render(), RoleColors().text); }
  void ShowPicture() {
    button.SetImageList(&images);
    button.SetImageIndex(0);
  }
  TSButton button;
  TImageList images;
};

TEST(StyledButton, StartsCentredWithoutPicture) {
  TSButton button;
  EXPECT_EQ(button.size(), QSize(75, 25));
  EXPECT_EQ(button.Alignment(), taCenter);
  EXPECT_EQ(button.ImageIndex(), -1);
  EXPECT_EQ(button.ImageList(), nullptr);
  EXPECT_FALSE(button.Pressed());
  EXPECT_FALSE(button.MouseOver());
  EXPECT_FALSE(button.Flat());
  EXPECT_TRUE(button.testAttribute(Qt::WA_OpaquePaintEvent));
}

TEST(StyledButton, PictureSitsAtColumnsFourToNineteenAndShiftsWhenHeld) {
  ButtonFixture f(60, 24);
  f.ShowPicture();
  QImage image = f.Render();
  EXPECT_EQ(test::InkBounds(image, kPicture), QRect(4, 4, 16, 16));
  EXPECT_EQ(image.pixelColor(4, 4), RoleColors().button);  // the transparent pixel

  QTest::mousePress(&f.button, Qt::LeftButton, {}, QPoint(30, 12));
  image = f.Render();
  EXPECT_EQ(test::InkBounds(image, kPicture), QRect(5, 5, 16, 16));
  QTest::mouseRelease(&f.button, Qt::LeftButton, {}, QPoint(30, 12));

  // Halves truncate: (27 - 4 - 4) / 2 = 9, so the picture starts one row lower.
  f.button.resize(60, 27);
  EXPECT_EQ(test::InkBounds(f.Render(), kPicture).top(), 5);
}

TEST(StyledButton, CaptionStaysInsideItsRectangle) {
  ButtonFixture f(70, 24);
  f.button.SetAlignment(taLeftJustify);
  // Full blocks have no side bearings, so their ink shows the text's rectangle exactly; a caption
  // too long for it is elided inside it.
  f.button.SetCaption(QString(20, QChar(0x2588)));
  QRect ink = f.Ink();
  EXPECT_EQ(ink.left(), 4);
  EXPECT_LE(ink.right(), 70 - 5);  // W - 4, exclusive
  EXPECT_GE(ink.right(), 70 - 20);

  f.ShowPicture();
  ink = f.Ink();
  EXPECT_EQ(ink.left(), 24);
  EXPECT_LE(ink.right(), 70 - 5);
  EXPECT_GE(ink.top(), 2);
  EXPECT_LE(ink.bottom(), 21);

  f.button.SetCaption("W");
  f.button.SetAlignment(taRightJustify);
  ink = f.Ink();
  EXPECT_LE(ink.right(), 70 - 5);
  EXPECT_GE(ink.right(), 70 - 7);
}

TEST(StyledButton, AmpersandUnderlinesTheNextCharacter) {
  ButtonFixture f;
  f.button.SetCaption("x");
  const QRect plain = f.Ink();
  f.button.SetCaption("&x");
  const QRect marked = f.Ink();
  EXPECT_GT(marked.bottom(), plain.bottom());  // the underline
  EXPECT_LE(marked.width(), plain.width() + 2);
  f.button.SetCaption("&&");
  const QRect ampersand = f.Ink();
  f.button.SetCaption("&");
  EXPECT_NE(f.Ink(), ampersand);
}

TEST(StyledButton, DisabledShowsGreyCaptionAndBlendedPicture) {
  ButtonFixture f;
  f.ShowPicture();
  f.button.SetCaption("Abc");
  f.button.setEnabled(false);
  const QImage image = f.Render();
  EXPECT_TRUE(test::InkBounds(image, RoleColors().text).isNull());
  EXPECT_FALSE(test::InkBounds(image, kGrey).isNull());
  EXPECT_TRUE(test::InkBounds(image, kPicture).isNull());
  // A quarter of the way from 255, 0, 0 towards 150, 150, 150.
  EXPECT_EQ(image.pixelColor(10, 10), QColor(229, 38, 38));
  EXPECT_EQ(image.pixelColor(4, 4), RoleColors().button);
  EXPECT_EQ(image.pixelColor(0, 0), RoleColors().midlight);  // the edge does not grey out
}

TEST(StyledButton, EdgeFollowsTheState) {
  const RoleColors c;
  ButtonFixture f;
  const auto corner = [&f] {
    const QImage image = f.Render();
    return std::make_pair(image.pixelColor(0, 0), image.pixelColor(1, 1));
  };
  EXPECT_EQ(corner(), std::make_pair(c.midlight, c.light));  // raised
  QTest::mousePress(&f.button, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(corner(), std::make_pair(c.dark, c.shadow));  // sunken
  QTest::mouseRelease(&f.button, Qt::LeftButton, {}, QPoint(5, 5));

  f.button.SetFlat(true);
  Leave(f.button);
  EXPECT_EQ(corner(), std::make_pair(c.light, c.button));  // thin raised
  Enter(f.button);
  EXPECT_EQ(corner(), std::make_pair(c.midlight, c.light));
  QTest::mousePress(&f.button, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(corner(), std::make_pair(c.dark, c.button));  // thin sunken
  QTest::mouseRelease(&f.button, Qt::LeftButton, {}, QPoint(5, 5));
}

TEST(StyledButton, HeldButtonFollowsThePointerAndClicksOnlyOverItself) {
  ButtonFixture f;
  QSignalSpy clicks(&f.button, &TSButton::clicked);
  QTest::mousePress(&f.button, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_TRUE(f.button.Pressed());
  EXPECT_TRUE(f.button.MouseOver());
  EXPECT_EQ(f.button.Edge(), EdgeKind::Sunken);

  QTest::mouseMove(&f.button, QPoint(200, 10));
  EXPECT_TRUE(f.button.Pressed());
  EXPECT_FALSE(f.button.MouseOver());
  EXPECT_EQ(f.button.Edge(), EdgeKind::Raised);
  QTest::mouseMove(&f.button, QPoint(12, 10));
  EXPECT_EQ(f.button.Edge(), EdgeKind::Sunken);
  Leave(f.button);
  EXPECT_EQ(f.button.Edge(), EdgeKind::Raised);

  QTest::mouseRelease(&f.button, Qt::LeftButton, {}, QPoint(200, 10));
  EXPECT_FALSE(f.button.Pressed());
  EXPECT_EQ(clicks.count(), 0);

  Enter(f.button);
  EXPECT_TRUE(f.button.MouseOver());
  QTest::mouseClick(&f.button, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(clicks.count(), 1);
  QTest::mouseClick(&f.button, Qt::RightButton, {}, QPoint(10, 10));
  EXPECT_FALSE(f.button.Pressed());
  EXPECT_EQ(clicks.count(), 1);
  // A release without a press on the button is no click.
  QTest::mouseRelease(&f.button, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(clicks.count(), 1);
}

TEST(StyledButton, FlatButtonTracksTheMouseOnItsOwn) {
  ButtonFixture f;
  f.button.SetFlat(true);
  Enter(f.button);
  EXPECT_TRUE(f.button.MouseOver());
  EXPECT_EQ(f.button.Edge(), EdgeKind::Raised);
  Leave(f.button);
  EXPECT_FALSE(f.button.MouseOver());
  EXPECT_EQ(f.button.Edge(), EdgeKind::RaisedInner);
}

TEST(StyledButton, DoubleClickReportsOneClickAndOneDoubleClick) {
  ButtonFixture f;
  QSignalSpy clicks(&f.button, &TSButton::clicked);
  QSignalSpy doubles(&f.button, &TSButton::doubleClicked);
  QTest::mouseClick(&f.button, Qt::LeftButton, {}, QPoint(10, 10));
  QTest::mouseDClick(&f.button, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_TRUE(f.button.Pressed());
  QTest::mouseRelease(&f.button, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_FALSE(f.button.Pressed());
  EXPECT_EQ(clicks.count(), 1);
  EXPECT_EQ(doubles.count(), 1);
}

// Screen readers see a push button named by its caption and described by its hint, which their
// press action clicks; a disabled button is not clicked.
TEST(StyledButton, IsAPushButtonToScreenReaders) {
  TSButton button;
  button.SetCaption(QStringLiteral("&Печать && выгрузка"));
  button.setToolTip(QStringLiteral("Печать (Ctrl+P)"));
  QSignalSpy clicks(&button, &TSButton::clicked);
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&button);
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(face->role(), QAccessible::Button);
  EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Печать & выгрузка"));
  EXPECT_EQ(face->text(QAccessible::Description), QStringLiteral("Печать (Ctrl+P)"));
  EXPECT_TRUE(face->state().focusable);
  QAccessibleActionInterface* actions = face->actionInterface();
  ASSERT_NE(actions, nullptr);
  EXPECT_EQ(actions->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
  actions->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(clicks.count(), 1);
  button.setEnabled(false);
  actions->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(clicks.count(), 1);
}

TEST(StyledButton, ForgetsADestroyedImageList) {
  ButtonFixture f(70, 24);
  auto images = std::make_unique<TImageList>();
  images->Add(RedPicture());
  f.button.SetImageList(images.get());
  f.button.SetImageIndex(0);
  f.button.SetAlignment(taLeftJustify);
  f.button.SetCaption("Abc");
  EXPECT_GE(f.Ink().left(), 24);

  images.reset();
  EXPECT_EQ(f.button.ImageList(), nullptr);
  const QImage image = f.Render();
  EXPECT_TRUE(test::InkBounds(image, kPicture).isNull());
  EXPECT_LE(test::InkBounds(image, RoleColors().text).left(), 5);

  // A list replaced by another no longer reaches the button when it goes.
  auto first = std::make_unique<TImageList>();
  f.button.SetImageList(first.get());
  f.button.SetImageList(&f.images);
  first.reset();
  EXPECT_EQ(f.button.ImageList(), &f.images);
}

}  // namespace
}  // namespace lorvi
