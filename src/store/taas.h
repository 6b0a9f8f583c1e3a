#pragma once

#include <array>
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

  // Every cell back to the initial text.
  void Reset() { rows_.clear(); }

  const std::string& Initial() const { return initial_; }

 private:
  using Row = std::array<std::string, kMaxPeriods>;
  std::string initial_;
  std::vector<Row> rows_;
};

}  // namespace lorvi
