#pragma once

#include "intake/file_tree.h"
#include "store/org_store.h"
#include "view/text_grid.h"

namespace lorvi {

// The node of the file that a figure came from: within the subtree of the organisation that
// carries `slot` only, preferring the file under the figure's period and "СЗВ:", else the first
// node of that name in the organisation's subtree; null when there is none.
const TreeNode* FindSourceNode(const FileTree& tree, int slot, std::string_view periodKey,
                               std::string_view source);

// The user selected cell (col, row) of `grid`: the partner selects the same cell and scrolls it
// to its top-left; in the insured-persons grids the source mark moves to the file the figure came
// from (or goes when the figure has none). Lookups that fail mark nothing, quietly.
// The design's one handler for all four grids, named after the first (docs/names.md).
void sgZLStrahSelectCell(const TextGrid& grid, TextGrid& partner, int col, int row, FileTree& tree,
                         const OrgStore& store);

}  // namespace lorvi
