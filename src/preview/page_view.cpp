#include "preview/page_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

#include "report/page_painter.h"

namespace lorvi::report {
namespace {

constexpr int kGap = 12;  // pixels around and between pages
constexpr double kMinZoom = 0.1;
constexpr double kMaxZoom = 5.0;

}  // namespace

class PageView::Desk : public QWidget {
 public:
  explicit Desk(PageView* view) : QWidget(view), view_(view) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor(128, 128, 128));
    const double pxPerMm = view_->PixelsPerMm();
    for (int i = 0; i < view_->report_.PageCount(); ++i) {
      const QRect page = view_->PageRect(i);
      if (page.top() > event->rect().bottom()) break;
      if (!page.adjusted(0, 0, 3, 3).intersects(event->rect())) continue;
      painter.fillRect(page.translated(3, 3), QColor(60, 60, 60));
      painter.fillRect(page, Qt::white);
      painter.save();
      painter.setClipRect(page);
      PaintPage(painter, view_->report_.Page(i), page.topLeft(), pxPerMm,
                i == view_->highlightPage_ ? view_->highlights_ : QList<QRectF>());
      painter.restore();
    }
  }

 private:
  PageView* view_;
};

PageView::PageView(const PreparedReport& report, QWidget* parent)
    : QScrollArea(parent), report_(report), desk_(new Desk(this)) {
  setWidget(desk_);
  setWidgetResizable(false);
  setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  setBackgroundRole(QPalette::Dark);
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { Scrolled(); });
  Relayout();
}

double PageView::PixelsPerMm() const { return zoom_ * logicalDpiX() / 25.4; }

QRect PageView::PageRect(int page) const {
  if (page < 0 || page >= tops_.size()) return {};
  const QSizeF size = report_.PageSize(page) * PixelsPerMm();
  const int width = qRound(size.width());
  return QRect((desk_->width() - width) / 2, tops_[page], width, qRound(size.height()));
}

void PageView::Relayout() {
  const double pxPerMm = PixelsPerMm();
  int width = 0;
  int height = kGap;
  tops_.clear();
  for (int i = 0; i < report_.PageCount(); ++i) {
    const QSizeF size = report_.PageSize(i);
    tops_.append(height);
    width = std::max(width, qRound(size.width() * pxPerMm));
    height += qRound(size.height() * pxPerMm) + kGap;
  }
  desk_->resize(std::max(width + 2 * kGap, viewport()->width()), height);
  desk_->update();
}

void PageView::SetZoom(double zoom) {
  mode_ = ZoomMode::Fixed;
  zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
  if (qFuzzyCompare(zoom, zoom_)) return;
  const int page = current_;
  zoom_ = zoom;
  Relayout();
  GoToPage(page);
  emit ZoomChanged(zoom_);
}

void PageView::SetZoomMode(ZoomMode mode) {
  mode_ = mode;
  ApplyZoomMode();
}

void PageView::ApplyZoomMode() {
  if (mode_ == ZoomMode::Fixed || report_.IsEmpty()) return;
  const QSizeF page = report_.PageSize(current_) * (logicalDpiX() / 25.4);
  // The scroll bar takes its room whether or not it shows, so that fitting does not flicker.
  const double width =
      viewport()->width() -
      (verticalScrollBar()->isVisible() ? 0 : verticalScrollBar()->sizeHint().width()) - 2 * kGap;
  double zoom = width / page.width();
  if (mode_ == ZoomMode::WholePage)
    zoom = std::min(zoom, (viewport()->height() - 2.0 * kGap) / page.height());
  zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
  const int current = current_;
  const bool changed = !qFuzzyCompare(zoom, zoom_);
  zoom_ = zoom;
  Relayout();
  GoToPage(current);
  if (changed) emit ZoomChanged(zoom_);
}

void PageView::GoToPage(int page) {
  if (report_.IsEmpty()) return;
  page = std::clamp(page, 0, report_.PageCount() - 1);
  scrollingTo_ = true;
  verticalScrollBar()->setValue(PageRect(page).top() - kGap);
  scrollingTo_ = false;
  SetCurrent(page);
}

void PageView::ShowArea(int page, const QRectF& area) {
  if (page < 0 || page >= report_.PageCount()) return;
  const QRect rect = PageRect(page);
  const double pxPerMm = PixelsPerMm();
  const QRectF pixels(rect.left() + area.left() * pxPerMm, rect.top() + area.top() * pxPerMm,
                      area.width() * pxPerMm, area.height() * pxPerMm);
  scrollingTo_ = true;
  ensureVisible(qRound(pixels.center().x()), qRound(pixels.center().y()),
                qRound(pixels.width() / 2) + 20, qRound(pixels.height() / 2) + 40);
  scrollingTo_ = false;
  SetCurrent(page);
}

void PageView::SetHighlight(int page, const QList<QRectF>& areas) {
  highlightPage_ = areas.isEmpty() ? -1 : page;
  highlights_ = areas;
  desk_->update();
}

void PageView::SetCurrent(int page) {
  if (page == current_) return;
  current_ = page;
  emit CurrentPageChanged(current_);
}

void PageView::Scrolled() {
  if (scrollingTo_) return;
  // The page that holds the upper third of the view.
  const int probe = verticalScrollBar()->value() + viewport()->height() / 3 + kGap;
  const auto after = std::upper_bound(tops_.begin(), tops_.end(), probe);
  const int page = std::max(0, static_cast<int>(after - tops_.begin()) - 1);
  SetCurrent(page);
}

void PageView::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  if (mode_ == ZoomMode::Fixed)
    Relayout();
  else
    ApplyZoomMode();
}

void PageView::wheelEvent(QWheelEvent* event) {
  if (event->modifiers() & Qt::ControlModifier) {
    SetZoom(zoom_ * (event->angleDelta().y() > 0 ? 1.25 : 0.8));
    event->accept();
    return;
  }
  QScrollArea::wheelEvent(event);
}

}  // namespace lorvi::report
