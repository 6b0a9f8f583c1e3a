#pragma once

#include <QString>

class QWidget;

namespace lorvi::report {

// Asks where to save a file, in Qt's own dialog (translated with the program, as the open dialog
// is), wide enough for long names; it proposes `proposedPath`, adds `suffix` to a name without
// one and asks before overwriting. Empty when cancelled.
QString AskSaveFile(QWidget* parent, const QString& caption, const QString& proposedPath,
                    const QString& filter, const QString& suffix);

}  // namespace lorvi::report
