#pragma once

#include <QMainWindow>
#include <QMargins>
#include <QRect>
#include <QUrl>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/help_window.h"
#include "view/text_grid.h"

class QLabel;
class QMenu;
class QLineEdit;
class QTreeView;

namespace lorvi {

class Session;
class TDM;
class TDMRpt;
class TSButton;
class TSLabel;
class TSPanel;
class TStringGrid;
class TTabControl;
class DockLayout;
class FileTreeModel;
class TextGrid;

// The main window: the panel of loaded files on the left, the work panel with the grids on the
// right, each with a drop shadow. It shows the session's state and forwards the user's actions to
// it; the widgets carry the names by which the handlers know them.
class TfMainMDI : public QMainWindow {
  Q_OBJECT

 public:
  TfMainMDI(Session& session, TDM& dm, TDMRpt& dmRpt, QWidget* parent = nullptr);
  ~TfMainMDI() override;

  // Lays the window out over `workArea` (its screen's, without the task bar, when empty), its
  // frame and title bar included as far as the window manager has framed it.
  void ArrangeWindow(const QRect& workArea = QRect());

  // Shows the session's tree, grids, tab, search text and view as they are now.
  void ShowSession();

  // Shows a message box's text; the error box by default, replaceable for tests.
  std::function<void(const QString& text)> ShowMessageBox;
  // Tells the user something that is no failure, as the report's preview does (information box).
  std::function<void(const QString& text)> ShowNoticeBox;

  // The open-file dialog: from its initial folder, the chosen paths (UTF-8), or nothing when
  // cancelled. A QFileDialog by default, replaceable for tests.
  std::function<std::optional<std::vector<std::string>>(const std::string& initialDir)> OD;

  // The save dialog of the reconciliation workbook: from the proposed path, the chosen path, or
  // empty when cancelled. A QFileDialog by default, replaceable for tests.
  std::function<QString(const QString& proposed)> AskWorkbookPath;
  // Opens a saved workbook in the desktop's application, false when none can; replaceable.
  std::function<bool(const QUrl& url)> OpenDocument;
  // "Сверить архив…": the folder of the archive, from an initial folder, and the overview's file,
  // from a proposed path; empty when cancelled. Dialogs by default, replaceable for tests.
  std::function<QString(const QString& initialDir)> AskArchiveFolder;
  std::function<QString(const QString& proposed)> AskOverviewPath;

  // The handlers of the user's actions; each shows its own failure in the error box, and none
  // runs while a load or a reading is under way.
  void sbLoadFilesClick();
  // Files and folders dropped on the window or named on its command line: loaded as the load
  // button loads chosen files, a folder standing for the .xml files below it.
  void LoadFiles(const QStringList& paths);
  void sbClearFilesClick();
  void sbHelpClick();
  void sbPrintClick();
  void tvLFSelected(const QModelIndex& index);
  void GridCellSelected(GridTag tag, int col, int row);
  // "Выгрузить сверку в Excel…": the workbook of the organisation, view and tab shown.
  void ExportReconciliation();
  // "Сверить архив…": the overview of every organisation of a folder, each read on its own; the
  // organisations loaded in the window stay as they are.
  void ReconcileArchive();

  // The controls the help describes, drawn whole from fresh widgets: never the user's text, a
  // cursor, a focus frame or a squeezed size.
  HelpPictures FreshHelpPictures() const;

