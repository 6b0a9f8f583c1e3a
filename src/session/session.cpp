#include "session/session.h"

#include "base/lorvi_error.h"
#include "base/text1251.h"
#include "intake/line_list.h"
#include "intake/load_files.h"
#include "session/settings_file.h"
#include "store/load_organisation.h"
#include "view/cell_selection.h"
#include "view/fill_grid.h"
#include "view/filter_tabs.h"

namespace lorvi {

Session::Session(char decimalSeparator) : SLabel2Caption("Застрахованные лица"_w) {
  store.decimalSeparator = decimalSeparator;
}

void Session::FormCreate() { ClearAllStores(store); }

void Session::FormShow() {
  CurOrg = 0;
  ClearAll();
}

void Session::FormClose() { ClearAllStores(store); }

void Session::ClearAll() {
  if (Busy()) return;
  tvLF.Clear();
  ClearAllStores(store);
  ClearGrids();
}

void Session::ClearGrids() {
  for (TextGrid* grid : {&sgZLStrah, &sgZLNakop, &sgADVStrah, &sgADVNakop}) {
    grid->SetColCount(0);
    grid->SetRowCount(0);
    // A grid that shrinks under its selection does not keep it: the next fill starts at the top.
    grid->SetSelection(1, 1);
    grid->SetTopLeft(1, 1);
  }
}

void Session::LoadSettings() {
  if (!settingsPath.empty())
    ODInitialDir = ReadIniValue(settingsPath, kSettingsSection, kSettingsKey, "");
}

void Session::SaveSettings() {
  if (!settingsPath.empty())
    WriteIniValue(settingsPath, kSettingsSection, kSettingsKey, ODInitialDir);
}

void Session::ShowError(const std::string& text1251) { ShowMessage(WithFullStop(text1251)); }

void Session::ShowMessage(const std::string& text1251) {
  if (messageSink_) messageSink_(text1251);
}

void Session::Progress(const std::string& status) {
  if (onProgress) onProgress(status);
}

namespace {

// One box for the files of a load that a third organisation would need: a single file keeps its
// sentence, several are listed one a line so that six refusals are not six boxes.
std::string RefusedFilesMessage(const std::vector<std::string>& namesUtf8) {
  // Converted as the message is made: clang 14 crashes on some of these as 1251 literals.
  if (namesUtf8.size() == 1)
    return Utf8ToCp1251("Файл " + namesUtf8.front() +
                        " не загружен: одновременно анализируются не более двух организаций.");
  std::string text = "Не загружены файлы (" + std::to_string(namesUtf8.size()) + "):";
  for (const std::string& name : namesUtf8) text += "\n" + name;
  return Utf8ToCp1251(text + "\nОдновременно анализируются не более двух организаций.");
}

// Counts a piece of work for as long as it runs, also when it fails; work may nest.
class BusyScope {
 public:
  explicit BusyScope(int& depth) : depth_(depth) { ++depth_; }
  ~BusyScope() { --depth_; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  int& depth_;
};

}  // namespace

void Session::sbLoadFilesClick(const ChooseFiles& choose) {
  if (Busy()) return;
  Guarded([&] {
    LoadSettings();
    const auto paths = choose(ODInitialDir);
    if (!paths) return;
    BusyScope loading(busy_);
    std::vector<std::string> refused;
    bool moved = false;
    {
      const auto report = [&] {
        if (!refused.empty()) ShowMessage(RefusedFilesMessage(refused));
      };
      const LoadPlacements placed{
          [this](int) { NewOrgSlot(store); },
          [this](int slot, const std::string& path) { RegisterOrgFile(store, slot, path); }};
      try {
        moved =
            AddFilesToTree(*paths, tvLF, placed, refused, [&](std::size_t done, std::size_t total) {
              Progress("Загрузка файлов: " + std::to_string(done) + " из " + std::to_string(total));
            });
      } catch (...) {
        Progress("");
        report();
        throw;
      }
      Progress("");
      report();
    }
    // The tree reports the new selection; its handler's failure is shown on its own.
    if (moved) Guarded([&] { tvLFChange(tvLF.Selected()); });
    tcZLIndex = 0;
    tvLFChange(tvLF.Selected());
    if (!paths->empty()) ODInitialDir = FolderOf(paths->front());
    SaveSettings();
  });
}

void Session::SelectNode(TreeNode* node) {
  if (Busy()) return;
  if (tvLF.Select(node)) Guarded([&] { tvLFChange(node); });
}

void Session::tvLFChange(TreeNode* node) {
  if (node == nullptr) return;
  const int slot = node->datum;
  if (slot == UnreadSlot) return;
  if (slot != CurOrg) {
    CurOrg = slot;
    tcZLIndex = 0;
  }
  tvLF.ClearStates();
  if (slot < 0 || slot >= kMaxOrgs || slot >= store.OrgCount) ThrowRangeCheck();
  if (store.OrgDirty[slot]) {
    BusyScope busy(busy_);
    ResetOrgSlot(store, slot);
    ClearGrids();
    ReadingProgress progress;
    std::string status;
    progress.file = [&](std::size_t index, std::size_t count, const std::string& path) {
      status = "Чтение файлов: " + std::to_string(index + 1) + " из " + std::to_string(count) +
               " — " + FileNameOf(path);
      Progress(status);
    };
    progress.record = [&] { Progress(status); };
    try {
      LoadOrganisation(store, slot, progress);
    } catch (...) {
      Progress("");
      throw;
    }
    Progress("");
    store.OrgDirty[slot] = false;
  }
  ShowOrganisation(store, slot, {sgZLStrah, sgZLNakop, sgADVStrah, sgADVNakop});
}

TextGrid& Session::Grid(int tag) {
  switch (tag) {
    case 0:
      return sgZLStrah;
    case 1:
      return sgZLNakop;
    case 2:
      return sgADVStrah;
    default:
      return sgADVNakop;
  }
}

}  // namespace lorvi

namespace lorvi {

void Session::SelectCell(int tag, int col, int row) {
  if (Busy()) return;
  TextGrid& grid = Grid(tag);
  grid.SetSelection(col, row);
  sgZLStrahSelectCell(grid, Grid(tag ^ 1), col, row, tvLF, store);
}

void Session::sbZLClick() {
  if (Busy()) return;
  advShown = false;
  SLabel2Caption = "Застрахованные лица"_w;
  tvLF.ClearStates();
}

void Session::sbADVClick() {
  if (Busy()) return;
  advShown = true;
  SLabel2Caption = "Опись сведенний"_w;
  tvLF.ClearStates();
}

void Session::SelectTab(int index) {
  if (Busy() || index == tcZLIndex) return;
  tcZLIndex = index;
  Guarded([this] { tcZLChange(); });
}

void Session::tcZLChange() {
  tvLFChange(tvLF.Selected());
  const TreeNode* node = tvLF.Selected();
  const bool ofOrganisation = node != nullptr && node->datum >= 0 && node->datum < store.OrgCount;
  FilterRows(tcZLIndex, sgZLStrah, sgZLNakop,
             ofOrganisation ? &store.ZLInfo[node->datum] : nullptr);
}

std::optional<PrintJob> Session::sbPrintClick() const {
  return BuildPrintJob({tvLF, advShown ? sgADVStrah : sgZLStrah, advShown ? sgADVNakop : sgZLNakop,
                        !advShown, SLabel2Caption, TabCaption(tcZLIndex)});
}

std::optional<Reconciliation> Session::ReconciliationShown(const std::string& date) const {
  if (CurOrg >= store.OrgCount) return std::nullopt;
  return BuildReconciliation({tvLF, CurOrg, advShown ? sgADVStrah : sgZLStrah,
                              advShown ? sgADVNakop : sgZLNakop, !advShown, SLabel2Caption,
                              TabCaption(tcZLIndex), store.decimalSeparator, date});
}

void Session::edFindFIOChange(const std::string& text1251) {
  edFindFIO = text1251;
  if (Busy()) return;
  lorvi::edFindFIOChange(edFindFIO, sgZLStrah, sgZLNakop);
}

}  // namespace lorvi
