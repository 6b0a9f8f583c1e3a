#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "intake/file_tree.h"
#include "view/fill_grid.h"
#include "view/shown_view.h"
#include "view/text_grid.h"

namespace lorvi {

// One comparison of accrued with paid, in ten-thousandths. A grid cell that shows "???" has no
// figures at all: it adds nothing to the grid's sums, nor does it here.
struct Comparison {
  std::optional<std::int64_t> accrued;
  std::optional<std::int64_t> paid;
  Verdict verdict = Verdict::kEqual;

  bool Readable() const { return accrued.has_value() && paid.has_value(); }
  std::int64_t Difference() const { return *accrued - *paid; }
};

// One grid row: its title as the grid shows it (a leaver's period included), a comparison per
// period in the grid's order, and the row's total.
struct ReconciliationRow {
  std::string title;
  std::vector<Comparison> periods;
  Comparison total;
};

// One pair of the grids shown: the insurance or the funded part.
struct ReconciliationPart {
  std::vector<std::string> periods;  // period keys, in the grid's order
  std::vector<ReconciliationRow> rows;
};

// A file read for the organisation, as the tree lists it.
struct ReconciliationFile {
  std::string name;
  std::string period;
  std::string kind;
};

// The reconciliation of the organisation shown, in the view and with the rows shown. Texts are
// in code page 1251.
struct Reconciliation {
  std::string organisation;  // the organisation's caption in the tree
  std::string view;          // the work panel's title
  std::string tab;           // the tab's caption in the insured-persons view, else empty
  std::string nameTitle;     // "ФИО" or "Категории"
  std::string date;          // of the export, day.month.year
  std::vector<ReconciliationFile> files;
  ReconciliationPart insurance;
  ReconciliationPart funded;
};

// What the window shows, as the workbook reads it.
struct ReconciliationSource {
  PrintSource shown;  // tree, grids, view and tab, as the print reads them
  int slot;           // the organisation shown (CurOrg)
  char separator;     // the locale's decimal separator, as the grids write it
  std::string date;
};

// The figures of a grid's comparison text ("A > P (D)", "A < P (D)", "A = P" or "???"), with the
// grid's verdict.
Comparison ParseComparison(std::string_view text, char separator);

// The reconciliation of what the grids show; nothing when no organisation is shown (nothing
// loaded, only unreadable files, or the grids emptied).
std::optional<Reconciliation> BuildReconciliation(const ReconciliationSource& source);

// A file name for the workbook: registration number, view and date (year-month-day).
std::string ReconciliationFileName(const Reconciliation& reconciliation);

}  // namespace lorvi
