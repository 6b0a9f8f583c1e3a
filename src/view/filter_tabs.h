#pragma once

#include <string>
#include <string_view>

#include "store/org_store.h"
#include "view/text_grid.h"

namespace lorvi {

// The filter tabs of the insured-persons grids.
enum FilterTab { kTabAll, kTabPaidAbove, kTabAccruedAbove, kTabLeavers, kTabUnreadable };

// The caption of filter tab `tab` (code page 1251), empty outside 0..4.
std::string TabCaption(int tab);

// Keeps in both grids the rows that tab `tab` keeps, in one stable pass, the title row always.
// `info` is the table of the organisation on display, null when the tree's selection belongs to
// no organisation (the leavers tab then leaves the grids alone). Leavers keep their title with
// " (" + period key + ")" appended.
void FilterRows(int tab, TextGrid& strah, TextGrid& nakop, const TInfo* info);

// Selects column 1 of the first row whose title begins with `text` (row 1 when none does, or when
// `text` is empty) in both grids, and scrolls both to it.
void edFindFIOChange(std::string_view text, TextGrid& strah, TextGrid& nakop);

}  // namespace lorvi
