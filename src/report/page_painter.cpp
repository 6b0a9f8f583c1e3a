#include "report/page_painter.h"

#include <QGlyphRun>
#include <QPageSize>
#include <QPaintDevice>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <optional>

#include "report/text_layout.h"

namespace lorvi::report {
namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kMmPerPoint = kMmPerInch / 72;

void PaintFrame(QPainter& painter, const TextItem& item, const QRectF& rect, double pxPerMm) {
  if (!item.frame.Any()) return;
  // A hairline still shows on a small preview.
  QPen pen(Qt::black, std::max(1.0, item.frame.width * kMmPerPoint * pxPerMm));
  pen.setCapStyle(Qt::SquareCap);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  if (item.frame.left) painter.drawLine(rect.topLeft(), rect.bottomLeft());
  if (item.frame.top) painter.drawLine(rect.topLeft(), rect.topRight());
  if (item.frame.right) painter.drawLine(rect.topRight(), rect.bottomRight());
  if (item.frame.bottom) painter.drawLine(rect.bottomLeft(), rect.bottomRight());
}

// A font at the device's resolution, with its glyphs: the report's texts are plain lines of one
// script, so a character's glyph and advance are looked up in the font's own tables rather than
// shaped line after line (shaping was most of the time of painting a page).
class DeviceGlyphs {
 public:
  DeviceGlyphs(const QFont& font, const QPaintDevice* device)
      : raw_(QRawFont::fromFont(device ? QFont(font, device) : font)),
        underline_(font.underline()) {}

  // The line as a glyph run, with its width; nothing when a character has no glyph of this font
  // (a fallback font would draw it).
  std::optional<QGlyphRun> Run(const QString& text, double& width) const {
    if (!raw_.isValid()) return std::nullopt;
    const QList<quint32> glyphs = raw_.glyphIndexesForString(text);
    if (glyphs.size() != text.size()) return std::nullopt;
    for (qsizetype i = 0; i < glyphs.size(); ++i)
      if (glyphs[i] == 0 && !text[i].isSpace()) return std::nullopt;
    const QList<QPointF> advances =
        raw_.advancesForGlyphIndexes(glyphs, QRawFont::KernedAdvances | QRawFont::UseDesignMetrics);
    QList<QPointF> positions;
    positions.reserve(glyphs.size());
    double x = 0;
    for (const QPointF& advance : advances) {
      positions.append(QPointF(x, 0));
      x += advance.x();
    }
    width = x;
    QGlyphRun run;
    run.setRawFont(raw_);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    run.setUnderline(underline_);
    return run;
  }
  double Ascent() const { return raw_.ascent(); }

 private:
  QRawFont raw_;
  bool underline_;
};

// Laid out as the lines were measured: they were broken for those exact widths.
void DrawLine(QPainter& painter, const QString& text, const QFont& font, const DeviceGlyphs& glyphs,
              double left, double room, double top, HAlign align) {
  double width = 0;
  std::optional<QGlyphRun> run = glyphs.Run(text, width);
  QTextLayout layout;
  if (!run) {
    layout.setText(text);
    layout.setFont(QFont(font, painter.device()));
    const QTextLine line = LayOutOneLine(layout);
    if (!line.isValid()) return;
    width = line.naturalTextWidth();
  }
  const auto draw = [&](QPointF at) {
    if (run)
      painter.drawGlyphRun(at + QPointF(0, glyphs.Ascent()), *run);
    else
      layout.draw(&painter, at);
  };
  double x = left;
  if (align == HAlign::Center) x = left + (room - width) / 2;
  if (align == HAlign::Right) x = left + room - width;
  if (width > room + 0.5 && room > 0) {
    // What still runs over is squeezed rather than cut.
    painter.save();
    painter.translate(left, top);
    painter.scale(room / width, 1);
    draw(QPointF(0, 0));
    painter.restore();
    return;
  }
  draw(QPointF(x, top));
}

void PaintText(QPainter& painter, const TextItem& item, const QRectF& rect, QPointF origin,
               double pxPerMm) {
  if (item.lines.isEmpty()) return;
  const double dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
  const QFont font = DeviceFont(item.font, pxPerMm, dpi);
  const DeviceGlyphs glyphs(font, painter.device());
  painter.setPen(item.color);
  painter.setClipRect(rect.adjusted(-1, -1, 1, 1), Qt::IntersectClip);
  const double left = rect.left() + item.padding * pxPerMm;
  const double room = rect.width() - 2 * item.padding * pxPerMm;
  const double top = origin.y() + item.TextTop() * pxPerMm;
  for (int i = 0; i < item.lines.size(); ++i) {
    const QString line = item.LineText(i);
    if (line.isEmpty()) continue;
    const double y = top + i * item.lineHeight * pxPerMm;
    if (y > rect.bottom()) break;
    DrawLine(painter, line, font, glyphs, left, room, y, item.hAlign);
  }
}

}  // namespace

void PaintPage(QPainter& painter, const PreparedPage& page, QPointF origin, double pxPerMm,
               const QList<QRectF>& highlights) {
  const auto toDevice = [&](const QRectF& mm) {
    return QRectF(origin.x() + mm.left() * pxPerMm, origin.y() + mm.top() * pxPerMm,
                  mm.width() * pxPerMm, mm.height() * pxPerMm);
  };
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  for (const TextItem& item : page.items)
    if (item.fill.isValid()) painter.fillRect(toDevice(item.rect), item.fill);
  for (const QRectF& mark : highlights) painter.fillRect(toDevice(mark), QColor(255, 230, 0));
  for (const TextItem& item : page.items) {
    const QRectF rect = toDevice(item.rect);
    painter.save();
    PaintText(painter, item, rect, origin, pxPerMm);
    painter.restore();
    PaintFrame(painter, item, rect, pxPerMm);
  }
  painter.restore();
}

QPageLayout PageLayoutOf(const PreparedPage& page) {
  const QSizeF size = page.size;
  const bool landscape = size.width() > size.height();
  const QSizeF portrait = landscape ? size.transposed() : size;
  return QPageLayout(QPageSize(portrait, QPageSize::Millimeter),
                     landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(),
                     QPageLayout::Millimeter);
}

QImage RenderPage(const PreparedPage& page, int dpi) {
  const double pxPerMm = dpi / kMmPerInch;
  const QSize size(std::max(1, qRound(page.size.width() * pxPerMm)),
                   std::max(1, qRound(page.size.height() * pxPerMm)));
  QImage image(size, QImage::Format_RGB32);
  const int dotsPerMeter = qRound(dpi / kMmPerInch * 1000);
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  image.fill(Qt::white);
  QPainter painter(&image);
  PaintPage(painter, page, QPointF(0, 0), pxPerMm);
  painter.end();
  return image;
}

}  // namespace lorvi::report
