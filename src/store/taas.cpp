#include "store/taas.h"

#include "intake/lorvi_error.h"

namespace lorvi {

void TAAS::ThrowOutside() { ThrowRangeCheck(); }

std::string& TAAS::At(int row, int column) {
  if (row < 0 || column < 0) ThrowOutside();
  const auto needed = static_cast<std::size_t>(row) + 1;
  if (needed > used_) {
    if (needed > rows_.size()) rows_.resize(needed);
    for (std::size_t r = used_; r < needed; ++r) rows_[r].clear();
    used_ = needed;
  }
  std::vector<std::string>& cells = rows_[static_cast<std::size_t>(row)];
  const auto c = static_cast<std::size_t>(column);
  if (c >= cells.size()) cells.resize(c + 1, initial_);
  return cells[c];
}

}  // namespace lorvi
