#pragma once

#include <optional>
#include <string>
#include <vector>

#include "view/shown_view.h"

namespace lorvi {

// One record of the print table: a row of the grids on screen (code page 1251).
struct PrintRecord {
  std::string FIO;     // the row's title
  std::string MoneyS;  // one line per column of the insurance grid: title, " : ", text, CR
  std::string MoneyN;  // the same of the funded grid
};

// What the print button hands the report: the four variables and the records sorted by FIO.
struct PrintJob {
  std::string FIO;      // title of the name column
  std::string OrgName;  // caption of the top-level node above the selected one
  std::string XMLType;  // the work panel's title
  std::string TabName;  // the tab's caption in the insured-persons view, else empty
  std::vector<PrintRecord> records;
};

// The print table of the grids as they stand, every value whole, sorted by FIO ignoring letter
// case (equal names keep their order). Nothing when no node of the tree is selected.
std::optional<PrintJob> BuildPrintJob(const PrintSource& source);

}  // namespace lorvi
