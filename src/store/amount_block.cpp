#include "store/amount_block.h"

#include "intake/tag_value.h"
#include "intake/text1251.h"
#include "store/org_store.h"

namespace lorvi {

void ReadAmountBlock(const LineList& lines, std::size_t i, TAAS& accrued, TAAS& paid, int row,
                     int column, char separator) {
  PutAmount(accrued, row, column, TagValue(lines.Line(i + 1), "Начислено"_w), true, separator);
  PutAmount(paid, row, column, TagValue(lines.Line(i + 2), "Уплачено"_w), true, separator);
}

}  // namespace lorvi
