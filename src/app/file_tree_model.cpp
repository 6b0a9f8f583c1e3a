#include "app/file_tree_model.h"

#include <QBrush>
#include <QColor>
#include <QPainter>
#include <QPixmap>

#include "intake/load_files.h"
#include "widgets/image_list.h"
#include "widgets/qt_text.h"

namespace lorvi {
namespace {

int RowOf(const TreeNode* node, const FileTree& tree) {
  const auto& siblings = node->parent ? node->parent->children : tree.TopLevel();
  for (std::size_t i = 0; i < siblings.size(); ++i)
    if (siblings[i].get() == node) return static_cast<int>(i);
  return -1;
}

const QColor kTeal(0, 128, 128);
const QColor kNavy(0, 0, 128);

}  // namespace

FileTreeModel::FileTreeModel(const FileTree& tree, const TImageList& pictures, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree), pictures_(pictures) {}

QModelIndex FileTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return {};
  const TreeNode* p = NodeOf(parent);
  const auto& children = p ? p->children : tree_.TopLevel();
  if (row >= static_cast<int>(children.size())) return {};
  return createIndex(row, 0, children[static_cast<std::size_t>(row)].get());
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

TreeNode* FileTreeModel::NodeOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<TreeNode*>(index.internalPointer()) : nullptr;
}

QModelIndex FileTreeModel::IndexOf(const TreeNode* node) const {
  if (node == nullptr) return {};
  const int row = RowOf(node, tree_);
  return row < 0 ? QModelIndex() : createIndex(row, 0, const_cast<TreeNode*>(node));
}

QFont FileTreeModel::NodeFont(const TreeNode& node, QFont font) {
  const auto only = [&font](bool bold, bool underline) {
    font.setBold(bold);
    font.setUnderline(underline);
  };
  if (node.picture == kPictureUnread || node.picture == kPictureOrganisation) only(true, false);
  if (node.picture == kPicturePeriod) only(false, true);
  if (node.state == kPictureSourceMark) only(true, false);
  return font;
}

QVariant FileTreeModel::data(const QModelIndex& index, int role) const {
  const TreeNode* node = NodeOf(index);
  if (node == nullptr) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      return FromCp1251(node->caption);
    case Qt::DecorationRole:
      return pictures_.Image(node->picture);
    case Qt::FontRole:
      return QVariant();  // the view's delegate applies NodeFont to its own font
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

namespace lorvi {

FileTreeDelegate::FileTreeDelegate(const FileTreeModel& model, const TImageList& pictures,
                                   QObject* parent)
    : QStyledItemDelegate(parent), model_(model), pictures_(pictures) {}

void FileTreeDelegate::initStyleOption(QStyleOptionViewItem* option,
                                       const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  const TreeNode* node = model_.NodeOf(index);
  if (node == nullptr) return;
  option->font = FileTreeModel::NodeFont(*node, option->font);
  // The node's colour holds on the selection's background too.
  const QVariant colour = index.data(Qt::ForegroundRole);
  if (colour.isValid()) option->palette.setBrush(QPalette::HighlightedText, colour.value<QBrush>());
}

void FileTreeDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  const TreeNode* node = model_.NodeOf(index);
  if (node == nullptr || node->state < 0) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  // The state picture stands to the left of the node's picture.
  const int width = pictures_.Width();
  const QPoint at(option.rect.left(),
                  option.rect.top() + (option.rect.height() - pictures_.Height()) / 2);
  pictures_.Draw(*painter, at, node->state);
  QStyleOptionViewItem rest(option);
  rest.rect.setLeft(option.rect.left() + width);
  QStyledItemDelegate::paint(painter, rest, index);
}

QSize FileTreeDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  if (const TreeNode* node = model_.NodeOf(index); node != nullptr && node->state >= 0)
    size.rwidth() += pictures_.Width();
  return size;
}

}  // namespace lorvi
