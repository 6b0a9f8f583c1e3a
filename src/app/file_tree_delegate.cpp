#include "app/file_tree_delegate.h"

#include <QPainter>

#include "widgets/image_list.h"

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
