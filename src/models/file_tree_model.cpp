#include "models/file_tree_model.h"

#include <QBrush>
#include <QColor>
#include <QPixmap>

#include <optional>
#include <utility>

#include "intake/load_files.h"
#include "models/qt_text.h"

namespace lorvi {
namespace {

int RowOf(const TreeNode* node, const FileTree& tree) {
  const auto& siblings = node->parent ? node->parent->children : tree.TopLevel();
  for (std::size_t i = 0; i < siblings.size(); ++i)
    if (siblings[i] == node) return static_cast<int>(i);
  return -1;
}

// Weight and underline of the kinds of node drawn otherwise than the tree's own font, and only
// those: the view takes the rest from its font.
QVariant NodeFont(const TreeNode& node) {
  std::optional<std::pair<bool, bool>> boldUnderline;
  if (node.picture == kPictureUnread || node.picture == kPictureOrganisation)
    boldUnderline = {true, false};
  if (node.picture == kPicturePeriod) boldUnderline = {false, true};
  if (node.state == kPictureSourceMark) boldUnderline = {true, false};
  if (!boldUnderline) return {};
  QFont font;
  font.setBold(boldUnderline->first);
  font.setUnderline(boldUnderline->second);
  return font;
}

const QColor kTeal(0, 128, 128);
const QColor kNavy(0, 0, 128);

}  // namespace

FileTreeModel::FileTreeModel(const FileTree& tree, QList<QPixmap> pictures, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree), pictures_(std::move(pictures)) {}

QModelIndex FileTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return {};
  const TreeNode* p = NodeOf(parent);
  const auto& children = p ? p->children : tree_.TopLevel();
  if (row >= static_cast<int>(children.size())) return {};
  return createIndex(row, 0, children[static_cast<std::size_t>(row)]);
}

QModelIndex FileTreeModel::parent(const QModelIndex& child) const {
  const TreeNode* node = NodeOf(child);
  if (node == nullptr || node->parent == nullptr) return {};
  return createIndex(RowOf(node->parent, tree_), 0, node->parent);
}

int FileTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() && parent.column() != 0) return 0;
  const TreeNode* p = NodeOf(parent);
  return static_cast<int>(p ? p->children.size() : tree_.TopLevel().size());
}

int FileTreeModel::columnCount(const QModelIndex&) const { return 1; }

const TreeNode* FileTreeModel::NodeOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<const TreeNode*>(index.internalPointer()) : nullptr;
}

QModelIndex FileTreeModel::IndexOf(const TreeNode* node) const {
  if (node == nullptr) return {};
  const int row = RowOf(node, tree_);
  return row < 0 ? QModelIndex() : createIndex(row, 0, node);
}

QVariant FileTreeModel::data(const QModelIndex& index, int role) const {
  const TreeNode* node = NodeOf(index);
  if (node == nullptr) return {};
  switch (role) {
    case Qt::DisplayRole:
      return FromCp1251(node->caption);
    case Qt::ToolTipRole:
      // An unreadable file says why it was not taken.
      return node->note.empty() ? FromCp1251(node->caption)
                                : FromCp1251(node->caption + "\n" + node->note);
    case Qt::DecorationRole:
      return node->picture >= 0 && node->picture < pictures_.size() ? pictures_[node->picture]
                                                                    : QPixmap();
    case kStatePictureRole:
      if (node->state >= 0 && node->state < pictures_.size()) return pictures_[node->state];
      return {};
    case Qt::FontRole:
      return NodeFont(*node);
    case Qt::ForegroundRole:
      if (node->state == kPictureSourceMark) return QBrush(kNavy);
      if (node->picture == kPictureFile) return QBrush(kTeal);
      return {};
    default:
      return {};
  }
}

bool FileTreeModel::Refresh() {
  if (shownVersion_ == tree_.Version()) return false;
  beginResetModel();
  shownVersion_ = tree_.Version();
  endResetModel();
  return true;
}

}  // namespace lorvi
