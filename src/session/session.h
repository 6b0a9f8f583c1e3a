#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/lorvi_error.h"
#include "base/text1251.h"
#include "intake/file_tree.h"
#include "print/print_table.h"
#include "store/org_store.h"
#include "view/text_grid.h"
#include "workbook/reconciliation.h"

namespace lorvi {

// Everything the main window shows and does, without the window: the stores, the tree of loaded
// files, the four grids, the selected tab, the search text and the view. The window and
// lorvi-check drive it through the handlers below, named after the window's own. Texts are in
// code page 1251.
class Session {
 public:
  // Receives the text of each message box (error box rule applied); the window shows it.
  using MessageSink = std::function<void(const std::string& text1251)>;

  explicit Session(char decimalSeparator);

  // The main window is created: the stores start cleared.
  void FormCreate();
  // The window is shown and laid out: the organisation shown is slot 0, and everything is cleared.
  void FormShow();
  // The window closes: the stores are cleared.
  void FormClose();

  // "Очистить список": tree, stores and grids emptied; tab, search text, view and the dialog's
  // folder stay.
  void sbClearFilesClick() { ClearAll(); }
  void ClearAll();
  // The four grids become empty (no columns, no rows).
  void ClearGrids();

  // The open-file dialog: given its initial folder, the chosen paths (UTF-8) in the dialog's
  // order, or nothing when the user cancels.
  using ChooseFiles =
      std::function<std::optional<std::vector<std::string>>(const std::string& initialDir)>;

  // "Подгрузить файлы": the chosen files go into the tree and the store, the first node is
  // selected and its organisation shown, the tab returns to "Все", and the dialog's folder is
  // remembered. Failures are shown in the error box.
  void sbLoadFilesClick(const ChooseFiles& choose);
  // Files and folders dropped on the window or named on its command line (UTF-8): loaded as the
  // button loads chosen files, a folder standing for the .xml files below it (ExpandFolders).
  void LoadFiles(const std::vector<std::string>& filesAndFolders);

  // The user selects `node` of the tree (null for none): when the selection moves, its
  // organisation is read if needed and shown. Failures are shown in the error box.
  void SelectNode(const TreeNode* node);

  // The user selects cell (col, row) of the grid with `tag`: it becomes the grid's selection,
  // the partner follows, and the source file of the figure is marked in the tree.
  void SelectCell(GridTag tag, int col, int row);
  // The user scrolled the grid with `tag`: its first visible scrollable cell is (col, row).
  void GridScrolled(GridTag tag, int col, int row);

  // The view buttons: "Застрахованные лица" and "Опись сведенний".
  void sbZLClick();
  void sbADVClick();

  // The user picks tab `index` of tcZL (nothing when it is already picked): the grids are filled
  // again and filtered by the tab.
  void SelectTab(int index);

  // The search edit's text becomes `text1251`: the first person whose title begins with it is
  // selected in both insured-persons grids.
  void edFindFIOChange(const std::string& text1251);

  // The print button: the table and variables to hand the report, or nothing when no node of
  // the tree is selected.
  std::optional<PrintJob> sbPrintClick() const;

  // The reconciliation workbook's figures: the organisation, view, tab and rows shown, exported
  // on `date` (day.month.year); nothing when no organisation is shown.
  std::optional<Reconciliation> ReconciliationShown(const std::string& date) const;

  // True while a load or a reading runs; the window then holds off every other action.
  bool Busy() const { return busy_ > 0; }

  // Called during long work with a line for the status bar (UTF-8, empty when the work is done);
  // the window repaints and lets its messages through. Null for none.
  using ProgressSink = std::function<void(const std::string& status)>;
  void SetProgressSink(ProgressSink sink) { onProgress_ = std::move(sink); }
  const ProgressSink& CurrentProgressSink() const { return onProgress_; }

  // The settings file: the dialog's folder is read before each opening of the dialog and written
  // after each completed load. An empty path (lorvi-check) keeps no settings. A write that fails
  // raises "Unable to write to <path>" the first time in a run; later failures are silent.
  void SetSettingsPath(std::string path) { settingsPath_ = std::move(path); }
  const std::string& SettingsPath() const { return settingsPath_; }
  void LoadSettings();
  void SaveSettings();

  // Shows a failure of a user action in the error box; a file's failure names the file.
  void ShowError(const std::string& text1251);
  void ShowError(const LorviError& error);
  // The one failure boundary of the program's actions: runs `action`; a failure is shown in the
  // error box, what the action changed before it stays, and the program goes on.
  template <typename Action>
  void Guarded(Action action) {
    try {
      action();
    } catch (const Cancelled&) {
      // The user stopped it: nothing to tell.
    } catch (const LorviError& e) {
      ShowError(e);
    } catch (const std::exception& e) {
      ShowError(Utf8ToCp1251(e.what()));
    }
  }
  void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }
  // Shows a message box of the program's own (code page 1251).
  void ShowMessage(const std::string& text1251);

  // Files read at once when an organisation is read (OrgStore::readerThreads).
  void SetReaderThreads(int threads) { store_.readerThreads = threads; }
  // The organisation in `slot` is read again from its files when it is next shown, as after a
  // load that added to it.
  void MarkUnread(int slot);

  // What the window shows, to look at.
  const OrgStore& Store() const { return store_; }
  const FileTree& tvLF() const { return tvLF_; }
  const TextGrid& Grid(GridTag tag) const;
  const TextGrid& sgZLStrah() const { return sgZLStrah_; }
  const TextGrid& sgZLNakop() const { return sgZLNakop_; }
  const TextGrid& sgADVStrah() const { return sgADVStrah_; }
  const TextGrid& sgADVNakop() const { return sgADVNakop_; }
  int CurOrg() const { return CurOrg_; }
  int tcZLIndex() const { return tcZLIndex_; }                 // selected tab of tcZL
  const std::string& edFindFIO() const { return edFindFIO_; }  // text of the search edit
  bool AdvShown() const { return advShown_; }  // the inventory view instead of the insured persons
  const std::string& SLabel2Caption() const { return SLabel2Caption_; }  // work panel's title
  const std::string& ODInitialDir() const { return ODInitialDir_; }      // the open dialog's folder

 private:
  // The design's handlers, the steps behind the user's actions above, which guard them. The
  // tree's selection handler shows the organisation of `node`, reading it first when files were
  // registered since its last reading; the tab's handler fills the grids again and filters them.
  // Both throw.
  void tvLFChange(const TreeNode* node);
  void tcZLChange();

  void Progress(const std::string& status);
  TextGrid& GridOf(GridTag tag);
  template <typename Self>
  static auto& GridIn(Self& self, GridTag tag);
  // The view shown, as the print and the workbook read it.
  PrintSource Shown() const;

  OrgStore store_;
  FileTree tvLF_;
  TextGrid sgZLStrah_{GridTag::ZLStrah};
  TextGrid sgZLNakop_{GridTag::ZLNakop};
  TextGrid sgADVStrah_{GridTag::ADVStrah};
  TextGrid sgADVNakop_{GridTag::ADVNakop};

  int CurOrg_ = 0;
  int tcZLIndex_ = 0;
  std::string edFindFIO_;
  bool advShown_ = false;
  std::string SLabel2Caption_;
  std::string ODInitialDir_;  // UTF-8, a path
  std::string settingsPath_;
  bool settingsFailureTold_ = false;
  ProgressSink onProgress_;

  MessageSink messageSink_;
  int busy_ = 0;
};

}  // namespace lorvi
