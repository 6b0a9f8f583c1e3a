#pragma once

#include <QStyledItemDelegate>

namespace lorvi {

// Paints each node as its model describes it: font and colour from their roles, the colour kept
// on the selection's background, and the state picture (kStatePictureRole) left of the node's own.
class FileTreeDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace lorvi
