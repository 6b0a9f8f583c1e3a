#include "preview/print_report.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>

#include "report/page_painter.h"
#include "report/report_error.h"

namespace lorvi::report {

void PrintReport(const PreparedReport& report, QPrinter& printer, const ReportProgress& progress) {
  if (report.IsEmpty()) return;
  int first = 0;
  int last = report.PageCount() - 1;
  if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
    first = std::clamp(printer.fromPage() - 1, 0, last);
    last = std::clamp(printer.toPage() > 0 ? printer.toPage() - 1 : last, first, last);
  }
  // Items are placed from the paper's corner; the margins are in the report already.
  printer.setFullPage(true);
  if (!report.title.isEmpty()) printer.setDocName(report.title);
  printer.setPageLayout(PageLayoutOf(report.Page(first)));
  QPainter painter;
  if (!painter.begin(&printer)) ThrowReportError(QStringLiteral("Не удалось начать печать"));
  const double pxPerMm = printer.resolution() / 25.4;
  for (int i = first; i <= last; ++i) {
    try {
      PageStep(progress, QStringLiteral("Печать"), i - first + 1, last - first + 1);
    } catch (const Cancelled&) {
      printer.abort();
      painter.end();
      throw;
    }
    if (i > first) printer.newPage();
    PaintPage(painter, report.Page(i), QPointF(0, 0), pxPerMm);
  }
  painter.end();
}

}  // namespace lorvi::report
