#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lorvi {

// The store's limits: rows and periods per slot and store, and slots.
inline constexpr int kMaxRows = 4501;
inline constexpr int kMaxPeriods = 11;
inline constexpr int kMaxOrgs = 2;

// A matrix of texts of kMaxRows x kMaxPeriods, addressed row first. Only the rows that were
// written hold storage; every other cell reads as the matrix's initial text, so clearing is cheap.
class TAAS {
 public:
  explicit TAAS(std::string initial) : initial_(std::move(initial)) {}

  // The cell's text; outside the matrix it fails with "Range check error".
  const std::string& Get(int row, int column) const;

  // The cell for writing; outside the matrix it fails with "Range check error".
  std::string& At(int row, int column);

  // Every cell back to the initial text. The rows' storage stays for the next reading.
  void Reset() { used_ = 0; }

  const std::string& Initial() const { return initial_; }

 private:
  // A row's cells hold their text once written; until then they read as the initial text.
  struct Row {
    std::array<std::string, kMaxPeriods> cells;
    unsigned written = 0;  // bit per column
  };
  std::string initial_;
  std::vector<Row> rows_;
  std::size_t used_ = 0;  // rows_[0, used_) hold this reading's cells
};

}  // namespace lorvi
