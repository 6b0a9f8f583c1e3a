#pragma once

#include <QDialog>
#include <QString>
#include <QUrl>

#include <functional>

#include "report/export_formats.h"
#include "report/prepared_report.h"
#include "report/report.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QSpinBox;
class QToolBar;
class QToolButton;

namespace lorvi::report {

class PageView;

// The modal preview of prepared pages: page navigation, zoom, text search, printing and export.
// It opens with the page width fitted to the window.
class ReportPreview : public QDialog {
  Q_OBJECT

 public:
  // `report` is not owned and must outlive the dialog.
  explicit ReportPreview(const PreparedReport& report, QWidget* parent = nullptr);

  PageView* View() const { return view_; }

  // Finds `text` (letter case ignored) after the last match, going round to the first page after
  // the last; marks it and shows its page. Gives false when the report has no such text.
  bool FindNext(const QString& text);

  // The save dialog for an export: a path, or empty when cancelled. A QFileDialog, which asks
  // before overwriting, by default; replaceable for tests.
  std::function<QString(const QString& caption, const QString& filter, const QString& suffix)>
      AskSavePath;
  // Opens an exported document in its application, false when none can; the desktop's opener by
  // default.
  std::function<bool(const QUrl& url)> OpenUrl;
  // A message box of information; replaceable for tests.
  std::function<void(const QString& text)> ShowNotice;

  // Adds a command of the program's own to the export menu, after the report's formats.
  void AddExport(const QString& caption, const std::function<void()>& run);

  // The folder the save dialog proposes: the documents folder, then the last one exported to.
  void SetExportFolder(const QString& folder) { lastDir_ = folder; }
  const QString& ExportFolder() const { return lastDir_; }
  // What the save dialog proposes for a file of `suffix`: the report's name in that folder.
  QString ProposedPath(const QString& suffix) const;
  QMenu* ExportMenu() const { return exportMenu_; }

  // An export command as the menu runs it: the save dialog, the export, and for some formats the
  // saved document opened.
  void ExportTo(const ExportFormat& format);

 private:
  struct Match {
    int page = -1;
    int item = -1;  // in the page's reading order
    qsizetype at = -1;
  };

  void BuildToolBar(QToolBar* bar);
  void Print();
  // Runs a command's work and shows its failure in the error box; false when it failed.
  bool Attempt(const std::function<void()>& work);
  // Opens a saved export, or says that it was saved but could not be opened.
  void OpenSaved(const QString& path);
  void PageChanged(int page);
  void ZoomChosen(int index);
  void ZoomTyped();
  void ShowZoom(double zoom);
  void FindClicked();
  static QList<int> ReadingOrder(const QList<TextItem>& items);
  QList<QRectF> MatchAreas(const TextItem& item, qsizetype at, qsizetype length) const;

  const PreparedReport& report_;
  PageView* view_;
  QSpinBox* pageBox_ = nullptr;
  QLabel* pageCount_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* message_ = nullptr;
  QMenu* exportMenu_ = nullptr;
  bool extraSeparator_ = false;
  QLineEdit* findText_ = nullptr;
  QComboBox* zoomBox_ = nullptr;
  QToolButton* first_ = nullptr;
  QToolButton* previous_ = nullptr;
  QToolButton* next_ = nullptr;
  QToolButton* last_ = nullptr;
  QString lastDir_;
  QString lastFind_;
  Match match_;
};

// Makes the modal preview dialog show `report`'s pages, with the report's extra exports in its
// export menu.
void UsePreviewDialog(TfrxReport& report);

}  // namespace lorvi::report
