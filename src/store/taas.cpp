#include "store/taas.h"

#include "base/lorvi_error.h"

namespace lorvi {

void TAAS::ThrowOutside() { ThrowRangeCheck(); }

std::string& TAAS::At(int row, int column) {
  if (row < 0 || column < 0) ThrowOutside();
  const auto needed = static_cast<std::size_t>(column) + 1;
  if (needed > used_) {
    if (needed > columns_.size()) columns_.resize(needed);
    for (std::size_t c = used_; c < needed; ++c) columns_[c].clear();
    used_ = needed;
  }
  std::vector<std::string>& cells = columns_[static_cast<std::size_t>(column)];
  const auto r = static_cast<std::size_t>(row);
  if (r >= cells.size()) cells.resize(r + 1, initial_);
  return cells[r];
}

}  // namespace lorvi
