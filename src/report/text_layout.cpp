#include "report/text_layout.h"

#include <QFontMetricsF>
#include <QImage>
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
    if (paragraph.isEmpty() || !wordWrap ||
        metrics.horizontalAdvance(paragraph) <= widthPx * 0.99) {
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
