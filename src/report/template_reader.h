#pragma once

#include <QByteArray>
#include <QString>

#include "report/report_template.h"

namespace lorvi::report {

// Reads a template from its XML text (format described in docs/templates.md). Throws LorviError
// with a message naming the line.
ReportTemplate ReadTemplate(const QByteArray& xml);

// The same from a file; the message then also names the file.
ReportTemplate ReadTemplateFile(const QString& path);

}  // namespace lorvi::report
