#pragma once

#include <QString>
#include <QWidget>

#include "widgets/text_alignment.h"

namespace lorvi {

// Decoration under a label's text: none, a title plate with a two-line drop shadow at its bottom
// and right, or a sunken edge.
enum TLabelStyle { lbSimple, lbLotus, lbClientEdge };
// Vertical placement of a label's text.
enum TTextLayout { tlTop, tlCenter, tlBottom };

// A text label that paints itself over its parent, optionally on a plate or inside an edge.
// Painting order is fixed: background (unless transparent), decoration, text. Setters repaint only
// when the value changes.
class TSLabel : public QWidget {
  Q_OBJECT

 public:
  explicit TSLabel(QWidget* parent = nullptr);

  TLabelStyle Style() const { return style_; }
  void SetStyle(TLabelStyle style);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);

  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout layout);

  // Distance of left- or right-aligned text from its side; ignored when centred. A value not
  // below the current width is refused silently; negative values are taken.
  int GapX() const { return gapX_; }
  void SetGapX(int gap);

  // As GapX, for top- or bottom-placed text against the current height.
  int GapY() const { return gapY_; }
  void SetGapY(int gap);

  // Wrapped text always starts at the top; centring and bottom placement apply to one line only.
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wrap);

  // True leaves the background unpainted; the lbLotus plate is drawn either way.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);

  // A one-pixel edge instead of two for lbClientEdge.
  bool Flat() const { return flat_; }
  void SetFlat(bool flat);

  // Shown as is: an ampersand is an ampersand here.
  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& caption);

  // Background and plate colour (palette Window, inherited from the parent unless set).
  QColor Color() const;
  void SetColor(const QColor& color);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void DrawLotus(QPainter& painter) const;

  TLabelStyle style_ = lbSimple;
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  int gapX_ = 0;
  int gapY_ = 0;
  bool wordWrap_ = false;
  bool transparent_ = true;
  bool flat_ = false;
  QString caption_;
};

}  // namespace lorvi
