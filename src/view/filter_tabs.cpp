#include "view/filter_tabs.h"

#include <vector>

#include "base/text1251.h"
#include "store/conversions.h"

namespace lorvi {
namespace {

bool Holds(const TextGrid& grid, int col, int row, std::string_view what) {
  return grid.Cell(col, row).find(what) != std::string::npos;
}

// The dismissal mark of the person titled in column 0 of `row`, or null.
const std::string* LeaverMark(const TInfo& info, const TextGrid& grid, int row) {
  const long at = info.Rows.IndexOfName(grid.Cell(0, row));
  if (at < 0) return nullptr;
  const auto matrixRow = ParseInteger(ValueOf(info.Rows[static_cast<std::size_t>(at)]));
  if (!matrixRow || *matrixRow < 0 || static_cast<std::size_t>(*matrixRow) >= info.Dismissed.size())
    return nullptr;
  const std::string& mark = info.Dismissed[static_cast<std::size_t>(*matrixRow)];
  return !mark.empty() && mark[0] == '1' ? &mark : nullptr;
}

}  // namespace

std::string TabCaption(int tab) {
  static constexpr std::string_view kCaptions[] = {
      "Все"_w, "Начислено<Уплачено"_w, "Начислено>Уплачено"_w, "Уволенные"_w, "Не прочитал"_w};
  return tab >= 0 && tab < 5 ? std::string(kCaptions[tab]) : std::string();
}

void FilterRows(int tab, TextGrid& strah, TextGrid& nakop, const TInfo* info) {
  if (tab == kTabAll || (tab == kTabLeavers && info == nullptr)) return;
  const int rows = strah.RowCount();
  std::vector<bool> keep(static_cast<std::size_t>(std::max(rows, 1)), true);
  for (int r = 1; r < rows; ++r) {
    bool stays = false;
    switch (tab) {
      case kTabPaidAbove:
        stays = Holds(strah, 1, r, "<") || Holds(nakop, 1, r, "<");
        break;
      case kTabAccruedAbove:
        stays = Holds(strah, 1, r, ">") || Holds(nakop, 1, r, ">");
        break;
      case kTabLeavers:
        if (const std::string* mark = LeaverMark(*info, strah, r)) {
          const std::string suffix =
              " (" + mark->substr(std::min<std::size_t>(2, mark->size()), 6) + ")";
          strah.SetCell(0, r, strah.Cell(0, r) + suffix);
          nakop.SetCell(0, r, nakop.Cell(0, r) + suffix);
          stays = true;
        }
        break;
      case kTabUnreadable:
        for (int c = 1; c < strah.ColCount() && !stays; ++c)
          stays = Holds(strah, c, r, "???") || Holds(nakop, c, r, "???");
        break;
      default:
        stays = true;
    }
    keep[static_cast<std::size_t>(r)] = stays;
  }
  strah.KeepRows(keep);
  nakop.KeepRows(keep);
}

void edFindFIOChange(std::string_view text, TextGrid& strah, TextGrid& nakop) {
  int found = 1;
  if (!text.empty())
    for (int r = 1; r < strah.RowCount(); ++r)
      if (std::string_view(strah.Cell(0, r)).starts_with(text)) {
        found = r;
        break;
      }
  strah.SetSelection(1, found);
  nakop.SetSelection(1, found);
  nakop.SetTopLeft(1, found);
  strah.SetTopLeft(1, found);
}

}  // namespace lorvi
