#include "view/cell_selection.h"

#include <optional>

#include "intake/header_scan.h"
#include "intake/load_files.h"
#include "store/conversions.h"

namespace lorvi {
namespace {

std::optional<int> ValueOfName(const KeyedList& list, std::string_view name) {
  const long at = list.IndexOfName(name);
  if (at < 0) return std::nullopt;
  return ParseInteger(ValueOf(list[static_cast<std::size_t>(at)]));
}

const TreeNode* FirstInSubtree(const TreeNode* node, std::string_view caption) {
  for (const TreeNode* child : node->children) {
    if (child->caption == caption) return child;
    if (const TreeNode* found = FirstInSubtree(child, caption)) return found;
  }
  return nullptr;
}

const TreeNode* Child(const TreeNode* parent, std::string_view caption) {
  for (const TreeNode* child : parent->children)
    if (child->caption == caption) return child;
  return nullptr;
}

}  // namespace

const TreeNode* FindSourceNode(const FileTree& tree, int slot, std::string_view periodKey,
                               std::string_view source) {
  const TreeNode* org = tree.Organisation(slot);
  if (org == nullptr) return nullptr;
  if (const TreeNode* period = Child(org, periodKey))
    if (const TreeNode* kind = Child(period, kKindSZV))
      if (const TreeNode* file = Child(kind, source)) return file;
  return FirstInSubtree(org, source);
}

void sgZLStrahSelectCell(const TextGrid& grid, TextGrid& partner, int col, int row, FileTree& tree,
                         const OrgStore& store) {
  partner.SetSelection(col, row);
  partner.SetTopLeft(col, row);
  if (IsInventory(grid.Tag())) return;
  tree.ClearStates();
  if (grid.Cell(col, row) == "???") return;

  const TreeNode* selected = tree.Selected();
  if (selected == nullptr || selected->datum < 0 || selected->datum >= store.OrgCount) return;
  const int slot = selected->datum;
  const TInfo& info = store.ZLInfo[slot];
  const auto matrixRow = ValueOfName(info.Rows, grid.Cell(0, row));
  const std::string_view periodKey = std::string_view(grid.Cell(col, 0)).substr(0, 6);
  const auto matrixColumn = ValueOfName(info.Periods, periodKey);
  if (!matrixRow || !matrixColumn || *matrixRow < 0 || *matrixColumn < 0) return;
  const std::string& source = info.SrcFile.Get(*matrixRow, *matrixColumn);
  if (const TreeNode* node = FindSourceNode(tree, slot, periodKey, source))
    tree.SetState(node, kPictureSourceMark);
}

}  // namespace lorvi
