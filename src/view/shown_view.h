#pragma once

#include <string>

#include "intake/file_tree.h"
#include "view/text_grid.h"

namespace lorvi {

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

}  // namespace lorvi
