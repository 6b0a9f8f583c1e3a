#include "app/file_tree_delegate.h"

#include <QPainter>
#include <QPixmap>

#include "models/file_tree_model.h"

namespace lorvi {

void FileTreeDelegate::initStyleOption(QStyleOptionViewItem* option,
                                       const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  // The node's colour holds on the selection's background too.
  const QVariant colour = index.data(Qt::ForegroundRole);
  if (colour.isValid()) option->palette.setBrush(QPalette::HighlightedText, colour.value<QBrush>());
}

void FileTreeDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  const QVariant state = index.data(FileTreeModel::kStatePictureRole);
  if (!state.isValid()) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  const QPixmap picture = state.value<QPixmap>();
  painter->drawPixmap(
      QPoint(option.rect.left(), option.rect.top() + (option.rect.height() - picture.height()) / 2),
      picture);
  QStyleOptionViewItem rest(option);
  rest.rect.setLeft(option.rect.left() + picture.width());
  QStyledItemDelegate::paint(painter, rest, index);
}

QSize FileTreeDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  const QVariant state = index.data(FileTreeModel::kStatePictureRole);
  if (state.isValid()) size.rwidth() += state.value<QPixmap>().width();
  return size;
}

}  // namespace lorvi
