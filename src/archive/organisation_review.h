#pragma once

#include <optional>
#include <string>
#include <vector>

#include "archive/archive_files.h"
#include "archive/inventory_check.h"
#include "store/amount.h"
#include "workbook/reconciliation.h"

namespace lorvi {

// Accrued and paid of one part over every person and period.
struct PartTotals {
  Amount4 accrued = 0;
  Amount4 paid = 0;
  Amount4 Difference() const { return accrued - paid; }
};

// A person (or an inventory category) whose total differs, with each part's difference of
// accrued over paid; none where the part's total cannot be read.
struct DifferingRow {
  std::string view;  // the work panel's title of the grid it is in (code page 1251)
  std::string name;  // as the grid shows it (code page 1251)
  std::optional<Amount4> insurance;
  std::optional<Amount4> funded;
};

// One organisation of an archive as the window shows it when it is loaded on its own, tab «Все».
// Texts are in code page 1251.
struct OrganisationReview {
  std::string title;  // the tree's caption
  std::string registration;
  std::string shortName;
  std::vector<std::string> periods;  // the tree's period keys, in its order
  std::vector<std::string> missing;  // periods between the first and the last with no file
  int files = 0;                     // files placed under the organisation
  int persons = 0;
  int leavers = 0;
  int unreadableCells = 0;  // "???" among the persons' period figures, both parts
  PartTotals insurance;
  PartTotals funded;
  int accruedAbove = 0;  // persons whose total shows accrued above paid in either part
  int paidAbove = 0;     // persons whose total shows paid above accrued in either part
  std::vector<InventoryCheck> checks;  // every period and part
  int disagreeingPeriods = 0;          // periods with a check that does not agree
  std::vector<DifferingRow> differing;
  // What the window said while loading and reading it: reading errors, files passed over.
  std::vector<std::string> messages;
  // Its reconciliation (insured persons, tab «Все»), for its workbook; none when nothing could be
  // read.
  std::optional<Reconciliation> reconciliation;

  bool Read() const { return reconciliation.has_value(); }
};

// Loads the organisation's files into a session of its own, reads them as the window does, and
// gathers what the overview lists. `date` (day.month.year) stamps its reconciliation.
OrganisationReview ReviewOrganisation(const ArchiveOrganisation& organisation, char separator,
                                      const std::string& date);

// The period after `key` ("2010-1", "2010-2", then quarters: "2011-1" ... "2011-4", "2012-1"):
// in 2010 the digit is a half-year. None for a key of another form.
std::optional<std::string> NextPeriod(const std::string& key);

}  // namespace lorvi
