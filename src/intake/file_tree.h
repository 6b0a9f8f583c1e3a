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

struct TreeNode;

// The children of a node, or the top level: read by everyone, changed only by FileTree.
class TreeNodeList {
 public:
  class Iterator {
   public:
    using Base = std::vector<std::unique_ptr<TreeNode>>::const_iterator;
    explicit Iterator(Base at) : at_(at) {}
    const TreeNode* operator*() const { return at_->get(); }
    Iterator& operator++() {
      ++at_;
      return *this;
    }
    bool operator==(const Iterator& other) const { return at_ == other.at_; }
    bool operator!=(const Iterator& other) const { return at_ != other.at_; }

   private:
    Base at_;
  };

  Iterator begin() const { return Iterator(nodes_.begin()); }
  Iterator end() const { return Iterator(nodes_.end()); }
  std::size_t size() const { return nodes_.size(); }
  bool empty() const { return nodes_.empty(); }
  const TreeNode* operator[](std::size_t i) const { return nodes_[i].get(); }
  const TreeNode* front() const { return nodes_.front().get(); }
  const TreeNode* back() const { return nodes_.back().get(); }

 private:
  friend class FileTree;
  std::vector<std::unique_ptr<TreeNode>> nodes_;
};

// One node of the tree of loaded files. Captions are in code page 1251. Nodes are handed out
// const: every change goes through FileTree, which counts it.
struct TreeNode {
  std::string caption;
  int picture = -1;
  int state = -1;  // state picture, -1 for none
  int datum = 0;   // the organisation's slot, or the unreadable files' datum
  bool expanded = false;
  std::string note;  // an unreadable file's: why it was not taken, for the tooltip
  const TreeNode* parent = nullptr;
  TreeNodeList children;
};

// The tree of loaded files as a model: nodes in order, a selection, and a change counter that
// views compare to know when to show the tree anew.
class FileTree {
 public:
  const TreeNodeList& TopLevel() const { return top_; }

  const TreeNode* AddTop(std::string caption, int picture, int datum);
  const TreeNode* AddChild(const TreeNode* parent, std::string caption, int picture, int datum);
  const TreeNode* InsertFirstChild(const TreeNode* parent, std::string caption, int picture,
                                   int datum);

  // Every node, each followed by its descendants.
  std::vector<const TreeNode*> DisplayOrder() const;
  // The node at `index` of the display order, or null.
  const TreeNode* NodeAt(std::size_t index) const;
  std::size_t Count() const;

  // Moves a top-level node, with its subtree, to the end of the top level.
  void MoveToEnd(const TreeNode* top);
  // Sorts every level by caption, as the tree's collation orders them.
  void SortAll();
  void ExpandAll();
  void ClearStates();
  // Gives `node` (of this tree) the state picture `state` (-1 for none).
  void SetState(const TreeNode* node, int state);
  // Keeps why an unreadable file was not taken, for its tooltip.
  void SetNote(const TreeNode* node, std::string note);

  // The top-level node of the organisation in `slot`, or null.
  const TreeNode* Organisation(int slot) const;

  const TreeNode* Selected() const { return selected_; }
  // Selects `node`; true when the selection moved, which the tree reports as a change.
  bool Select(const TreeNode* node);

  // Removes every node; nothing is selected afterwards.
  void Clear();

  // Goes up with every change of nodes, order, expansion, selection or state pictures.
  unsigned long Version() const { return version_; }

 private:
  void Touch() { ++version_; }
  const TreeNode* Insert(const TreeNode* parent, std::size_t at, std::string caption, int picture,
                         int datum);
  // Every node is made here, never const, so a node this tree handed out may be changed here.
  static TreeNode* Own(const TreeNode* node) { return const_cast<TreeNode*>(node); }
  static void SortLevel(TreeNodeList& list);

  TreeNodeList top_;
  const TreeNode* selected_ = nullptr;
  unsigned long version_ = 0;
};

}  // namespace lorvi
