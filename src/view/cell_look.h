#pragma once

#include "view/text_grid.h"

namespace lorvi {

// How a grid cell is painted, decided without a display.
struct CellLook {
  enum Colour { kText, kBlack, kGreen, kRed, kGrey };
  bool whiteBackground = false;  // the selected cell
  bool bold = false;
  Colour colour = kText;
  bool operator==(const CellLook&) const = default;
};

// The look of cell (col, row): the selected data cell white with bold black text, whether or not
// the grid has the focus; the title row bold; the total column green, red or grey by its sign
// (">", then "<", then "=", a later one winning). Text goes 3 pixels in from the top-left corner.
CellLook sgZLStrahDrawCell(const TextGrid& grid, int col, int row);

inline constexpr int kCellTextInset = 3;

}  // namespace lorvi
