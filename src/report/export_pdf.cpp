#include <QPainter>
#include <QPdfWriter>

#include "report/exports.h"
#include "report/page_painter.h"
#include "report/whole_file_device.h"

namespace lorvi::report {

void ExportPdf(const PreparedReport& report, const QString& path, const ReportProgress& progress) {
  if (report.IsEmpty()) ThrowCannotWrite(path, QStringLiteral("в отчете нет страниц"));
  WriteWholeFile(path, [&](QIODevice& device) {
    QPdfWriter writer(&device);
    writer.setCreator(QStringLiteral("Анализатор ЛОРВИ"));
    writer.setTitle(report.title);
    writer.setResolution(600);
    writer.setPageLayout(PageLayoutOf(report.Page(0)));
    QPainter painter;
    if (!painter.begin(&writer)) ThrowCannotWrite(path, device.errorString());
    const double pxPerMm = writer.resolution() / 25.4;
    for (int i = 0; i < report.PageCount(); ++i) {
      PageStep(progress, QStringLiteral("Выгрузка в PDF"), i + 1, report.PageCount());
      const PreparedPage page = report.Page(i);
      if (i > 0) {
        const QPageLayout layout = PageLayoutOf(page);
        if (!layout.isEquivalentTo(writer.pageLayout())) writer.setPageLayout(layout);
        writer.newPage();
      }
      PaintPage(painter, page, QPointF(0, 0), pxPerMm);
    }
    painter.end();
  });
}

}  // namespace lorvi::report
