#pragma once

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QString>

#include "report/report_progress.h"

class QWidget;

namespace lorvi::report {

// The progress of long work in the window: a dialog that comes when the work takes longer than
// half a second, tells where it is ("Выгрузка в PDF: страница 120 из 3 334") and offers
// «Отмена», and keeps the windows painted meanwhile. It goes with the work.
class WorkProgress {
 public:
  explicit WorkProgress(QWidget* parent);
  WorkProgress(const WorkProgress&) = delete;
  WorkProgress& operator=(const WorkProgress&) = delete;

  // Shows `done` of `total` (total 0: not known); false once the user pressed «Отмена». The work
  // is over when done reaches total.
  bool Step(const QString& status, int done, int total);
  // Step, for the report's work.
  ReportProgress Callback() {
    return [this](const QString& status, int done, int total) { return Step(status, done, total); };
  }

  QProgressDialog& Dialog() { return dialog_; }

 private:
  static constexpr int kAfterMs = 500;  // work shorter than this shows no dialog
  static constexpr int kPumpMs = 30;

  QProgressDialog dialog_;
  QElapsedTimer clock_;
  QElapsedTimer pumped_;
};

}  // namespace lorvi::report
