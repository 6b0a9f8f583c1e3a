#include "report/text_layout.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>

namespace lorvi::report {
namespace {

constexpr double kMeasureDpi = 1200;
constexpr double kMmPerInch = 25.4;

// An image only for its resolution: font metrics taken on it are those of a 1200 dpi device.
const QPaintDevice* MeasureDevice() {
  static const QImage device = [] {
    QImage image(1, 1, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(kMeasureDpi / kMmPerInch * 1000);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
  }();
  return &device;
}

double PxToMm(double px) { return px * kMmPerInch / kMeasureDpi; }

// The advance of a paragraph from the font's own glyph tables (kerned, design metrics), without
// shaping it: enough to tell that it fits its width by a margin. Negative when a character has
// no glyph in the font, which a fallback font would draw.
double QuickAdvance(const QString& paragraph, const QFont& font) {
  thread_local QHash<QString, QRawFont> fonts;
  const QString key = font.key();
  auto found = fonts.constFind(key);
  if (found == fonts.constEnd())
    found = fonts.insert(key, QRawFont::fromFont(QFont(font, MeasureDevice())));
  const QRawFont& raw = *found;
  if (!raw.isValid()) return -1;
  const QList<quint32> glyphs = raw.glyphIndexesForString(paragraph);
  if (glyphs.size() != paragraph.size()) return -1;
  for (qsizetype i = 0; i < glyphs.size(); ++i)
    if (glyphs[i] == 0 && !paragraph[i].isSpace()) return -1;
  double width = 0;
  for (const QPointF& advance :
       raw.advancesForGlyphIndexes(glyphs, QRawFont::KernedAdvances | QRawFont::UseDesignMetrics))
    width += advance.x();
  return width;
}

}  // namespace

QFont MakeFont(const TextFont& style) {
  QFont font(style.family);
  font.setPointSizeF(style.size);
  font.setBold(style.bold);
  font.setItalic(style.italic);
  font.setUnderline(style.underline);
  // Hinting would make widths depend on the device; lines are broken once for all devices.
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

QFont DeviceFont(const TextFont& style, double pxPerMm, double dpi) {
  QFont font = MakeFont(style);
  font.setPointSizeF(std::max(0.1, style.size * kMmPerInch * pxPerMm / dpi));
  return font;
}

WrappedText WrapText(const QString& text, const TextFont& style, double widthMm, bool wordWrap) {
  WrappedText result;
  const QFont font = MakeFont(style);
  const QFontMetricsF metrics(font, MeasureDevice());
  result.lineHeight = PxToMm(metrics.lineSpacing());
  const double widthPx = std::max(1.0, widthMm * kMeasureDpi / kMmPerInch);
  QTextOption option;
  option.setWrapMode(wordWrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
  option.setUseDesignMetrics(true);
  qsizetype start = 0;
  while (start <= text.size()) {
    qsizetype end = text.indexOf(u'\n', start);
    if (end < 0) end = text.size();
    const QString paragraph = text.mid(start, end - start);
    // Most paragraphs fit on one line; telling so from the advance is much cheaper than a
    // layout. The margin covers the small difference from design metrics.
    double advance = paragraph.isEmpty() || !wordWrap ? 0 : QuickAdvance(paragraph, font);
    if (advance < 0) advance = metrics.horizontalAdvance(paragraph);
    if (paragraph.isEmpty() || !wordWrap || advance <= widthPx * 0.99) {
      result.lines.append({start, paragraph.size()});
    } else {
      QTextLayout layout(paragraph, font, MeasureDevice());
      layout.setTextOption(option);
      layout.beginLayout();
      for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(widthPx);
        result.lines.append({start + line.textStart(), line.textLength()});
      }
      layout.endLayout();
    }
    start = end + 1;
  }
  return result;
}

double TextWidth(const QString& text, const TextFont& style) {
  if (text.isEmpty()) return 0;
  QTextLayout layout(text, MakeFont(style), MeasureDevice());
  return PxToMm(LayOutOneLine(layout).naturalTextWidth());
}

QTextLine LayOutOneLine(QTextLayout& layout) {
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  option.setUseDesignMetrics(true);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  // Unwrapped, the width only has to hold the text; the line's own width is what is measured.
  if (line.isValid()) line.setLineWidth(1e6);
  layout.endLayout();
  return line;
}

}  // namespace lorvi::report
