#include "widgets/tab_control.h"

#include <QPainter>
#include <QTabBar>
#include <QVBoxLayout>

#include "widgets/edge_drawing.h"

namespace lorvi {

TTabControl::TTabControl(QWidget* parent)
    : QWidget(parent), tabs_(new QTabBar(this)), page_(new QWidget(this)) {
  tabs_->setDrawBase(false);
  tabs_->setExpanding(false);
  tabs_->setUsesScrollButtons(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(tabs_);
  layout->addWidget(page_, 1);
  // The page's raised frame, drawn by this control, is two pixels wide on every side.
  page_->setContentsMargins(2, 2, 2, 2);
  connect(tabs_, &QTabBar::currentChanged, this, &TTabControl::changed);
}

int TTabControl::AddTab(const QString& caption, const QIcon& icon) {
  const bool blocked = tabs_->blockSignals(true);
  const int index = tabs_->addTab(icon, caption);
  tabs_->blockSignals(blocked);
  return index;
}

int TTabControl::TabIndex() const { return tabs_->currentIndex(); }
int TTabControl::Count() const { return tabs_->count(); }
QString TTabControl::TabCaption(int index) const { return tabs_->tabText(index); }

void TTabControl::SetTabIndexQuietly(int index) {
  const bool blocked = tabs_->blockSignals(true);
  tabs_->setCurrentIndex(index);
  tabs_->blockSignals(blocked);
}

void TTabControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  DrawEdge(painter, page_->geometry(), EdgeKind::Raised, palette());
}

}  // namespace lorvi
