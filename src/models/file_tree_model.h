#pragma once

#include <QAbstractItemModel>
#include <QFont>
#include <QList>
#include <QPixmap>

#include "intake/file_tree.h"

namespace lorvi {

// The tree of loaded files for a tree view: captions, the node's picture with its state picture
// to the left of it, and the font and colour each kind of node is drawn with.
class FileTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  // `pictures`: the image list IL, by picture number.
  FileTreeModel(const FileTree& tree, QList<QPixmap> pictures, QObject* parent = nullptr);

  QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  // The node's state picture (the source mark), drawn left of its own; absent for none.
  static constexpr int kStatePictureRole = Qt::UserRole + 1;

  const TreeNode* NodeOf(const QModelIndex& index) const;
  QModelIndex IndexOf(const TreeNode* node) const;

  // Shows the tree anew when it changed since the last time; true when it did.
  bool Refresh();

 private:
  const FileTree& tree_;
  QList<QPixmap> pictures_;
  unsigned long shownVersion_ = static_cast<unsigned long>(-1);
};

}  // namespace lorvi
