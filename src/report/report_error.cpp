#include "report/report_error.h"

#include "base/text1251.h"

namespace lorvi::report {

void ThrowReportError(const QString& text) { throw LorviError(Utf8ToCp1251(text.toStdString())); }

QString ReportErrorText(const LorviError& error) {
  return QString::fromStdString(Cp1251ToUtf8(error.what()));
}

}  // namespace lorvi::report
