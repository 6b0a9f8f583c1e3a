#pragma once

#include <QDate>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

#include <functional>

#include "report/data_set.h"
#include "report/prepared_report.h"
#include "report/report_progress.h"
#include "report/report_template.h"

class QWidget;

namespace lorvi::report {

// The report: a template loaded from a file, the variables and the dataset it is printed with,
// and the pages it was last prepared into.
class TfrxReport : public QObject {
  Q_OBJECT

 public:
  using Variables = QList<QPair<QString, QString>>;

  explicit TfrxReport(QObject* parent = nullptr);
  ~TfrxReport() override;

  // Script variables are the program's: an existing one (letter case ignored) takes the new
  // value, otherwise it is added. They survive LoadFromFile and ClearVariables.
  void SetScriptVariable(const QString& name, const QString& value);
  const Variables& ScriptVariables() const { return scriptVariables_; }

  // The template's own variables with their default values; a script variable of the same name
  // overrides one in the texts.
  const Variables& TemplateVariables() const { return design_.variables; }
  // Empties the template's own variable list (script variables stay).
  void ClearVariables();

  // Empties the report (design, datasets, the template's own variables, prepared pages) and
  // reads the file. Throws LorviError when it cannot be read or parsed; the report then stays
  // empty.
  void LoadFromFile(const QString& path);

  // Makes `data` the report's only dataset; null leaves it none. Not owned: it must outlive
  // Prepare and ShowReport.
  void SetDataSet(const DataSet* data);

  // The master data band of that name, or null when there is none or the object of that name
  // is something else (HasObject tells which).
  MasterDataBand* FindMasterData(const QString& name);
  bool HasObject(const QString& name) const;
  const ReportTemplate& Design() const { return design_; }

  // The date that [Date] prints; today when null.
  void SetReportDate(const QDate& date) { date_ = date; }

  // What the prepared pages are called: the PDF's title and the print job's name, and the name
  // (without folder and extension) that exports propose.
  QString documentTitle;
  QString documentFileName;
  // Where the user last exported the report to; proposed for the next export.
  QString exportFolder;

  // Lays the report out into pages, discarding the pages prepared before, telling `progress` of
  // every page; a cancel throws Cancelled and keeps the pages prepared before.
  const PreparedReport& Prepare(const ReportProgress& progress = {});
  const PreparedReport& Prepared() const { return prepared_; }

  // Prepares the report and shows it; returns when the preview is closed. `progress` hears of the
  // preparation, then once of its end (done = total = 1), before the preview shows.
  void ShowReport(QWidget* parent, const ReportProgress& progress = {});

  // Shows prepared pages: the window puts its preview dialog here (UsePreviewDialog), lorvi-check
  // an export, tests what they check. Nothing is shown while it is empty.
  std::function<void(const PreparedReport& report, QWidget* parent)> ShowPreview;

  // Commands of the program's own that the preview's export menu offers besides the report's
  // formats.
  struct ExtraExport {
    QString caption;
    std::function<void()> run;
  };
  QList<ExtraExport> extraExports;

 private:
  ReportTemplate design_;
  Variables scriptVariables_;
  const DataSet* dataSet_ = nullptr;
  PreparedReport prepared_;
  QDate date_;
};

}  // namespace lorvi::report
