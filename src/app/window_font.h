#pragma once

#include <QFont>

namespace lorvi {

// The window's font: a sans-serif face of Arial's width at 8 points, so that every caption fits
// its button as it was laid out; the platform's sans-serif where that face is missing.
inline QFont WindowFont() {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(8);
  return font;
}

}  // namespace lorvi
