#pragma once

#include "report/prepared_report.h"
#include "report/report_progress.h"

class QPrinter;

namespace lorvi::report {

// Prints the pages in the printer's page range (all when it has none) on its current settings,
// telling `progress` of every page. Throws LorviError when the printer cannot start; a cancel
// aborts the job, so that nothing is sent after the pages already spooled, and throws Cancelled.
void PrintReport(const PreparedReport& report, QPrinter& printer,
                 const ReportProgress& progress = {});

}  // namespace lorvi::report
