#pragma once

#include <QString>

#include "base/lorvi_error.h"

namespace lorvi::report {

// The report's failures are the program's own LorviError, so that the window's error box shows
// them; the texts are made in Unicode and converted to code page 1251 only here.
[[noreturn]] void ThrowReportError(const QString& text);

// The text of a failure back in Unicode, for the report's own message boxes.
QString ReportErrorText(const LorviError& error);

}  // namespace lorvi::report
