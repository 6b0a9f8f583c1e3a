#pragma once

#include <QObject>
#include <QString>

#include <functional>

#include "print/print_table.h"
#include "report/report.h"

class QWidget;

namespace lorvi {

// The report side of the window: the report, its dataset DQuery and the template beside the
// program, and the print command that hands them the table on screen.
class TDMRpt : public QObject {
  Q_OBJECT

 public:
  // `programFolder`: the folder of the executable, under which Template/ holds the templates.
  explicit TDMRpt(QString programFolder, QObject* parent = nullptr);

  // Resolves `name` under the program's Template folder (a name that is already a full path stays
  // as it is) and loads it. An empty name shows the box "Ошибка"; a missing file gives false
  // quietly; a file that is no template fails with the reason.
  bool LoadTemplate(const QString& name);

  // The file LoadTemplate reads for `name`: a full path as it is; another name in Template/
  // beside the program, or, when it is not there, in the installed data folder; the path beside
  // the program when neither exists.
  QString TemplatePath(const QString& name) const;

  // The message of a template that is not there.
  static QString MissingTemplateText(const QString& path);

  // Loads `name` first unless it is empty, then shows the report and empties its variable list.
  // `progress` hears of the preparation; a cancel there shows nothing (and gives true).
  bool ShowPreparedReport(const QString& name, const report::ReportProgress& progress = {});

  // The print button's part after the table: variables, template, dataset, preview. The table
  // lives until the preview has closed. Fails when the template has no master data band
  // "MasterData1". Gives false when the template is missing (nothing is shown).
  bool Print(const PrintJob& job, QWidget* parent, const report::ReportProgress& progress = {});

  // The print button's template.
  static inline const QString kPrintTemplate = QStringLiteral("\\Print.fr3");

  report::TfrxReport Rpt;
  // Shows a message box of the program's own with its caption: the window's box, lorvi-check's
  // message, a test's record.
  std::function<void(const QString& caption, const QString& text)> ShowMessageBox;
  // The preview's parent window.
  QWidget* previewParent = nullptr;

 private:
  QString programFolder_;
};

}  // namespace lorvi
