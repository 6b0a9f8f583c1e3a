#include "view/fill_grid.h"

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <exception>
#include <optional>
#include <thread>

#include "base/lorvi_error.h"
#include "base/text1251.h"
#include "store/amount.h"
#include "store/conversions.h"

namespace lorvi {
namespace {

// The threshold of a difference that shows, compared in extended precision where there is one.
constexpr long double kThreshold = 0.01L;

// Below this many persons a second thread for the funded grid costs more than it saves.
constexpr std::size_t kRowsWorthAThread = 1000;

constexpr std::string_view kTotalTitle = " (Н ? У)"_w;
constexpr std::string_view kTotalHeader = "Итого: (Н ? У)"_w;

std::string WithSeparator(std::int64_t value4, char separator) {
  const bool negative = value4 < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(value4) : static_cast<std::uint64_t>(value4);
  std::string out = negative ? "-" : "";
  out += std::to_string(magnitude / 10000);
  std::uint64_t fraction = magnitude % 10000;
  if (fraction != 0) {
    std::string digits = std::to_string(fraction);
    digits.insert(0, 4 - digits.size(), '0');
    while (digits.back() == '0') digits.pop_back();
    out += separator;
    out += digits;
  }
  return out;
}

// An amount text as a double, or nothing.
std::optional<double> AmountOf(std::string_view text, char separator) {
  const auto value = ParseAmount(text, separator);
  if (!value) return std::nullopt;
  return static_cast<double>(*value) / 10000.0;
}

std::optional<int> IndexOf(std::string_view entry) { return ParseInteger(ValueOf(entry)); }

std::string_view NameOf(const std::string& entry) {
  return std::string_view(entry).substr(0, entry.find('='));
}

}  // namespace

std::string RenderNumber(long double value, char separator) {
  const long double scaled = std::nearbyint(value * 10000.0L);  // ties to even by default
  if (!(std::fabs(scaled) < 9.2e18L)) return "???";
  return WithSeparator(static_cast<std::int64_t>(scaled), separator);
}

Verdict CompareAmounts(long double accrued, long double paid) {
  if (accrued - paid >= kThreshold) return Verdict::kAccruedAbove;
  if (paid - accrued >= kThreshold) return Verdict::kPaidAbove;
  return Verdict::kEqual;
}

std::string_view VerdictSign(Verdict verdict) {
  switch (verdict) {
    case Verdict::kAccruedAbove:
      return " > ";
    case Verdict::kPaidAbove:
      return " < ";
    case Verdict::kEqual:
      break;
  }
  return " = ";
}

std::string CompareText(std::string_view accrued, std::string_view paid, double a, double p,
                        char separator) {
  const long double la = a, lp = p;
  const Verdict verdict = CompareAmounts(la, lp);
  std::string text(accrued);
  text.append(VerdictSign(verdict)).append(paid);
  if (verdict == Verdict::kEqual) return text;
  text.append(" (").append(RenderNumber(std::fabs(la - lp), separator)).append(")");
  return text;
}

void FillGrid(const TInfo& info, TextGrid& grid, char separator) {
  const int periods = static_cast<int>(info.Periods.Count());
  const int rows = static_cast<int>(info.Rows.Count());
  grid.SetColCount(periods + 1);
  grid.SetRowCount(rows + 1);
  if (grid.ColCount() > 1) grid.SetFixedCols(1);
  if (grid.RowCount() > 1) grid.SetFixedRows(1);
  grid.SetColWidth(0, 300);
  if (grid.ColCount() > 1) {
    grid.SetColCount(periods + 2);
    grid.SetCell(1, 0, std::string(kTotalHeader));
    grid.SetColWidth(1, 180);
  }
  for (int c = 2; c < grid.ColCount(); ++c) {
    grid.SetCell(
        c, 0,
        std::string(NameOf(info.Periods[static_cast<std::size_t>(c - 2)])).append(kTotalTitle));
    grid.SetColWidth(c, 180);
  }

  const bool insurance = IsInsurancePart(grid.Tag());
  const TAAS& accrued = insurance ? info.StrahN : info.NakopN;
  const TAAS& paid = insurance ? info.StrahU : info.NakopU;
  // The matrix column of each grid column, through the entry of its period's name.
  std::vector<std::optional<int>> matrixColumn;
  for (int c = 2; c < grid.ColCount(); ++c) {
    const long at = info.Periods.IndexOfName(NameOf(info.Periods[static_cast<std::size_t>(c - 2)]));
    matrixColumn.push_back(at < 0 ? std::nullopt
                                  : IndexOf(info.Periods[static_cast<std::size_t>(at)]));
  }

  for (int r = 1; r <= rows; ++r) {
    const std::string& entry = info.Rows[static_cast<std::size_t>(r - 1)];
    grid.SetCell(0, r, std::string(NameOf(entry)));
    const std::optional<int> matrixRow = IndexOf(entry);
    double sumA = 0, sumP = 0;
    for (int c = 2; c < grid.ColCount(); ++c) {
      std::string text = "???";
      // An index that names no cell (a negative one) shows "???".
      const std::optional<int> column = matrixColumn[static_cast<std::size_t>(c - 2)];
      if (matrixRow && column && *matrixRow >= 0 && *column >= 0) {
        const std::string& sa = accrued.Get(*matrixRow, *column);
        const std::string& sp = paid.Get(*matrixRow, *column);
        const auto a = AmountOf(sa, separator);
        const auto p = AmountOf(sp, separator);
        if (a && p) {
          sumA += *a;
          sumP += *p;
          text = CompareText(sa, sp, *a, *p, separator);
        }
      }
      grid.SetCell(c, r, std::move(text));
    }
    if (grid.ColCount() > 1)
      grid.SetCell(1, r,
                   CompareText(RenderNumber(sumA, separator), RenderNumber(sumP, separator), sumA,
                               sumP, separator));
  }
}

void ShowOrganisation(const OrgStore& store, int slot, GridSet grids) {
  if (slot < 0 || slot >= kMaxOrgs) ThrowRangeCheck();
  const char separator = store.decimalSeparator;
  const TInfo& persons = store.ZLInfo[slot];
  if (persons.Rows.Count() < kRowsWorthAThread) {
    FillGrid(persons, grids.zlStrah, separator);
    FillGrid(persons, grids.zlNakop, separator);
  } else {
    // Each fill only reads the store and writes its own grid, so the two large ones go side by
    // side.
    std::exception_ptr failure;
    std::thread nakop([&] {
      try {
        FillGrid(persons, grids.zlNakop, separator);
      } catch (...) {
        failure = std::current_exception();
      }
    });
    try {
      FillGrid(persons, grids.zlStrah, separator);
    } catch (...) {
      nakop.join();
      throw;
    }
    nakop.join();
    if (failure) std::rethrow_exception(failure);
  }
  FillGrid(store.ADVInfo[slot], grids.advStrah, separator);
  FillGrid(store.ADVInfo[slot], grids.advNakop, separator);
  grids.zlStrah.SetSelection(1, 1);
  grids.zlNakop.SetSelection(1, 1);
  grids.zlNakop.SetTopLeft(1, 1);
}

}  // namespace lorvi
