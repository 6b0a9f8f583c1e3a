#include "widgets/dock_layout.h"

#include <QWidget>
#include <QWidgetItem>

#include <algorithm>

namespace lorvi {

DockLayout::DockLayout(QWidget* parent) : QLayout(parent) {
  setContentsMargins(0, 0, 0, 0);
  setSpacing(0);
}

DockLayout::~DockLayout() {
  while (!items_.isEmpty()) delete items_.takeFirst().item;
}

void DockLayout::AddWidget(QWidget* widget, Dock dock, int thickness) {
  addChildWidget(widget);
  items_.append({new QWidgetItem(widget), dock, thickness});
  invalidate();
}

void DockLayout::SetThickness(QWidget* widget, int thickness) {
  for (Docked& d : items_)
    if (d.item->widget() == widget && d.thickness != thickness) {
      d.thickness = thickness;
      invalidate();
      if (parentWidget()) setGeometry(parentWidget()->contentsRect());
    }
}

void DockLayout::addItem(QLayoutItem* item) { items_.append({item, Dock::Fill, 0}); }

QLayoutItem* DockLayout::itemAt(int index) const {
  return index >= 0 && index < items_.size() ? items_[index].item : nullptr;
}

QLayoutItem* DockLayout::takeAt(int index) {
  return index >= 0 && index < items_.size() ? items_.takeAt(index).item : nullptr;
}

QSize DockLayout::sizeHint() const { return {100, 100}; }

void DockLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  QRect free = rect;
  int sides = 0;  // the width the left and right children ask for
  for (const Docked& d : items_)
    if ((d.dock == Dock::Left || d.dock == Dock::Right) &&
        !(d.item->widget() && d.item->widget()->isHidden()))
      sides += d.thickness;
  const int room = std::max(rect.width(), 0);
  const auto widthOf = [&](const Docked& d) {
    return shrinkSides_ && sides > room ? d.thickness * room / sides : d.thickness;
  };
  const auto place = [&](Dock side) {
    for (const Docked& d : items_) {
      if (d.dock != side) continue;
      // A hidden side child takes no room; a hidden fill child keeps its place for when it shows.
      if (side != Dock::Fill && d.item->widget() && d.item->widget()->isHidden()) continue;
      QRect r = free;
      switch (side) {
        case Dock::Top:
          r.setHeight(d.thickness);
          free.setTop(free.top() + d.thickness);
          break;
        case Dock::Bottom:
          r.setTop(free.bottom() + 1 - d.thickness);
          free.setBottom(free.bottom() - d.thickness);
          break;
        case Dock::Left:
          r.setWidth(widthOf(d));
          free.setLeft(free.left() + widthOf(d));
          break;
        case Dock::Right:
          r.setLeft(free.right() + 1 - widthOf(d));
          free.setRight(free.right() - widthOf(d));
          break;
        case Dock::Fill:
          break;
      }
      if (side == Dock::Fill) r = free;
      r.setSize(r.size().expandedTo(QSize(0, 0)));
      // Straight to the widget: the layout item would skip a hidden one.
      if (QWidget* w = d.item->widget())
        w->setGeometry(r);
      else
        d.item->setGeometry(r);
    }
  };
  for (Dock side : {Dock::Top, Dock::Bottom, Dock::Left, Dock::Right, Dock::Fill}) place(side);
}

}  // namespace lorvi
