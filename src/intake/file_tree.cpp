#include "intake/file_tree.h"

#include <algorithm>

#include "intake/collation.h"

namespace lorvi {
namespace {

void Walk(const std::vector<std::unique_ptr<TreeNode>>& nodes,
          const std::function<void(TreeNode*)>& visit) {
  for (const auto& node : nodes) {
    visit(node.get());
    Walk(node->children, visit);
  }
}

void SortLevel(std::vector<std::unique_ptr<TreeNode>>& nodes) {
  std::stable_sort(nodes.begin(), nodes.end(), [](const auto& a, const auto& b) {
    return CompareWordSort(a->caption, b->caption) < 0;
  });
  for (auto& node : nodes) SortLevel(node->children);
}

}  // namespace

TreeNode* FileTree::Insert(TreeNode* parent, std::size_t at, std::string caption, int picture,
                           int datum) {
  auto node = std::make_unique<TreeNode>();
  node->caption = std::move(caption);
  node->picture = picture;
  node->datum = datum;
  node->parent = parent;
  TreeNode* raw = node.get();
  auto& siblings = parent ? parent->children : top_;
  siblings.insert(siblings.begin() + static_cast<long>(std::min(at, siblings.size())),
                  std::move(node));
  Touch();
  return raw;
}

TreeNode* FileTree::AddTop(std::string caption, int picture, int datum) {
  return Insert(nullptr, top_.size(), std::move(caption), picture, datum);
}

TreeNode* FileTree::AddChild(TreeNode* parent, std::string caption, int picture, int datum) {
  return Insert(parent, parent->children.size(), std::move(caption), picture, datum);
}

TreeNode* FileTree::InsertFirstChild(TreeNode* parent, std::string caption, int picture,
                                     int datum) {
  return Insert(parent, 0, std::move(caption), picture, datum);
}

std::vector<TreeNode*> FileTree::DisplayOrder() const {
  std::vector<TreeNode*> nodes;
  Walk(top_, [&](TreeNode* n) { nodes.push_back(n); });
  return nodes;
}

TreeNode* FileTree::NodeAt(std::size_t index) const {
  const auto nodes = DisplayOrder();
  return index < nodes.size() ? nodes[index] : nullptr;
}

std::size_t FileTree::Count() const { return DisplayOrder().size(); }

void FileTree::MoveToEnd(TreeNode* top) {
  const auto it =
      std::find_if(top_.begin(), top_.end(), [&](const auto& n) { return n.get() == top; });
  if (it == top_.end()) return;
  std::unique_ptr<TreeNode> node = std::move(*it);
  top_.erase(it);
  top_.push_back(std::move(node));
  Touch();
}

void FileTree::SortAll() {
  SortLevel(top_);
  Touch();
}

void FileTree::ExpandAll() {
  Walk(top_, [](TreeNode* n) { n->expanded = true; });
  Touch();
}

void FileTree::ClearStates() {
  Walk(top_, [](TreeNode* n) { n->state = -1; });
  Touch();
}

void FileTree::SetState(TreeNode* node, int state) {
  node->state = state;
  Touch();
}

bool FileTree::Select(TreeNode* node) {
  if (node == selected_) return false;
  selected_ = node;
  Touch();
  return true;
}

void FileTree::Clear() {
  top_.clear();
  selected_ = nullptr;
  Touch();
}

}  // namespace lorvi
