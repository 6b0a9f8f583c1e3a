#include "workbook/reconciliation.h"

#include "base/text1251.h"
#include "store/amount.h"

namespace lorvi {
namespace {

// The period key of a column title "2011-1 (Н ? У)".
std::string PeriodOfTitle(const std::string& title) { return title.substr(0, title.find(" (")); }

ReconciliationPart PartOf(const TextGrid& grid, char separator) {
  ReconciliationPart part;
  for (int c = 2; c < grid.ColCount(); ++c) part.periods.push_back(PeriodOfTitle(grid.Cell(c, 0)));
  for (int r = 1; r < grid.RowCount(); ++r) {
    ReconciliationRow row;
    row.title = grid.Cell(0, r);
    for (int c = 2; c < grid.ColCount(); ++c)
      row.periods.push_back(ParseComparison(grid.Cell(c, r), separator));
    if (grid.ColCount() > 1) row.total = ParseComparison(grid.Cell(1, r), separator);
    part.rows.push_back(std::move(row));
  }
  return part;
}

}  // namespace

Comparison ParseComparison(std::string_view text, char separator) {
  Comparison result;
  // Amounts hold no ">", "<" or "=", so the first sign found is the comparison's.
  std::size_t at = std::string_view::npos;
  Verdict verdict = Verdict::kEqual;
  for (const Verdict candidate : {Verdict::kAccruedAbove, Verdict::kPaidAbove, Verdict::kEqual}) {
    const std::size_t found = text.find(VerdictSign(candidate));
    if (found < at) {
      at = found;
      verdict = candidate;
    }
  }
  if (at == std::string_view::npos) return result;
  std::string_view paid = text.substr(at + VerdictSign(verdict).size());
  if (verdict != Verdict::kEqual) paid = paid.substr(0, paid.rfind(" ("));
  result.accrued = ParseAmount(text.substr(0, at), separator);
  result.paid = ParseAmount(paid, separator);
  if (!result.Readable()) return Comparison{};
  result.verdict = verdict;
  return result;
}

std::optional<Reconciliation> BuildReconciliation(const ReconciliationSource& source) {
  const PrintSource& shown = source.shown;
  const TreeNode* organisation = shown.tree.Organisation(source.slot);
  if (organisation == nullptr || shown.strah.ColCount() == 0) return std::nullopt;

  Reconciliation result;
  result.organisation = organisation->caption;
  result.view = shown.panelTitle;
  result.tab = FilterCaption(shown);
  result.nameTitle = NameColumnTitle(shown);
  result.date = source.date;
  for (const TreeNode* period : organisation->children)
    for (const TreeNode* kind : period->children)
      for (const TreeNode* file : kind->children)
        result.files.push_back({file->caption, period->caption, kind->caption});
  result.insurance = PartOf(shown.strah, source.separator);
  result.funded = PartOf(shown.nakop, source.separator);
  return result;
}

std::string ReconciliationFileName(const Reconciliation& reconciliation) {
  std::string date = reconciliation.date;  // day.month.year
  if (date.size() == 10)
    date = date.substr(6, 4) + "-" + date.substr(3, 2) + "-" + date.substr(0, 2);
  return std::string("Сверка "_w) + reconciliation.organisation.substr(0, 14) + " " +
         reconciliation.view + " " + date + ".xlsx";
}

}  // namespace lorvi
