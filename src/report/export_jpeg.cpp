#include <QFileInfo>

#include "report/exports.h"
#include "report/page_painter.h"
#include "report/whole_file_device.h"

namespace lorvi::report {

QStringList ExportJpeg(const PreparedReport& report, const QString& basePath, int dpi,
                       const ReportProgress& progress) {
  const QFileInfo info(basePath);
  QString suffix = info.suffix();
  QString stem = basePath;
  if (suffix.compare(u"jpg", Qt::CaseInsensitive) == 0 ||
      suffix.compare(u"jpeg", Qt::CaseInsensitive) == 0) {
    stem.chop(suffix.size() + 1);
  } else {
    suffix = QStringLiteral("jpg");
  }
  QStringList written;
  for (int i = 0; i < report.PageCount(); ++i) {
    PageStep(progress, QStringLiteral("Выгрузка в JPEG"), i + 1, report.PageCount());
    const QString path = QStringLiteral("%1_%2.%3").arg(stem).arg(i + 1).arg(suffix);
    const QImage picture = RenderPage(report.Page(i), dpi);
    WriteWholeFile(path, [&](QIODevice& device) {
      if (!picture.save(&device, "JPG", 90))
        ThrowCannotWrite(path, QStringLiteral("не удалось сжать рисунок"));
    });
    written.append(path);
  }
  return written;
}

}  // namespace lorvi::report
