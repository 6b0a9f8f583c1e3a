#pragma once

#include <QByteArray>
#include <QString>

#include "report/report_template.h"

namespace lorvi::report {

// Reads a template from its XML text (format described in docs/templates.md). On failure gives
// false and a message naming the line; `out` is then left empty.
bool ReadTemplate(const QByteArray& xml, ReportTemplate* out, QString* error);

// The same from a file; the message then also names the file.
bool ReadTemplateFile(const QString& path, ReportTemplate* out, QString* error);

}  // namespace lorvi::report
