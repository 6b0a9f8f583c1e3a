#pragma once

#include <QMainWindow>
#include <QRect>
#include <QUrl>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/help_window.h"

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

// The main window: the panel of loaded files on the left, the work panel with the grids on the
// right, each with a drop shadow. It shows the session's state and forwards the user's actions to
// it; the widgets carry the names by which the handlers know them.
class TfMainMDI : public QMainWindow {
  Q_OBJECT

 public:
  TfMainMDI(Session& session, TDM& dm, TDMRpt& dmRpt, QWidget* parent = nullptr);
  ~TfMainMDI() override;

  // Lays the window out over `workArea` (the primary screen's, without the task bar, when empty).
  void ArrangeWindow(const QRect& workArea = QRect());

  // Shows the session's tree, grids, tab, search text and view as they are now.
  void ShowSession();

  // Shows a message box's text; the error box by default, replaceable for tests.
  std::function<void(const QString& text)> ShowMessageBox;

  // The open-file dialog: from its initial folder, the chosen paths (UTF-8), or nothing when
  // cancelled. A QFileDialog by default, replaceable for tests.
  std::function<std::optional<std::vector<std::string>>(const std::string& initialDir)> OD;

  // The save dialog of the reconciliation workbook: from the proposed path, the chosen path, or
  // empty when cancelled. A QFileDialog by default, replaceable for tests.
  std::function<QString(const QString& proposed)> AskWorkbookPath;
  // Opens a saved workbook in the desktop's application, false when none can; replaceable.
  std::function<bool(const QUrl& url)> OpenDocument;

  // The handlers of the user's actions; each shows its own failure in the error box, and none
  // runs while a load or a reading is under way.
  void sbLoadFilesClick();
  void sbClearFilesClick();
  void sbHelpClick();
  void sbPrintClick();
  void tvLFSelected(const QModelIndex& index);
  void GridCellSelected(int tag, int col, int row);
  // "Выгрузить сверку в Excel…": the workbook of the organisation, view and tab shown.
  void ExportReconciliation();

  FileTreeModel* TreeModel() const { return treeModel_; }

  // The controls the help describes, drawn whole from fresh widgets: never the user's text, a
  // cursor, a focus frame or a squeezed size.
  HelpPictures FreshHelpPictures() const;

  QLabel* StatusText;
  TSPanel* spLF;
  TSLabel* SLabel1;
  QLabel* Image2;
  TSPanel* SPanel2;
  TSButton* sbClearFiles;
  TSButton* sbLoadFiles;
  QTreeView* tvLF;
  TSPanel* spZL;
  TSLabel* SLabel2;
  QLabel* Image3;
  TSPanel* SPanel3;
  TSButton* sbZL;
  TSButton* sbADV;
  TSButton* sbHelp;
  TSButton* sbPrint;
  TSPanel* spZLf;
  TSPanel* spFindFIO;
  QLabel* Image1;
  QLabel* Label1;
  QLineEdit* edFindFIO;
  TTabControl* tcZL;
  TSLabel* SLabel4;
  TStringGrid* sgZLStrah;
  TSLabel* SLabel3;
  TStringGrid* sgZLNakop;
  TSPanel* spADVf;
  TSPanel* SPanel10;
  TTabControl* tcADV;
  TSLabel* SLabel7;
  TStringGrid* sgADVStrah;
  TSLabel* SLabel6;
  TStringGrid* sgADVNakop;
  TSPanel* spLFShR;
  TSPanel* spLFShB;
  TSPanel* spZLShR;
  TSPanel* spZLShB;
  QMenu* gridMenu;  // the grids' context menu

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Build();
  // Tab order, shortcuts and the names that screen readers announce.
  void SetUpKeyboard();
  // Runs a user action; a failure is shown in the error box and the program goes on.
  template <typename Action>
  void Guarded(Action action);
  void ShowMessage(const std::string& text1251);
  // Status line and repainting during long work, at most every 20 ms.
  void ShowProgress(const std::string& status);
  void ShowTree();

  Session& session_;
  TDM& dm_;
  TDMRpt& dmRpt_;
  bool shown_ = false;
  bool closeWhenIdle_ = false;  // the user closed the window during a load or a reading
  FileTreeModel* treeModel_ = nullptr;
  qint64 lastPump_ = 0;
  const QString idleStatus_ = QStringLiteral(
      "Нажмите «Подгрузить файлы» и выберите XML-файлы индивидуальных сведений и описи АДВ-6-2 "
      "за все периоды.");
  DockLayout* zlPageLayout_ = nullptr;
  DockLayout* advPageLayout_ = nullptr;
  QString workbookDir_;  // where the last workbook was saved
};

}  // namespace lorvi
