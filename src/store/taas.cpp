#include "store/taas.h"

#include "intake/lorvi_error.h"

namespace lorvi {
namespace {

void CheckBounds(int row, int column) {
  if (row < 0 || row >= kMaxRows || column < 0 || column >= kMaxPeriods) ThrowRangeCheck();
}

}  // namespace

const std::string& TAAS::Get(int row, int column) const {
  CheckBounds(row, column);
  if (static_cast<std::size_t>(row) >= used_) return initial_;
  const Row& r = rows_[static_cast<std::size_t>(row)];
  return (r.written >> column) & 1u ? r.cells[static_cast<std::size_t>(column)] : initial_;
}

std::string& TAAS::At(int row, int column) {
  CheckBounds(row, column);
  const auto needed = static_cast<std::size_t>(row) + 1;
  if (needed > used_) {
    if (needed > rows_.size()) rows_.resize(needed);
    for (std::size_t r = used_; r < needed; ++r) rows_[r].written = 0;
    used_ = needed;
  }
  Row& r = rows_[static_cast<std::size_t>(row)];
  std::string& cell = r.cells[static_cast<std::size_t>(column)];
  if (!((r.written >> column) & 1u)) {
    cell = initial_;
    r.written |= 1u << column;
  }
  return cell;
}

}  // namespace lorvi
