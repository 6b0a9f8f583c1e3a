#include "report/text_layout.h"

#include <QFontMetricsF>
#include <QImage>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

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

// Tells from the font's own glyph tables (kerned, design metrics), without shaping, whether a
// paragraph is narrower than a width: enough to know that it fits by a margin. Advances are kept
// by character, and the kerning of the pairs seen so far bounds what kerning can add, so that
// most paragraphs cost a table lookup per character; near the limit the kerned advance decides.
class QuickMetrics {
 public:
  explicit QuickMetrics(const QFont& font)
      : raw_(QRawFont::fromFont(QFont(font, MeasureDevice()))) {}

  // Whether the paragraph's advance is at most `limit` pixels; none when a character has no
  // glyph in the font, which a fallback font would draw.
  std::optional<bool> Fits(const QString& paragraph, double limit) {
    if (!raw_.isValid()) return std::nullopt;
    double plain = 0;
    for (const QChar c : paragraph) {
      const Glyph* glyph = Known(c.unicode());
      if (!glyph) return Kerned(paragraph, limit);
      plain += glyph->advance;
    }
    // Kerning moves each pair but the last character by at most the largest pair seen.
    const double kerning = (paragraph.size() - 1) * maxKerning_ + 1e-6;
    if (plain + kerning <= limit) return true;
    if (plain - kerning > limit) return false;
    return Kerned(paragraph, limit);
  }

 private:
  struct Glyph {
    quint32 index = 0;
    double advance = 0;
    bool drawn = false;  // the font has it; a space always counts as drawn
  };
  static constexpr char16_t kTableEnd = 0x500;  // Latin and Cyrillic
  static constexpr int kMaxSeen = 256;          // characters whose pairs are looked at

  std::optional<bool> Kerned(const QString& paragraph, double limit) const {
    const QList<quint32> glyphs = raw_.glyphIndexesForString(paragraph);
    if (glyphs.size() != paragraph.size()) return std::nullopt;
    for (qsizetype i = 0; i < glyphs.size(); ++i)
      if (glyphs[i] == 0 && !paragraph[i].isSpace()) return std::nullopt;
    double width = 0;
    for (const QPointF& advance : raw_.advancesForGlyphIndexes(
             glyphs, QRawFont::KernedAdvances | QRawFont::UseDesignMetrics))
      width += advance.x();
    return width <= limit;
  }

  // The character's glyph when it is in the table, its pairs with the others are known, and
  // the font draws it.
  const Glyph* Known(char16_t c) {
    if (c >= kTableEnd) return nullptr;
    if (table_.isEmpty()) table_.resize(kTableEnd);
    std::optional<Glyph>& glyph = table_[c];
    if (!glyph) {
      if (seen_.size() >= kMaxSeen) return nullptr;
      glyph = Look(c);
    }
    return glyph->drawn ? &*glyph : nullptr;
  }

  Glyph Look(char16_t c) {
    Glyph glyph;
    const QList<quint32> indexes = raw_.glyphIndexesForString(QString(QChar(c)));
    if (indexes.size() != 1) return glyph;
    glyph.index = indexes.first();
    glyph.drawn = glyph.index != 0 || QChar(c).isSpace();
    glyph.advance = raw_.advancesForGlyphIndexes(indexes, QRawFont::UseDesignMetrics).value(0).x();
    if (!glyph.drawn) return glyph;
    seen_.append(glyph);
    for (const Glyph& other : seen_) {
      maxKerning_ = std::max(maxKerning_, std::abs(Kerning(glyph, other)));
      maxKerning_ = std::max(maxKerning_, std::abs(Kerning(other, glyph)));
    }
    return glyph;
  }

  double Kerning(const Glyph& first, const Glyph& second) const {
    const QList<QPointF> kerned =
        raw_.advancesForGlyphIndexes(QList<quint32>{first.index, second.index},
                                     QRawFont::KernedAdvances | QRawFont::UseDesignMetrics);
    return kerned.value(0).x() - first.advance;
  }

  QRawFont raw_;
  QList<std::optional<Glyph>> table_;
  QList<Glyph> seen_;
  double maxKerning_ = 0;
};

// What measuring a font needs, made once per font.
struct Measures {
  QFont font;
  double lineSpacing = 0;  // pixels
  std::unique_ptr<QuickMetrics> quick;
};

Measures& MeasuresOf(const TextFont& style) {
  thread_local std::vector<std::pair<TextFont, std::unique_ptr<Measures>>> known;
  for (auto& [font, measures] : known)
    if (font == style) return *measures;
  auto measures = std::make_unique<Measures>();
  measures->font = MakeFont(style);
  measures->lineSpacing = QFontMetricsF(measures->font, MeasureDevice()).lineSpacing();
  measures->quick = std::make_unique<QuickMetrics>(measures->font);
  known.emplace_back(style, std::move(measures));
  return *known.back().second;
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
  Measures& measures = MeasuresOf(style);
  result.lineHeight = PxToMm(measures.lineSpacing);
  const double widthPx = std::max(1.0, widthMm * kMeasureDpi / kMmPerInch);
  // Most paragraphs fit on one line; telling so from the advance is much cheaper than a layout.
  // The margin covers the small difference from design metrics.
  const double limit = widthPx * 0.99;
  QTextOption option;
  option.setWrapMode(wordWrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
  option.setUseDesignMetrics(true);
  qsizetype start = 0;
  while (start <= text.size()) {
    qsizetype end = text.indexOf(u'\n', start);
    if (end < 0) end = text.size();
    const QString paragraph = text.mid(start, end - start);
    bool fits = paragraph.isEmpty() || !wordWrap;
    if (!fits) {
      const std::optional<bool> quick = measures.quick->Fits(paragraph, limit);
      fits = quick ? *quick
                   : QFontMetricsF(measures.font, MeasureDevice()).horizontalAdvance(paragraph) <=
                         limit;
    }
    if (fits) {
      result.lines.append({start, paragraph.size()});
    } else {
      QTextLayout layout(paragraph, measures.font, MeasureDevice());
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
