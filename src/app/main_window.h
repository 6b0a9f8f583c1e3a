#pragma once

#include <QMainWindow>
#include <QRect>

#include <functional>

class QLabel;
class QLineEdit;
class QTreeView;

namespace lorvi {

class Session;
class TDM;
class TSButton;
class TSLabel;
class TSPanel;
class TStringGrid;
class TTabControl;
class DockLayout;

// The main window: the panel of loaded files on the left, the work panel with the grids on the
// right, each with a drop shadow. It shows the session's state and forwards the user's actions to
// it; the widgets carry the names by which the handlers know them.
class TfMainMDI : public QMainWindow {
  Q_OBJECT

 public:
  TfMainMDI(Session& session, TDM& dm, QWidget* parent = nullptr);
  ~TfMainMDI() override;

  // Lays the window out over `workArea` (the primary screen's, without the task bar, when empty).
  void ArrangeWindow(const QRect& workArea = QRect());

  // Shows the session's tree, grids, tab, search text and view as they are now.
  void ShowSession();

  // Shows a message box's text; the error box by default, replaceable for tests.
  std::function<void(const QString& text)> ShowMessageBox;

  // The handlers of the buttons; each shows its own failure in the error box.
  void sbClearFilesClick();
  void sbHelpClick();

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

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Build();
  // Runs a user action; a failure is shown in the error box and the program goes on.
  template <typename Action>
  void Guarded(Action action);
  void ShowMessage(const std::string& text1251);

  Session& session_;
  TDM& dm_;
  bool shown_ = false;
  DockLayout* zlPageLayout_ = nullptr;
  DockLayout* advPageLayout_ = nullptr;
};

}  // namespace lorvi
