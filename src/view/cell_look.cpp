#include "view/cell_look.h"

namespace lorvi {

CellLook sgZLStrahDrawCell(const TextGrid& grid, int col, int row) {
  CellLook look;
  if (col == grid.Col() && row == grid.Row() && col >= 1 && row >= 1) {
    look.whiteBackground = true;
    look.bold = true;
    look.colour = CellLook::kBlack;
  }
  if (row == 0) look.bold = true;
  if (col == 1) {
    const std::string& text = grid.Cell(col, row);
    if (text.find('>') != std::string::npos) look.colour = CellLook::kGreen;
    if (text.find('<') != std::string::npos) look.colour = CellLook::kRed;
    if (text.find('=') != std::string::npos) look.colour = CellLook::kGrey;
  }
  return look;
}

}  // namespace lorvi
