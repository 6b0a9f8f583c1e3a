#include "app/pictures.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QSvgRenderer>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace lorvi {
namespace {

constexpr int kSide = 16;

// A few flat colours, each with a darker shade for its outline.
const QColor kInk(0x30, 0x30, 0x30);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kPaperEdge(0x6C, 0x6C, 0x6C);
const QColor kPaperFold(0xD8, 0xD8, 0xD8);
const QColor kTextLine(0x9C, 0xA8, 0xBC);
const QColor kGreen(0x3C, 0xB4, 0x3C);
const QColor kGreenDark(0x17, 0x6A, 0x17);
const QColor kRed(0xE2, 0x32, 0x2A);
const QColor kRedDark(0x8C, 0x12, 0x0C);
const QColor kBlue(0x3D, 0x7C, 0xDA);
const QColor kBlueDark(0x1A, 0x3C, 0x82);
const QColor kTeal(0x2E, 0xA4, 0x9A);
const QColor kTealDark(0x13, 0x5E, 0x58);
const QColor kSkin(0xF8, 0xCC, 0x9C);
const QColor kSkinDark(0xA0, 0x66, 0x34);
const QColor kYellow(0xFF, 0xF2, 0x9A);
const QColor kYellowDark(0x9A, 0x82, 0x2A);
const QColor kBrown(0xC0, 0x80, 0x3C);
const QColor kBrownDark(0x6A, 0x40, 0x16);
const QColor kGold(0xF2, 0xC8, 0x30);
const QColor kGrey(0xC8, 0xC8, 0xC8);
const QColor kGreyDark(0x5A, 0x5A, 0x5A);
const QColor kGlass(0xCC, 0xE6, 0xFF);

struct Ink {
  char key;
  QColor color;
};

// Small details (heads, glyphs, rings) stay crisp at 16 px only when set pixel by pixel: each
// character of `rows` that has an ink paints one pixel.
void Pixels(QPainter& p, int x, int y, std::initializer_list<const char*> rows,
            std::initializer_list<Ink> inks) {
  int row = y;
  for (const char* line : rows) {
    for (int col = 0; line[col] != '\0'; ++col) {
      for (const Ink& ink : inks) {
        if (ink.key == line[col]) p.fillRect(QRect(x + col, row, 1, 1), ink.color);
      }
    }
    ++row;
  }
}

// Pixels marked '#' in `fill`, ringed by `line` wherever a neighbour is unmarked.
void Glyph(QPainter& p, int x, int y, std::initializer_list<const char*> rows, const QColor& fill,
           const QColor& line) {
  const std::vector<std::string> grid(rows.begin(), rows.end());
  const auto marked = [&grid](int col, int row) {
    return row >= 0 && row < int(grid.size()) && col >= 0 && col < int(grid[row].size()) &&
           grid[row][col] == '#';
  };
  size_t width = 0;
  for (const std::string& line : grid) width = std::max(width, line.size());
  for (int row = -1; row <= int(grid.size()); ++row) {
    for (int col = -1; col <= int(width); ++col) {
      if (marked(col, row)) {
        p.fillRect(QRect(x + col, y + row, 1, 1), fill);
      } else if (marked(col - 1, row) || marked(col + 1, row) || marked(col, row - 1) ||
                 marked(col, row + 1)) {
        p.fillRect(QRect(x + col, y + row, 1, 1), line);
      }
    }
  }
}

// Fills the pixels x0..x1, y0..y1 and rings them with a 1-px outline.
void Box(QPainter& p, int x0, int y0, int x1, int y1, const QColor& fill, const QColor& line) {
  p.fillRect(QRect(x0, y0, x1 - x0 + 1, y1 - y0 + 1), line);
  p.fillRect(QRect(x0 + 1, y0 + 1, x1 - x0 - 1, y1 - y0 - 1), fill);
}

// Fills a shape and strokes its edge with a 1-px pen; coordinates on pixel centres stay sharp.
void Shape(QPainter& p, const QPainterPath& path, const QColor& fill, const QColor& line) {
  p.fillPath(path, fill);
  p.strokePath(path, QPen(line, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
}

QPainterPath Polygon(std::initializer_list<QPointF> points) {
  QPainterPath path;
  path.addPolygon(QPolygonF(QList<QPointF>(points)));
  path.closeSubpath();
  return path;
}

// A straight arrow from `from` to `to` along one axis, as one outline.
QPainterPath StraightArrow(QPointF from, QPointF to, qreal shaft, qreal head, qreal length) {
  const QLineF line(from, to);
  const QPointF along = line.unitVector().p2() - line.unitVector().p1();
  const QPointF across(-along.y(), along.x());
  const QPointF neck = to - along * length;
  return Polygon({from + across * (shaft / 2), neck + across * (shaft / 2),
                  neck + across * (head / 2), to, neck - across * (head / 2),
                  neck - across * (shaft / 2), from - across * (shaft / 2)});
}

// A sheet of paper over the pixels x0..x1, y0..y1 with its top right corner folded.
void Sheet(QPainter& p, int x0, int y0, int x1, int y1, bool text) {
  constexpr int kFold = 3;
  const qreal l = x0 + 0.5, t = y0 + 0.5, r = x1 + 0.5, b = y1 + 0.5;
  Shape(p, Polygon({{l, t}, {r - kFold, t}, {r, t + kFold}, {r, b}, {l, b}}), kPaper, kPaperEdge);
  Shape(p, Polygon({{r - kFold, t}, {r - kFold, t + kFold}, {r, t + kFold}}), kPaperFold,
        kPaperEdge);
  if (!text) return;
  for (int y = y0 + 3; y <= y1 - 2; y += 2) {
    const int right = y <= y0 + kFold ? x1 - kFold - 2 : x1 - 2;
    p.fillRect(QRect(x0 + 2, y, right - x0 - 1, 1), kTextLine);
  }
}

// A bust: a round head over rounded shoulders, nine pixels wide and eleven tall.
void Person(QPainter& p, int x, int y, const QColor& shirt, const QColor& shirtDark) {
  Pixels(p, x, y,
         {
             "..#####..",
             ".##ooo##.",
             ".#ooooo#.",
             ".#ooooo#.",
             ".##ooo##.",
             "..#####..",
         },
         {{'#', kSkinDark}, {'o', kSkin}});
  Pixels(p, x, y + 6,
         {
             ".##...##.",
             "#oo###oo#",
             "#ooooooo#",
             "#ooooooo#",
             "#########",
         },
         {{'#', shirtDark}, {'o', shirt}});
  p.fillRect(QRect(x + 3, y + 6, 3, 1), shirtDark);
}

void QuestionMark(QPainter& p, int x, int y, const QColor& color) {
  Pixels(p, x, y,
         {
             ".####.",
             "##..##",
             "....##",
             "..###.",
             "..##..",
             "......",
             "..##..",
         },
         {{'#', color}});
}

// --- The pictures -------------------------------------------------------------------------------

void DrawTwoPersons(QPainter& p) {
  Person(p, 6, 0, kTeal, kTealDark);
  Person(p, 1, 5, kBlue, kBlueDark);
}

void DrawQuestionBubble(QPainter& p) {
  QPainterPath bubble;
  bubble.addRoundedRect(QRectF(0.5, 0.5, 15, 11), 3, 3);
  bubble = bubble.united(Polygon({{3.5, 10.5}, {2.5, 15.5}, {8.5, 10.5}})).simplified();
  Shape(p, bubble, kYellow, kYellowDark);
  QuestionMark(p, 5, 2, kBlueDark);
}

void DrawCurvedArrow(QPainter& p) {
  QPainterPath curve;
  curve.moveTo(2.5, 15);
  curve.cubicTo(2.5, 8, 5, 5.5, 10, 5.5);
  QPainterPathStroker stroker;
  stroker.setWidth(4);
  stroker.setCapStyle(Qt::FlatCap);
  const QPainterPath head = Polygon({{9.5, 0.5}, {15.5, 5.5}, {9.5, 10.5}});
  Shape(p, stroker.createStroke(curve).united(head).simplified(), kGreen, kGreenDark);
}

void DrawSheetWithRoundArrows(QPainter& p) {
  Sheet(p, 3, 0, 12, 15, false);
  for (int y = 6; y <= 9; y += 3) p.fillRect(QRect(6, y, 4, 1), kTextLine);
  // Two arrows chasing each other round the sheet.
  Glyph(p, 0, 0,
        {
            "................",
            "................",
            "......####......",
            "....##....##.#..",
            "...#........##..",
            "...#.......###..",
            "..........####..",
            "................",
            "................",
            "..####..........",
            "..###.......#...",
            "..##........#...",
            "..#.##....##....",
            "......####......",
        },
        kGreen, kGreenDark);
}

void DrawBriefcase(QPainter& p) {
  Pixels(p, 5, 2,
         {
             "######",
             "#....#",
             "#....#",
         },
         {{'#', kBrownDark}});
  QPainterPath body;
  body.addRoundedRect(QRectF(0.5, 4.5, 15, 10), 1.5, 1.5);
  Shape(p, body, kBrown, kBrownDark);
  p.fillRect(QRect(1, 8, 14, 1), kBrownDark);
  Box(p, 6, 7, 9, 10, kGold, kBrownDark);
}

void DrawCalendar(QPainter& p) {
  Box(p, 1, 2, 14, 15, kPaper, kPaperEdge);
  Box(p, 1, 2, 14, 5, kRed, kRedDark);
  Pixels(p, 3, 0,
         {
             "#......#",
             "#......#",
             "#......#",
             "#......#",
         },
         {{'#', kInk}});
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 4; ++col) {
      const bool today = row == 1 && col == 2;
      p.fillRect(QRect(3 + col * 3, 7 + row * 3, 2, 2), today ? kRed : kTextLine);
    }
  }
}

void DrawTwoSheets(QPainter& p) {
  Sheet(p, 5, 0, 14, 11, true);
  Sheet(p, 1, 4, 10, 15, true);
}

void DrawNotepadWithPen(QPainter& p) {
  Box(p, 1, 2, 11, 15, kYellow, kYellowDark);
  for (int y = 5; y <= 13; y += 2) p.fillRect(QRect(3, y, 7, 1), kTextLine);
  Pixels(p, 2, 1,
         {
             "#.#.#.#.#",
             "#.#.#.#.#",
         },
         {{'#', kInk}});
  // The pen lies across the pad, tip down to the left.
  const QPainterPath pen = Polygon({{15.5, 2.5}, {13.5, 0.5}, {7, 7}, {6, 10}, {9, 9}});
  Shape(p, pen, kBlue, kBlueDark);
  Shape(p, Polygon({{7, 7}, {6, 10}, {9, 9}}), kSkin, kSkinDark);
  p.fillRect(QRect(6, 9, 1, 1), kInk);
}

void SheetWithArrow(QPainter& p, const QColor& fill, const QColor& line, bool outward) {
  Sheet(p, 1, 0, 11, 14, true);
  const QPointF left(3.5, 11.5), right(15.5, 11.5);
  const QPainterPath arrow =
      outward ? StraightArrow(left, right, 4, 8, 4) : StraightArrow(right, left, 4, 8, 4);
  Shape(p, arrow, fill, line);
}

void DrawSheetWithBlueArrow(QPainter& p) { SheetWithArrow(p, kBlue, kBlueDark, true); }

void Magnifier(QPainter& p, qreal cx, qreal cy, qreal radius, qreal handleEnd) {
  // The handle first, so that the rim overlaps its root.
  const QPointF root(cx + radius * 0.6, cy + radius * 0.6);
  QPainterPath handle;
  handle.moveTo(root);
  handle.lineTo(handleEnd, handleEnd);
  QPainterPathStroker stroker;
  stroker.setWidth(3);
  stroker.setCapStyle(Qt::RoundCap);
  Shape(p, stroker.createStroke(handle), kBrown, kBrownDark);
  QPainterPath rim;
  rim.addEllipse(QPointF(cx, cy), radius, radius);
  QPainterPath glass;
  glass.addEllipse(QPointF(cx, cy), radius - 1.5, radius - 1.5);
  Shape(p, rim.subtracted(glass), kGrey, kGreyDark);
  p.fillPath(glass, QColor(kGlass.red(), kGlass.green(), kGlass.blue(), 170));
  p.strokePath(glass, QPen(kGreyDark, 1));
  p.fillRect(QRectF(cx - radius * 0.55, cy - radius * 0.55, 1, 1), Qt::white);
}

void DrawMagnifierOverPerson(QPainter& p) {
  Person(p, 0, 1, kBlue, kBlueDark);
  Magnifier(p, 10, 9, 4, 15);
}

void DrawGreenDisc(QPainter& p) {
  QPainterPath disc;
  disc.addEllipse(QPointF(8, 8), 7.5, 7.5);
  Shape(p, disc, kGreen, kGreenDark);
  Pixels(p, 4, 4,
         {
             "...#....",
             "...##...",
             "######..",
             "#######.",
             "#######.",
             "######..",
             "...##...",
             "...#....",
         },
         {{'#', Qt::white}});
}

void DrawHelpBook(QPainter& p) {
  // Pages show along the right and bottom edges.
  Box(p, 3, 1, 15, 15, kPaper, kPaperEdge);
  Box(p, 1, 0, 13, 14, kBlue, kBlueDark);
  p.fillRect(QRect(2, 1, 2, 13), kBlueDark);
  QuestionMark(p, 6, 4, kGold);
}

void DrawPrinter(QPainter& p) {
  Sheet(p, 4, 0, 11, 6, false);
  QPainterPath body;
  body.addRoundedRect(QRectF(0.5, 5.5, 15, 7), 1.5, 1.5);
  Shape(p, body, kGrey, kGreyDark);
  p.fillRect(QRect(3, 8, 10, 1), kGreyDark);
  p.fillRect(QRect(12, 10, 2, 1), kGreen);
  Box(p, 3, 11, 12, 15, kPaper, kPaperEdge);
  p.fillRect(QRect(5, 13, 6, 1), kTextLine);
}

void DrawSheetWithRedArrow(QPainter& p) { SheetWithArrow(p, kRed, kRedDark, true); }

void DrawSheetWithGreenArrow(QPainter& p) { SheetWithArrow(p, kGreen, kGreenDark, false); }

void DrawPersonWithCross(QPainter& p) {
  Person(p, 1, 2, kBlue, kBlueDark);
  Pixels(p, 9, 8,
         {
             "##...##",
             "#o#.#o#",
             ".#o#o#.",
             "..#o#..",
             ".#o#o#.",
             "#o#.#o#",
             "##...##",
         },
         {{'#', kRedDark}, {'o', kRed}});
}

void DrawFloppyDisk(QPainter& p) {
  Shape(p, Polygon({{0.5, 0.5}, {13.5, 0.5}, {15.5, 2.5}, {15.5, 15.5}, {0.5, 15.5}}), kBlue,
        kBlueDark);
  Box(p, 4, 0, 11, 5, kGrey, kGreyDark);
  p.fillRect(QRect(8, 1, 2, 4), kGreyDark);
  Box(p, 3, 8, 12, 15, kPaper, kPaperEdge);
  p.fillRect(QRect(5, 10, 6, 1), kTextLine);
  p.fillRect(QRect(5, 12, 6, 1), kTextLine);
}

void DrawMagnifier(QPainter& p) { Magnifier(p, 6, 6, 5.5, 14.5); }

using Painter = void (*)(QPainter&);

QImage Render(Painter draw) {
  QImage image(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter);
  painter.end();
  return image;
}

// The drawings are kept as images: a static pixmap would outlive the application object.
QList<QImage> RenderAll(std::initializer_list<Painter> painters) {
  QList<QImage> images;
  for (Painter draw : painters) images.append(Render(draw));
  return images;
}

const QList<QImage>& IL() {
  static const QList<QImage> images = RenderAll({
      DrawTwoPersons,
      DrawQuestionBubble,
      DrawCurvedArrow,
      DrawSheetWithRoundArrows,
      DrawBriefcase,
      DrawCalendar,
      DrawTwoSheets,
      DrawNotepadWithPen,
      DrawSheetWithBlueArrow,
      DrawMagnifierOverPerson,
      DrawGreenDisc,
      DrawHelpBook,
      DrawPrinter,
  });
  return images;
}

const QList<QImage>& TabIL() {
  static const QList<QImage> images = {
      IL()[0],
      Render(DrawSheetWithRedArrow),
      Render(DrawSheetWithGreenArrow),
      Render(DrawPersonWithCross),
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
  static const QImage image = Render(DrawFloppyDisk);
  return QPixmap::fromImage(image);
}

QPixmap MagnifierPicture() {
  static const QImage image = Render(DrawMagnifier);
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
