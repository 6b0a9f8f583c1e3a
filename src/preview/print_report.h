#pragma once

#include <QString>

#include "report/prepared_report.h"

class QPrinter;

namespace lorvi::report {

// Prints the pages in the printer's page range (all when it has none) on its current settings.
// On failure gives false and puts the reason into `error` when given.
bool PrintReport(const PreparedReport& report, QPrinter& printer, QString* error = nullptr);

}  // namespace lorvi::report