  // The widgets carry the design's names as their object names ("sgZLStrah", "tvLF", "sbPrint",
  // "gridMenu", ...): findChild finds them.
 protected:
  void showEvent(QShowEvent* event) override;
  // Files and folders dropped on the window or its tree, unless a load or a reading runs.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // The window's shortcuts win over the search field's own keys.
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // The window's widgets, panel by panel, then their handlers.
  void Build();
  void BuildStatusBar();
  void BuildFilesPanel(QWidget* client);
  void BuildWorkPanel(QWidget* client);
  void BuildPersonsView(DockLayout* zl);
  void BuildInventoryView(DockLayout* zl);
  // A view's tab page: the insurance part's title and grid above, the funded part's below.
  struct GridPart {
    TSLabel** title;
    TStringGrid** grid;
    const TextGrid* text;
  };
  DockLayout* BuildGridPage(TTabControl* tabs, const GridPart& strah, const GridPart& nakop);
  void ConnectHandlers();
  // Tab order, shortcuts and the names that screen readers announce.
  void SetUpKeyboard();
  void NameWidgets();
  // Runs a user action, unless a load or a reading is under way, under a busy cursor and through
  // the session's failure boundary; then shows the session as the action left it.
  template <typename Action>
  void Guarded(Action action);
  void ShowMessage(const std::string& text1251);
  // Status line and repainting during long work, at most every 20 ms.
  void ShowProgress(const std::string& status);
  void ShowTree();

  QLabel* StatusText_ = nullptr;
  TSPanel* spLF_ = nullptr;
  TSLabel* SLabel1_ = nullptr;
  QLabel* Image2_ = nullptr;
  TSPanel* SPanel2_ = nullptr;
  TSButton* sbClearFiles_ = nullptr;
  TSButton* sbLoadFiles_ = nullptr;
  QTreeView* tvLF_ = nullptr;
  TSPanel* spZL_ = nullptr;
  TSLabel* SLabel2_ = nullptr;
  QLabel* Image3_ = nullptr;
  TSPanel* SPanel3_ = nullptr;
  TSButton* sbZL_ = nullptr;
  TSButton* sbADV_ = nullptr;
  TSButton* sbHelp_ = nullptr;
  TSButton* sbPrint_ = nullptr;
  TSPanel* spZLf_ = nullptr;
  TSPanel* spFindFIO_ = nullptr;
  QLabel* Image1_ = nullptr;
  QLabel* Label1_ = nullptr;
  QLineEdit* edFindFIO_ = nullptr;
  TTabControl* tcZL_ = nullptr;
  TSLabel* SLabel4_ = nullptr;
  TStringGrid* sgZLStrah_ = nullptr;
  TSLabel* SLabel3_ = nullptr;
  TStringGrid* sgZLNakop_ = nullptr;
  TSPanel* spADVf_ = nullptr;
  TSPanel* SPanel10_ = nullptr;
  TTabControl* tcADV_ = nullptr;
  TSLabel* SLabel7_ = nullptr;
  TStringGrid* sgADVStrah_ = nullptr;
  TSLabel* SLabel6_ = nullptr;
  TStringGrid* sgADVNakop_ = nullptr;
  TSPanel* spLFShR_ = nullptr;
  TSPanel* spLFShB_ = nullptr;
  TSPanel* spZLShR_ = nullptr;
  TSPanel* spZLShB_ = nullptr;
  QMenu* gridMenu_ = nullptr;
  QMenu* treeMenu_ = nullptr;

  Session& session_;
  TDM& dm_;
  TDMRpt& dmRpt_;
  bool shown_ = false;
  QMargins fittedFrame_;        // the frame the window was last fitted with
  bool closeWhenIdle_ = false;  // the user closed the window during a load or a reading
  FileTreeModel* treeModel_ = nullptr;
  qint64 lastPump_ = 0;
  const QString idleStatus_ = QStringLiteral(
      "Нажмите «Подгрузить файлы» и выберите XML-файлы индивидуальных сведений и описи АДВ-6-2 "
      "за все периоды.");
  DockLayout* zlPageLayout_ = nullptr;
  DockLayout* advPageLayout_ = nullptr;
  QString workbookDir_;  // where the last workbook was saved
  QString archiveDir_;   // the last archive reconciled
};

// Gives the report data module the window's dialogs: the preview (with the report's extra
// exports in its menu) and the error box of the template's failures.
void UseReportDialogs(TDMRpt& dmRpt);

}  // namespace lorvi
