#pragma once

#include <string>
#include <string_view>

#include "store/org_store.h"
#include "view/text_grid.h"

namespace lorvi {

// A number as the grids write it: rounded to four decimals (ties to even), no grouping, the
// locale's separator, trailing zeros dropped, no separator for a whole number.
std::string RenderNumber(long double value, char separator);

// How accrued and paid compare, as the grids write and colour it: a difference of at least 0.01,
// taken in extended precision, counts; within it they are equal.
enum class Verdict { kEqual, kAccruedAbove, kPaidAbove };
Verdict CompareAmounts(long double accrued, long double paid);

// What a comparison text puts between the two amounts: " = ", " > " or " < ".
std::string_view VerdictSign(Verdict verdict);

// The comparison text of two amounts: accrued, the verdict's sign, paid, and when they differ
// the rendered difference in brackets.
std::string CompareText(std::string_view accrued, std::string_view paid, double a, double p,
                        char separator);

// Rebuilds `grid` from `info`: the row titles, the total column and one column per period, with
// the matrix pair that the grid's tag names (0 and 2 insurance, 1 and 3 funded).
void FillGrid(const TInfo& info, TextGrid& grid, char separator);

// The four grids filled from `slot`; the insured-persons grids select cell (1, 1), and the funded
// one scrolls to it.
struct GridSet {
  TextGrid& zlStrah;
  TextGrid& zlNakop;
  TextGrid& advStrah;
  TextGrid& advNakop;
};
void ShowOrganisation(const OrgStore& store, int slot, GridSet grids);

}  // namespace lorvi
