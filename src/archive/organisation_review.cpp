#include "archive/organisation_review.h"

#include <algorithm>
#include <charconv>

#include "session/session.h"
#include "view/filter_tabs.h"

namespace lorvi {
namespace {

void Count(PartTotals& totals, const Comparison& total) {
  if (!total.Readable()) return;
  totals.accrued += *total.accrued;
  totals.paid += *total.paid;
}

std::optional<Amount4> DifferenceOf(const Comparison& total) {
  if (!total.Readable()) return std::nullopt;
  return total.Difference();
}

// Rows of the reconciliation whose total differs in either part.
void AddDiffering(const Reconciliation& r, std::vector<DifferingRow>& out) {
  for (std::size_t i = 0; i < r.insurance.rows.size(); ++i) {
    const Comparison& strah = r.insurance.rows[i].total;
    const Comparison& nakop = i < r.funded.rows.size() ? r.funded.rows[i].total : Comparison{};
    const bool differs = (strah.Readable() && strah.verdict != Verdict::kEqual) ||
                         (nakop.Readable() && nakop.verdict != Verdict::kEqual);
    if (differs)
      out.push_back({r.view, r.insurance.rows[i].title, DifferenceOf(strah), DifferenceOf(nakop)});
  }
}

void Figures(const Reconciliation& r, OrganisationReview& review) {
  review.persons = static_cast<int>(r.insurance.rows.size());
  for (std::size_t i = 0; i < r.insurance.rows.size(); ++i) {
    const ReconciliationRow& strah = r.insurance.rows[i];
    const ReconciliationRow* nakop = i < r.funded.rows.size() ? &r.funded.rows[i] : nullptr;
    Count(review.insurance, strah.total);
    if (nakop) Count(review.funded, nakop->total);
    bool accruedAbove = strah.total.Readable() && strah.total.verdict == Verdict::kAccruedAbove;
    bool paidAbove = strah.total.Readable() && strah.total.verdict == Verdict::kPaidAbove;
    if (nakop && nakop->total.Readable()) {
      accruedAbove = accruedAbove || nakop->total.verdict == Verdict::kAccruedAbove;
      paidAbove = paidAbove || nakop->total.verdict == Verdict::kPaidAbove;
    }
    review.accruedAbove += accruedAbove ? 1 : 0;
    review.paidAbove += paidAbove ? 1 : 0;
  }
  for (const ReconciliationPart* part : {&r.insurance, &r.funded})
    for (const ReconciliationRow& row : part->rows)
      review.unreadableCells +=
          static_cast<int>(std::count_if(row.periods.begin(), row.periods.end(),
                                         [](const Comparison& c) { return !c.Readable(); }));
}

void Periods(const Session& session, OrganisationReview& review) {
  for (const TreeNode* top : session.tvLF().TopLevel()) {
    if (top->datum == UnreadSlot) continue;
    for (const TreeNode* period : top->children) {
      review.periods.push_back(period->caption);
      for (const TreeNode* kind : period->children)
        review.files += static_cast<int>(kind->children.size());
    }
  }
  if (review.periods.empty()) return;
  const std::string& last = review.periods.back();
  std::optional<std::string> key = NextPeriod(review.periods.front());
  // Keys the tree does not order as periods end the search rather than run on.
  for (int guard = 0; key && *key < last && guard < 1000; ++guard, key = NextPeriod(*key))
    if (std::find(review.periods.begin(), review.periods.end(), *key) == review.periods.end())
      review.missing.push_back(*key);
}

}  // namespace

std::optional<std::string> NextPeriod(const std::string& key) {
  int year = 0;
  int part = 0;
  const char* end = key.data() + key.size();
  auto [at, error] = std::from_chars(key.data(), end, year);
  if (error != std::errc() || at == end || *at != '-') return std::nullopt;
  auto [tail, error2] = std::from_chars(at + 1, end, part);
  if (error2 != std::errc() || tail != end || part < 1) return std::nullopt;
  const int parts = year == 2010 ? 2 : 4;
  if (part > parts) return std::nullopt;
  if (part == parts) return std::to_string(year + 1) + "-1";
  return std::to_string(year) + "-" + std::to_string(part + 1);
}

OrganisationReview ReviewOrganisation(const ArchiveOrganisation& organisation, char separator,
                                      const std::string& date) {
  OrganisationReview review;
  review.title = organisation.title;
  const std::size_t open = review.title.find('(');
  review.registration = review.title.substr(0, open);
  if (open != std::string::npos) {
    review.shortName = review.title.substr(open + 1);
    if (!review.shortName.empty() && review.shortName.back() == ')') review.shortName.pop_back();
  }

  Session session(separator);
  session.SetMessageSink([&](const std::string& text) { review.messages.push_back(text); });
  session.FormCreate();
  session.FormShow();
  session.LoadFiles(organisation.files);
  Periods(session, review);
  review.reconciliation = session.ReconciliationShown(date);
  if (!review.reconciliation) return review;

  Figures(*review.reconciliation, review);
  AddDiffering(*review.reconciliation, review.differing);
  session.SelectTab(kTabLeavers);
  review.leavers = std::max(0, session.sgZLStrah().RowCount() - 1);
  session.SelectTab(kTabAll);
  session.sbADVClick();
  if (const auto categories = session.ReconciliationShown(date))
    AddDiffering(*categories, review.differing);

  review.checks = CheckInventories(session.Store(), session.CurOrg());
  std::vector<std::string> disagreeing;
  for (const InventoryCheck& check : review.checks)
    if (!check.Agrees() &&
        std::find(disagreeing.begin(), disagreeing.end(), check.period) == disagreeing.end())
      disagreeing.push_back(check.period);
  review.disagreeingPeriods = static_cast<int>(disagreeing.size());
  return review;
}

}  // namespace lorvi
