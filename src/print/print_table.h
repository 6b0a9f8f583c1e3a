#pragma once

#include <optional>
#include <string>
#include <vector>

#include "intake/file_tree.h"
#include "view/text_grid.h"

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

// What the window shows, as the print button and the reconciliation workbook read it.
struct PrintSource {
  const FileTree& tree;
  const TextGrid& strah;  // the grids of the view shown
  const TextGrid& nakop;
  bool personsView;  // the insured-persons view is shown
  std::string panelTitle;
  std::string tabCaption;
};

// The title of the grids' name column in a print or a workbook: "ФИО" or "Категории".
std::string NameColumnTitle(const PrintSource& shown);
// The caption of the tab that filters the rows shown; empty in the inventory view, which has none.
std::string FilterCaption(const PrintSource& shown);

// The print table of the grids as they stand, every value whole, sorted by FIO ignoring letter
// case (equal names keep their order). Nothing when no node of the tree is selected.
std::optional<PrintJob> BuildPrintJob(const PrintSource& source);

}  // namespace lorvi
