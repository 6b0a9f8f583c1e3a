#pragma once

#include <QColor>
#include <QPalette>
#include <QRect>

class QPainter;

namespace lorvi {

// The classic three-dimensional edges. The values are the Windows border bits (outer raised 1,
// outer sunken 2, inner raised 4, inner sunken 8), so an edge is the sum of its borders.
enum class EdgeKind {
  SunkenOuter = 0x2,  // BDR_SUNKENOUTER: one pixel, shadow above and left
  RaisedInner = 0x4,  // BDR_RAISEDINNER: one pixel, highlight above and left
  Raised = 0x5,       // EDGE_RAISED: two pixels
  Sunken = 0xA,       // EDGE_SUNKEN: two pixels
};

// Width in pixels of `kind` on each side.
int EdgeWidth(EdgeKind kind);

// Draws `kind` on all four sides of `rect`, outer border on the outermost pixels, and returns the
// rectangle left inside it. The interior is not touched. Colours map the Windows 3D colours onto
// palette roles: highlight = Light, light = Midlight, shadow = Dark, dark shadow = Shadow; they are
// taken from the Active group, since Windows edges look the same on disabled controls.
QRect DrawEdge(QPainter& painter, const QRect& rect, EdgeKind kind, const QPalette& palette);

// Fills a one-pixel ring along the inside of `rect` and returns the rectangle inside the ring.
QRect FillRing(QPainter& painter, const QRect& rect, const QColor& color);

// The grey of a disabled caption.
inline const QColor kDisabledText(128, 128, 128);

// The Windows 2000 classic colours (button face 212, 208, 200), for windows that want that look.
QPalette ClassicPalette();

}  // namespace lorvi
