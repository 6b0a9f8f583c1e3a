#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lorvi {

// Organisation slots: the tree places files of at most this many organisations, and the store
// keeps one table per slot. Its only fixed bound.
inline constexpr int kMaxOrgs = 2;

// The datum of the tree's unreadable files; it never names a slot.
inline constexpr int UnreadSlot = 1000000;

// One node of the tree of loaded files. Captions are in code page 1251.
struct TreeNode {
  std::string caption;
  int picture = -1;
  int state = -1;  // state picture, -1 for none
  int datum = 0;   // the organisation's slot, or the unreadable files' datum
  bool expanded = false;
  std::string note;  // an unreadable file's: why it was not taken, for the tooltip
  TreeNode* parent = nullptr;
  std::vector<std::unique_ptr<TreeNode>> children;
};

// The tree of loaded files as a model: nodes in order, a selection, and a change counter that
// views compare to know when to show the tree anew.
class FileTree {
 public:
  const std::vector<std::unique_ptr<TreeNode>>& TopLevel() const { return top_; }

  TreeNode* AddTop(std::string caption, int picture, int datum);
  TreeNode* AddChild(TreeNode* parent, std::string caption, int picture, int datum);
  TreeNode* InsertFirstChild(TreeNode* parent, std::string caption, int picture, int datum);

  // Every node, each followed by its descendants.
  std::vector<TreeNode*> DisplayOrder() const;
  // The node at `index` of the display order, or null.
  TreeNode* NodeAt(std::size_t index) const;
  std::size_t Count() const;

  // Moves a top-level node, with its subtree, to the end of the top level.
  void MoveToEnd(TreeNode* top);
  // Sorts every level by caption, as the tree's collation orders them.
  void SortAll();
  void ExpandAll();
  void ClearStates();
  // Gives `node` (of this tree) the state picture `state` (-1 for none).
  void SetState(TreeNode* node, int state);

  TreeNode* Selected() const { return selected_; }
  // Selects `node`; true when the selection moved, which the tree reports as a change.
  bool Select(TreeNode* node);

  // Removes every node; nothing is selected afterwards.
  void Clear();

  // Goes up with every change of nodes, order, expansion, selection or state pictures.
  unsigned long Version() const { return version_; }

 private:
  void Touch() { ++version_; }
  TreeNode* Insert(TreeNode* parent, std::size_t at, std::string caption, int picture, int datum);

  std::vector<std::unique_ptr<TreeNode>> top_;
  TreeNode* selected_ = nullptr;
  unsigned long version_ = 0;
};

}  // namespace lorvi
