#include "preview/save_dialog.h"

#include <QFileDialog>

namespace lorvi::report {

QString AskSaveFile(QWidget* parent, const QString& caption, const QString& proposedPath,
                    const QString& filter, const QString& suffix) {
  QFileDialog dialog(parent, caption, proposedPath, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setDefaultSuffix(suffix);
  dialog.resize(900, 520);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().first();
}

}  // namespace lorvi::report
