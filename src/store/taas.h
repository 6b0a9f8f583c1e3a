#pragma once

#include <string>
#include <vector>

namespace lorvi {

// A matrix of texts addressed row first, as large as what was written into it. A cell never
// written reads as the matrix's initial text, so clearing is cheap and an organisation holds
// only the cells it has.
class TAAS {
 public:
  explicit TAAS(std::string initial) : initial_(std::move(initial)) {}

  // The cell's text; a negative index fails with "Range check error".
  const std::string& Get(int row, int column) const {
    if (row < 0 || column < 0) ThrowOutside();
    if (static_cast<std::size_t>(column) >= used_) return initial_;
    const std::vector<std::string>& cells = columns_[static_cast<std::size_t>(column)];
    return static_cast<std::size_t>(row) < cells.size() ? cells[static_cast<std::size_t>(row)]
                                                        : initial_;
  }

  // The cell for writing, holding the initial text when it was never written; the matrix grows
  // to take it. A negative index fails with "Range check error".
  std::string& At(int row, int column);

  // Every cell back to the initial text. The columns' storage stays for the next reading.
  void Reset() { used_ = 0; }

 private:
  [[noreturn]] static void ThrowOutside();

  std::string initial_;
  // columns_[c] holds the cells of column c down to the last row written; columns_[0, used_)
  // belong to this reading. By column, since a reading fills a period's rows in turn.
  std::vector<std::vector<std::string>> columns_;
  std::size_t used_ = 0;
};

}  // namespace lorvi
