#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "report/prepared_report.h"
#include "report/report_progress.h"

namespace lorvi::report {

// A format the prepared pages can be saved in: what the preview's export menu and save dialog
// show for it, and the export that writes it. The preview and lorvi-check both choose from these,
// so that they write the same file for the same name.
struct ExportFormat {
  QString menuText;      // the export menu's command
  QString caption;       // the save dialog's title
  QString filter;        // the save dialog's file filter
  QStringList suffixes;  // lower case, the save dialog's default first
  bool opensWhenSaved;   // shown in the desktop's application once written
  // Writes the pages to `path`, telling `progress`; throws LorviError, or Cancelled.
  void (*write)(const PreparedReport& report, const QString& path, const ReportProgress& progress);
};

// PDF, XLSX, RTF and JPEG, in the order of the export menu.
const QList<ExportFormat>& ExportFormats();

// The format whose suffix the file name ends in (letter case ignored), or null.
const ExportFormat* ExportFormatFor(const QString& path);

}  // namespace lorvi::report
