#pragma once

#include <QFont>
#include <QList>
#include <QPair>
#include <QString>
#include <QTextLayout>

#include "report/report_template.h"

namespace lorvi::report {

// The Qt font of a text font for measuring and for painting on a device of `dpi` dots per inch,
// scaled so that it keeps its size in millimetres when drawn at `pxPerMm` device pixels per
// millimetre.
QFont MakeFont(const TextFont& style);
QFont DeviceFont(const TextFont& style, double pxPerMm, double dpi);

struct WrappedText {
  QList<QPair<qsizetype, qsizetype>> lines;  // start and length of each line in the text
  double lineHeight = 0;                     // millimetres
};

// Breaks `text` ('\n' between paragraphs) into lines no wider than `widthMm`; without word wrap
// each paragraph is one line. Measured at a fixed high resolution so that the result does not
// depend on the screen.
WrappedText WrapText(const QString& text, const TextFont& font, double widthMm, bool wordWrap);

// Width of one line of text, in millimetres.
double TextWidth(const QString& text, const TextFont& font);

// Lays out the whole text of `layout` as one unbroken line with design metrics, so that its width
// scales with the font and does not take on the pixel rounding of a coarse device: measuring and
// painting then agree. Gives the line, invalid when the text has none.
QTextLine LayOutOneLine(QTextLayout& layout);

}  // namespace lorvi::report
