#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

#include "report/prepared_report.h"
#include "report/report_progress.h"
#include "report/report_template.h"

namespace lorvi::report {

struct DataSet;

struct LayoutInput {
  const ReportTemplate* design = nullptr;
  // Keys in lower case; the script's values already override the template's defaults.
  QHash<QString, QString> variables;
  // Where a master data band without a dataset of its own finds one by name.
  QList<const DataSet*> dataSets;
  QDate date;
  // Told of every page begun; a cancel stops the layout with Cancelled.
  ReportProgress progress;
};

// Lays the report out into pages: the report title once at the top of the first page, then the
// page header, the master data bands record by record, and the page footer at the foot of every
// page. A band that does not fit the rest of a page starts the next one; a band taller than a
// whole page is split between pages. [TotalPages] is known from a first pass.
PreparedReport LayoutReport(const LayoutInput& input);

}  // namespace lorvi::report
