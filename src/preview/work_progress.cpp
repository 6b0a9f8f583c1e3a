#include "preview/work_progress.h"

#include <QCoreApplication>

#include <algorithm>

namespace lorvi::report {

WorkProgress::WorkProgress(QWidget* parent)
    : dialog_(QString(), QStringLiteral("Отмена"), 0, 0, parent) {
  dialog_.setWindowTitle(QStringLiteral("Анализатор ЛОРВИ"));
  dialog_.setWindowModality(Qt::WindowModal);
  dialog_.setMinimumDuration(kAfterMs);
  dialog_.setMinimumWidth(420);
  clock_.start();
  pumped_.start();
}

bool WorkProgress::Step(const QString& status, int done, int total) {
  if (dialog_.wasCanceled()) return false;
  if (!status.isEmpty() && dialog_.labelText() != status) dialog_.setLabelText(status);
  if (total > 0) {
    if (dialog_.maximum() != total) dialog_.setRange(0, total);
    dialog_.setValue(std::min(done, total));
    if (done >= total) {
      dialog_.reset();  // over: gone, and not to come back by its timer
      return true;
    }
  } else {
    // How much is not known yet: a busy bar after the same half second.
    if (dialog_.maximum() != 0) dialog_.setRange(0, 0);
    if (!dialog_.isVisible() && clock_.elapsed() >= kAfterMs) dialog_.show();
  }
  // The windows are painted meanwhile. The user's input waits until the dialog is there to take
  // it: the window must not start anything else under the work.
  if (pumped_.elapsed() >= kPumpMs) {
    QCoreApplication::processEvents(dialog_.isVisible() ? QEventLoop::AllEvents
                                                        : QEventLoop::ExcludeUserInputEvents);
    pumped_.restart();
  }
  return !dialog_.wasCanceled();
}

}  // namespace lorvi::report
