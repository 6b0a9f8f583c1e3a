#pragma once

#include <cstddef>
#include <string_view>

#include "intake/line_list.h"
#include "intake/text1251.h"
#include "store/taas.h"

namespace lorvi {

inline constexpr std::string_view kInsuranceBlock = "<СуммаВзносовНаСтраховую>"_w;
inline constexpr std::string_view kFundedBlock = "<СуммаВзносовНаНакопительную>"_w;

// The amount block whose tag stands on line `i`: adds the value of "Начислено" on line i+1 to
// `accrued` and then that of "Уплачено" on line i+2 to `paid`, at (row, column).
void ReadAmountBlock(const LineList& lines, std::size_t i, TAAS& accrued, TAAS& paid, int row,
                     int column, char separator);

}  // namespace lorvi
