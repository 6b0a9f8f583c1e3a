#include "report/export_formats.h"

#include <QFileInfo>

#include "report/exports.h"

namespace lorvi::report {

const QList<ExportFormat>& ExportFormats() {
  static const QList<ExportFormat> formats = {
      {QStringLiteral("Документ PDF (.pdf)…"),
       QStringLiteral("Экспорт в PDF"),
       QStringLiteral("Документ PDF (*.pdf)"),
       {QStringLiteral("pdf")},
       false,
       ExportPdf},
      {QStringLiteral("Таблица Excel (.xlsx)…"),
       QStringLiteral("Экспорт в Excel"),
       QStringLiteral("Таблица Excel (*.xlsx)"),
       {QStringLiteral("xlsx")},
       true,
       ExportXlsx},
      {QStringLiteral("Документ RTF (.rtf)…"),
       QStringLiteral("Экспорт в RTF"),
       QStringLiteral("Документ RTF (*.rtf)"),
       {QStringLiteral("rtf")},
       true,
       ExportRtf},
      {QStringLiteral("Рисунки JPEG (.jpg)…"),
       QStringLiteral("Экспорт в JPEG"),
       QStringLiteral("Рисунки JPEG (*.jpg)"),
       {QStringLiteral("jpg"), QStringLiteral("jpeg")},
       false,
       [](const PreparedReport& report, const QString& path, const ReportProgress& progress) {
         ExportJpeg(report, path, kExportJpegDpi, progress);
       }},
  };
  return formats;
}

const ExportFormat* ExportFormatFor(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  for (const ExportFormat& format : ExportFormats())
    if (format.suffixes.contains(suffix)) return &format;
  return nullptr;
}

}  // namespace lorvi::report
