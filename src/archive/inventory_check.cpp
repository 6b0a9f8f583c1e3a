#include "archive/inventory_check.h"

#include <algorithm>

#include "store/conversions.h"
#include "view/fill_grid.h"

namespace lorvi {
namespace {

bool Agree(const std::optional<PartFigures>& a, const std::optional<PartFigures>& b) {
  if (!a || !b) return false;
  const auto same = [](Amount4 x, Amount4 y) {
    return CompareAmounts(static_cast<long double>(x) / 10000.0L,
                          static_cast<long double>(y) / 10000.0L) == Verdict::kEqual;
  };
  return same(a->accrued, b->accrued) && same(a->paid, b->paid);
}

// The matrix index an entry "key=index" of a keyed list names.
std::optional<int> IndexIn(const KeyedList& list, std::string_view key) {
  const long at = list.IndexOfName(key);
  if (at < 0) return std::nullopt;
  const std::optional<int> index = ParseInteger(ValueOf(list[static_cast<std::size_t>(at)]));
  if (!index || *index < 0) return std::nullopt;
  return index;
}

void Add(PartFigures& sum, const TInfo& info, bool insurance, int row, int column, char separator) {
  const TAAS& accrued = insurance ? info.StrahN : info.NakopN;
  const TAAS& paid = insurance ? info.StrahU : info.NakopU;
  if (const auto a = ParseAmount(accrued.Get(row, column), separator)) sum.accrued += *a;
  if (const auto p = ParseAmount(paid.Get(row, column), separator)) sum.paid += *p;
}

// The sum over the rows of `info` in the period's column: all rows, only `row`, or all but it.
enum class Rows { kAll, kOnly, kAllBut };
std::optional<PartFigures> Sum(const TInfo& info, std::string_view period, bool insurance,
                               Rows which, std::string_view row, char separator) {
  const std::optional<int> column = IndexIn(info.Periods, period);
  if (!column) return std::nullopt;
  PartFigures sum;
  bool any = which != Rows::kOnly;
  for (std::size_t r = 0; r < info.Rows.Count(); ++r) {
    const std::string_view entry = info.Rows[r];
    const bool isRow = entry.substr(0, entry.find('=')) == row;
    if ((which == Rows::kOnly && !isRow) || (which == Rows::kAllBut && isRow)) continue;
    const std::optional<int> matrixRow = ParseInteger(ValueOf(entry));
    if (!matrixRow || *matrixRow < 0) continue;
    Add(sum, info, insurance, *matrixRow, *column, separator);
    any = true;
  }
  if (!any) return std::nullopt;
  return sum;
}

std::vector<std::string> PeriodKeys(const TInfo& info) {
  std::vector<std::string> keys;
  for (const std::string& entry : info.Periods.Entries())
    keys.push_back(entry.substr(0, entry.find('=')));
  return keys;
}

}  // namespace

std::string InventoryRemark(const InventoryCheck& check) {
  if (!check.categories) return std::string("Нет описи"_w);
  if (!check.records) return std::string("Нет сведений"_w);
  if (!check.insurer) return std::string("В описи нет строки «ПО СТРАХОВАТЕЛЮ»"_w);
  std::string remark;
  if (!check.RecordsAgree()) remark = "Опись не сходится со сведениями"_w;
  if (!check.CategoriesAgree())
    remark += std::string(remark.empty() ? "" : "; ") +
              std::string("Строка страхователя не равна сумме категорий"_w);
  return remark;
}

bool InventoryCheck::RecordsAgree() const { return Agree(insurer, records); }
bool InventoryCheck::CategoriesAgree() const { return Agree(insurer, categories); }

std::vector<InventoryCheck> CheckInventories(const OrgStore& store, int slot) {
  const TInfo& persons = store.ZLInfo[slot];
  const TInfo& inventory = store.ADVInfo[slot];
  std::vector<std::string> periods = PeriodKeys(persons);
  for (std::string& key : PeriodKeys(inventory))
    if (std::find(periods.begin(), periods.end(), key) == periods.end())
      periods.push_back(std::move(key));
  std::sort(periods.begin(), periods.end());

  const char separator = store.decimalSeparator;
  std::vector<InventoryCheck> checks;
  for (const std::string& period : periods)
    for (const bool insurance : {true, false}) {
      InventoryCheck check;
      check.period = period;
      check.insurance = insurance;
      check.records = Sum(persons, period, insurance, Rows::kAll, {}, separator);
      check.insurer = Sum(inventory, period, insurance, Rows::kOnly, kInsurerRow, separator);
      check.categories = Sum(inventory, period, insurance, Rows::kAllBut, kInsurerRow, separator);
      checks.push_back(std::move(check));
    }
  return checks;
}

}  // namespace lorvi
