#pragma once

#include <functional>
#include <string>

#include "intake/file_tree.h"
#include "store/org_store.h"
#include "view/text_grid.h"

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

  // The settings file: the dialog's folder is read before each opening of the dialog and written
  // after each completed load. An empty path (lorvi-check) keeps no settings.
  std::string settingsPath;
  void LoadSettings();
  void SaveSettings();

  // Shows a failure of a user action in the error box.
  void ShowError(const std::string& text1251);
  void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }

  // The grid with `tag` 0..3 (sgZLStrah, sgZLNakop, sgADVStrah, sgADVNakop).
  TextGrid& Grid(int tag);

  OrgStore store;
  FileTree tvLF;
  TextGrid sgZLStrah{0};
  TextGrid sgZLNakop{1};
  TextGrid sgADVStrah{2};
  TextGrid sgADVNakop{3};

  int CurOrg = 0;
  int tcZLIndex = 0;           // selected tab of tcZL
  std::string edFindFIO;       // text of the search edit
  bool advShown = false;       // the inventory view instead of the insured persons
  std::string SLabel2Caption;  // title of the work panel
  std::string ODInitialDir;    // the open-file dialog's folder (UTF-8, a path)

 private:
  MessageSink messageSink_;
};

}  // namespace lorvi
