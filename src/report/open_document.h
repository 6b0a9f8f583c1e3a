#pragma once

#include <QString>
#include <QUrl>

namespace lorvi::report {

// Opens a saved document in the desktop's application for its type; false when none takes it.
bool OpenInDesktopApplication(const QUrl& url);

// What the user is told when a document was saved but nothing on the desktop opens it: the
// report, or the reconciliation workbook.
enum class Saved { kReport, kWorkbook, kOverview };
QString SavedButNotOpened(const QString& path, Saved what = Saved::kReport);

}  // namespace lorvi::report
