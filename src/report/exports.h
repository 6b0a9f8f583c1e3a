#pragma once

#include <QString>
#include <QStringList>

#include "report/prepared_report.h"
#include "report/report_progress.h"

namespace lorvi::report {

// Each export writes the prepared pages as they are, telling `progress` of every page. A failure
// (an unwritable path, most of the time) throws LorviError naming the file; a cancel throws
// Cancelled. Either way nothing is left under the file's name.

void ExportPdf(const PreparedReport& report, const QString& path,
               const ReportProgress& progress = {});

// One worksheet: every page's texts in cells of a grid made from the items' edges, a manual page
// break between pages.
void ExportXlsx(const PreparedReport& report, const QString& path,
                const ReportProgress& progress = {});

// One section per page; rows of side-by-side items become table rows, the page footer the
// section's footer.
void ExportRtf(const PreparedReport& report, const QString& path,
               const ReportProgress& progress = {});

// The resolution of the exported pictures.
inline constexpr int kExportJpegDpi = 150;

// One picture per page, named after `basePath` with "_1", "_2", ... before the extension
// (".jpg" when it has none). Gives the files written.
QStringList ExportJpeg(const PreparedReport& report, const QString& basePath,
                       int dpi = kExportJpegDpi, const ReportProgress& progress = {});

}  // namespace lorvi::report
