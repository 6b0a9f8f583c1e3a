#include <QPainter>
#include <QPdfWriter>

#include "report/exports.h"
#include "report/page_painter.h"
#include "report/report_error.h"

namespace lorvi::report {

void ExportPdf(const PreparedReport& report, const QString& path) {
  const auto fail = [&] {
    ThrowReportError(QStringLiteral("Не удалось записать файл %1").arg(path));
  };
  if (report.pages.isEmpty()) fail();
  QPdfWriter writer(path);
  writer.setCreator(QStringLiteral("Анализатор ЛОРВИ"));
  writer.setResolution(600);
  writer.setPageLayout(PageLayoutOf(report.pages.first()));
  QPainter painter;
  if (!painter.begin(&writer)) fail();
  const double pxPerMm = writer.resolution() / 25.4;
  for (int i = 0; i < report.PageCount(); ++i) {
    if (i > 0) {
      writer.setPageLayout(PageLayoutOf(report.pages[i]));
      writer.newPage();
    }
    PaintPage(painter, report.pages[i], QPointF(0, 0), pxPerMm);
  }
  if (!painter.end()) fail();
}

}  // namespace lorvi::report
