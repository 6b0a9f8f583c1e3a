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
  if (static_cast<std::size_t>(row) >= rows_.size()) return initial_;
  return rows_[row][column];
}

std::string& TAAS::At(int row, int column) {
  CheckBounds(row, column);
  if (static_cast<std::size_t>(row) >= rows_.size()) {
    Row fresh;
    fresh.fill(initial_);
    rows_.resize(static_cast<std::size_t>(row) + 1, fresh);
  }
  return rows_[row][column];
}

}  // namespace lorvi
