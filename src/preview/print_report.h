#pragma once

#include "report/prepared_report.h"

class QPrinter;

namespace lorvi::report {

// Prints the pages in the printer's page range (all when it has none) on its current settings.
// Throws LorviError when the printer cannot start.
void PrintReport(const PreparedReport& report, QPrinter& printer);

}  // namespace lorvi::report
