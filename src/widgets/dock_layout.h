#pragma once

#include <QLayout>
#include <QList>

namespace lorvi {

// Where a docked child sits in its parent: along a side (spanning the parent's inner width or
// height) or filling what the docked siblings leave free.
enum class Dock { Top, Bottom, Left, Right, Fill };

// Places children as the classic form designer's alignment does: in the order they were added,
// top ones from the top down, bottom ones from the bottom up, then left, right, and the fill child
// in the rest; a hidden child takes no room. Each docked child keeps its own thickness (height for
// top and bottom, width for left and right), which the layout holds and SetThickness changes.
class DockLayout : public QLayout {
 public:
  explicit DockLayout(QWidget* parent);
  ~DockLayout() override;

  // Adds `widget` docked at `dock` with `thickness` pixels (ignored for Fill).
  void AddWidget(QWidget* widget, Dock dock, int thickness = 0);
  void SetThickness(QWidget* widget, int thickness);
  // When the left and right children need more width than there is, they shrink in proportion
  // to their thickness instead of overlapping. Off by default.
  void SetShrinkSides(bool shrink) { shrinkSides_ = shrink; }

  void addItem(QLayoutItem* item) override;
  QLayoutItem* itemAt(int index) const override;
  QLayoutItem* takeAt(int index) override;
  int count() const override { return static_cast<int>(items_.size()); }
  QSize sizeHint() const override;
  QSize minimumSize() const override { return {0, 0}; }
  void setGeometry(const QRect& rect) override;

 private:
  struct Docked {
    QLayoutItem* item;
    Dock dock;
    int thickness;
  };
  QList<Docked> items_;
  bool shrinkSides_ = false;
};

}  // namespace lorvi
