#include "report/report_progress.h"

#include <QLocale>

namespace lorvi::report {

QString PageStatus(const QString& what, int page, int pages) {
  const QLocale russian(QLocale::Russian);
  QString status = what + QStringLiteral(": страница ") + russian.toString(page);
  if (pages > 0) status += QStringLiteral(" из ") + russian.toString(pages);
  return status;
}

void PageStep(const ReportProgress& progress, const QString& what, int page, int pages) {
  if (progress) StepOf(progress, PageStatus(what, page, pages), page, pages);
}

}  // namespace lorvi::report
