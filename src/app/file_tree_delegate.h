#pragma once

#include <QStyledItemDelegate>

#include "models/file_tree_model.h"

namespace lorvi {

class TImageList;

// Draws each node in its font and colour, with the state picture left of the node's picture.
class FileTreeDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  FileTreeDelegate(const FileTreeModel& model, const TImageList& pictures, QObject* parent);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  const FileTreeModel& model_;
  const TImageList& pictures_;
};

}  // namespace lorvi
