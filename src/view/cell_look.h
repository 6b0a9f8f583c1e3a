#pragma once

#include <cstdint>

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
// The design's one handler for all four grids, named after the first (docs/names.md).
CellLook sgZLStrahDrawCell(const TextGrid& grid, int col, int row);

inline constexpr int kCellTextInset = 3;

// The colour as red, green and blue (0xRRGGBB), for the screen and the workbook alike; kText has
// none of its own and gives 0.
constexpr std::uint32_t Rgb(CellLook::Colour colour) {
  switch (colour) {
    case CellLook::kGreen:
      return 0x008000;
    case CellLook::kRed:
      return 0xFF0000;
    case CellLook::kGrey:
      return 0x808080;
    case CellLook::kBlack:
    case CellLook::kText:
      break;
  }
  return 0x000000;
}

}  // namespace lorvi
