#pragma once

#include <xlsxwriter.h>

#include "output/xlsx_book.h"
#include "view/fill_grid.h"

namespace lorvi {

// The cell formats our workbooks share: column titles, plain text, amounts, differences coloured
// by their verdict as the grids colour their totals, and the row of totals, bold under a rule.
struct SheetFormats {
  explicit SheetFormats(XlsxBook& book);

  lxw_format* Difference(Verdict verdict, bool inTotals) const {
    const int v = static_cast<int>(verdict);  // grey, green, red
    return inTotals ? totalDifference[v] : difference[v];
  }

  lxw_format* header = nullptr;
  lxw_format* text = nullptr;
  lxw_format* amount = nullptr;
  lxw_format* difference[3] = {};
  lxw_format* totalDifference[3] = {};
  lxw_format* totalAmount = nullptr;
  lxw_format* total = nullptr;
};

}  // namespace lorvi
