#include "intake/file_tree.h"

#include <algorithm>

#include "intake/collation.h"

namespace lorvi {
namespace {

void Walk(const TreeNodeList& nodes, const std::function<void(const TreeNode*)>& visit) {
  for (const TreeNode* node : nodes) {
    visit(node);
    Walk(node->children, visit);
  }
}

}  // namespace

void FileTree::SortLevel(TreeNodeList& list) {
  auto& nodes = list.nodes_;
  std::stable_sort(nodes.begin(), nodes.end(), [](const auto& a, const auto& b) {
    return CompareWordSort(a->caption, b->caption) < 0;
  });
  for (auto& node : nodes) SortLevel(node->children);
}

const TreeNode* FileTree::Insert(const TreeNode* parent, std::size_t at, std::string caption,
                                 int picture, int datum) {
  auto node = std::make_unique<TreeNode>();
  node->caption = std::move(caption);
  node->picture = picture;
  node->datum = datum;
  node->parent = parent;
  TreeNode* raw = node.get();
  auto& siblings = parent ? Own(parent)->children.nodes_ : top_.nodes_;
  siblings.insert(siblings.begin() + static_cast<long>(std::min(at, siblings.size())),
                  std::move(node));
  Touch();
  return raw;
}

const TreeNode* FileTree::AddTop(std::string caption, int picture, int datum) {
  return Insert(nullptr, top_.size(), std::move(caption), picture, datum);
}

const TreeNode* FileTree::AddChild(const TreeNode* parent, std::string caption, int picture,
                                   int datum) {
  return Insert(parent, parent->children.size(), std::move(caption), picture, datum);
}

const TreeNode* FileTree::InsertFirstChild(const TreeNode* parent, std::string caption, int picture,
                                           int datum) {
  return Insert(parent, 0, std::move(caption), picture, datum);
}

std::vector<const TreeNode*> FileTree::DisplayOrder() const {
  std::vector<const TreeNode*> nodes;
  Walk(top_, [&](const TreeNode* n) { nodes.push_back(n); });
  return nodes;
}

const TreeNode* FileTree::NodeAt(std::size_t index) const {
  const auto nodes = DisplayOrder();
  return index < nodes.size() ? nodes[index] : nullptr;
}

std::size_t FileTree::Count() const { return DisplayOrder().size(); }

const TreeNode* FileTree::Organisation(int slot) const {
  for (const TreeNode* top : top_)
    if (top->datum == slot) return top;
  return nullptr;
}

void FileTree::MoveToEnd(const TreeNode* top) {
  auto& nodes = top_.nodes_;
  const auto it =
      std::find_if(nodes.begin(), nodes.end(), [&](const auto& n) { return n.get() == top; });
  if (it == nodes.end()) return;
  std::unique_ptr<TreeNode> node = std::move(*it);
  nodes.erase(it);
  nodes.push_back(std::move(node));
  Touch();
}

void FileTree::SortAll() {
  SortLevel(top_);
  Touch();
}

void FileTree::ExpandAll() {
  Walk(top_, [](const TreeNode* n) { Own(n)->expanded = true; });
  Touch();
}

void FileTree::ClearStates() {
  Walk(top_, [](const TreeNode* n) { Own(n)->state = -1; });
  Touch();
}

void FileTree::SetState(const TreeNode* node, int state) {
  Own(node)->state = state;
  Touch();
}

void FileTree::SetNote(const TreeNode* node, std::string note) {
  Own(node)->note = std::move(note);
  Touch();
}

bool FileTree::Select(const TreeNode* node) {
  if (node == selected_) return false;
  selected_ = node;
  Touch();
  return true;
}

void FileTree::Clear() {
  top_.nodes_.clear();
  selected_ = nullptr;
  Touch();
}

}  // namespace lorvi
