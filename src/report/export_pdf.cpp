#include <QPainter>
#include <QPdfWriter>

#include "report/exports.h"
#include "report/page_painter.h"

namespace lorvi::report {

bool ExportPdf(const PreparedReport& report, const QString& path, QString* error) {
  const auto fail = [&] {
    if (error) *error = QStringLiteral("Не удалось записать файл %1").arg(path);
    return false;
  };
  if (report.pages.isEmpty()) return fail();
  QPdfWriter writer(path);
  writer.setCreator(QStringLiteral("Анализатор ЛОРВИ"));
  writer.setResolution(600);
  writer.setPageLayout(PageLayoutOf(report.pages.first()));
  QPainter painter;
  if (!painter.begin(&writer)) return fail();
  const double pxPerMm = writer.resolution() / 25.4;
  for (int i = 0; i < report.PageCount(); ++i) {
    if (i > 0) {
      writer.setPageLayout(PageLayoutOf(report.pages[i]));
      writer.newPage();
    }
    PaintPage(painter, report.pages[i], QPointF(0, 0), pxPerMm);
  }
  if (!painter.end()) return fail();
  return true;
}

}  // namespace lorvi::report
