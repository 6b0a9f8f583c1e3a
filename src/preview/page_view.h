#pragma once

#include <QList>
#include <QRectF>
#include <QScrollArea>

#include "report/prepared_report.h"

namespace lorvi::report {

// The prepared pages one under another on a grey desk, scrolled and zoomed. The current page is
// the one at the top of the view, or the one last gone to.
class PageView : public QScrollArea {
  Q_OBJECT

 public:
  enum class ZoomMode { Fixed, PageWidth, WholePage };

  // `report` is not owned and must outlive the view.
  explicit PageView(const PreparedReport& report, QWidget* parent = nullptr);

  // 1 is the paper's real size on the screen.
  double Zoom() const { return zoom_; }
  ZoomMode Mode() const { return mode_; }
  // A fixed zoom, kept within 10 % to 500 %.
  void SetZoom(double zoom);
  // A zoom that follows the size of the view.
  void SetZoomMode(ZoomMode mode);

  int CurrentPage() const { return current_; }  // 0-based
  void GoToPage(int page);
  // Scrolls `area` (millimetres on `page`) into sight and makes that page the current one.
  void ShowArea(int page, const QRectF& area);
  // Marks `areas` (millimetres) on `page`; an empty list removes the marks.
  void SetHighlight(int page, const QList<QRectF>& areas);

  // Where a page lies on the desk, in pixels of the desk.
  QRect PageRect(int page) const;
  double PixelsPerMm() const;

 signals:
  void CurrentPageChanged(int page);
  void ZoomChanged(double zoom);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  class Desk;

  void Relayout();
  void ApplyZoomMode();
  void SetCurrent(int page);
  void Scrolled();

  const PreparedReport& report_;
  Desk* desk_;
  double zoom_ = 1;
  ZoomMode mode_ = ZoomMode::PageWidth;
  int current_ = 0;
  bool scrollingTo_ = false;
  QList<int> tops_;  // of each page on the desk
  int highlightPage_ = -1;
  QList<QRectF> highlights_;
};

}  // namespace lorvi::report
