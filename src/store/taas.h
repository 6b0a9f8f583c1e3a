#pragma once

#include <string>
#include <vector>

namespace lorvi {

// Organisation slots; the only fixed bound of the store.
inline constexpr int kMaxOrgs = 2;

// A matrix of texts addressed row first, as large as what was written into it. A cell never
// written reads as the matrix's initial text, so clearing is cheap and an organisation holds
// only the cells it has.
class TAAS {
 public:
  explicit TAAS(std::string initial) : initial_(std::move(initial)) {}

  // The cell's text; a negative index fails with "Range check error".
  const std::string& Get(int row, int column) const {
    if (row < 0 || column < 0) ThrowOutside();
    if (static_cast<std::size_t>(row) >= used_) return initial_;
    const std::vector<std::string>& r = rows_[static_cast<std::size_t>(row)];
    return static_cast<std::size_t>(column) < r.size() ? r[static_cast<std::size_t>(column)]
                                                       : initial_;
  }

  // The cell for writing, holding the initial text when it was never written; the matrix grows
  // to take it. A negative index fails with "Range check error".
  std::string& At(int row, int column);

  // Every cell back to the initial text. The rows' storage stays for the next reading.
  void Reset() { used_ = 0; }

  const std::string& Initial() const { return initial_; }

 private:
  [[noreturn]] static void ThrowOutside();

  std::string initial_;
  // rows_[r] holds the cells of row r up to the last column written; rows_[0, used_) belong to
  // this reading.
  std::vector<std::vector<std::string>> rows_;
  std::size_t used_ = 0;
};

}  // namespace lorvi
