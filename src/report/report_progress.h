#pragma once

#include <QString>

#include <functional>

#include "base/lorvi_error.h"

namespace lorvi::report {

// Long work of the report (preparing, exporting, printing) tells how far it is, as the user reads
// it ("Выгрузка в PDF: страница 120 из 3 334"), with `done` of `total` steps (total 0 when not yet
// known), and learns whether it may go on: false stops it with Cancelled.
using ReportProgress = std::function<bool(const QString& status, int done, int total)>;

// "<what>: страница <page> из <pages>", the numbers grouped as in Russian; without "из" when the
// count is not known.
QString PageStatus(const QString& what, int page, int pages);

// Tells `progress` of page `page` of `pages` of `what`; throws Cancelled when the user cancelled.
void PageStep(const ReportProgress& progress, const QString& what, int page, int pages);

}  // namespace lorvi::report
