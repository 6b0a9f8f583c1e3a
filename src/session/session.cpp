#include "session/session.h"

#include "base/lorvi_error.h"
#include "base/text1251.h"
#include "intake/file_list.h"
#include "intake/line_list.h"
#include "intake/load_files.h"
#include "session/settings_file.h"
#include "store/load_organisation.h"
#include "view/cell_selection.h"
#include "view/fill_grid.h"
#include "view/filter_tabs.h"

namespace lorvi {

Session::Session(char decimalSeparator) : SLabel2Caption_("Застрахованные лица"_w) {
  store_.decimalSeparator = decimalSeparator;
}

void Session::FormCreate() { ClearAllStores(store_); }

void Session::FormShow() {
  CurOrg_ = 0;
  ClearAll();
}

void Session::FormClose() { ClearAllStores(store_); }

void Session::ClearAll() {
  if (Busy()) return;
  tvLF_.Clear();
  ClearAllStores(store_);
  ClearGrids();
}

void Session::ClearGrids() {
  for (TextGrid* grid : {&sgZLStrah_, &sgZLNakop_, &sgADVStrah_, &sgADVNakop_}) {
    grid->SetColCount(0);
    grid->SetRowCount(0);
    // A grid that shrinks under its selection does not keep it: the next fill starts at the top.
    grid->SetSelection(1, 1);
    grid->SetTopLeft(1, 1);
  }
}

void Session::LoadSettings() {
  if (!settingsPath_.empty())
    ODInitialDir_ = ReadIniValue(settingsPath_, kSettingsSection, kSettingsKey, "");
}

void Session::SaveSettings() {
  if (settingsPath_.empty()) return;
  try {
    WriteIniValue(settingsPath_, kSettingsSection, kSettingsKey, ODInitialDir_);
  } catch (const LorviError&) {
    // Said once a run: a user who keeps the file read-only need not hear it after every load.
    if (settingsFailureTold_) return;
    settingsFailureTold_ = true;
    throw;
  }
}

void Session::ShowError(const std::string& text1251) { ShowMessage(WithFullStop(text1251)); }

void Session::ShowError(const LorviError& error) { ShowMessage(ErrorBoxText(error)); }

void Session::ShowMessage(const std::string& text1251) {
  if (messageSink_) messageSink_(text1251);
}

void Session::Progress(const std::string& status) {
  if (onProgress_) onProgress_(status);
}

namespace {

// File names one a line after `heading`, at most ten, so that a message of many files still fits
// the screen.
std::string ListOfFiles(const std::string& headingUtf8, const std::vector<std::string>& namesUtf8) {
  constexpr std::size_t kShown = 10;
  std::string text = headingUtf8 + " (" + std::to_string(namesUtf8.size()) + "):";
  for (std::size_t i = 0; i < namesUtf8.size() && i < kShown; ++i) text += "\n" + namesUtf8[i];
  if (namesUtf8.size() > kShown) text += "\n… и ещё " + std::to_string(namesUtf8.size() - kShown);
  return text;
}

// One box for the files of a load that a third organisation would need: a single file keeps its
// sentence, several are listed so that six refusals are not six boxes.
std::string RefusedFilesMessage(const std::vector<std::string>& namesUtf8) {
  // Converted as the message is made: clang 14 crashes on some of these as 1251 literals.
  if (namesUtf8.size() == 1)
    return Utf8ToCp1251("Файл " + namesUtf8.front() +
                        " не загружен: одновременно анализируются не более двух организаций.");
  return Utf8ToCp1251(ListOfFiles("Не загружены файлы", namesUtf8) +
                      "\nОдновременно анализируются не более двух организаций.");
}

// One box, after the reading, for the files it passed over.
std::string PassedOverMessage(const std::vector<std::string>& paths) {
  std::vector<std::string> names;
  names.reserve(paths.size());
  for (const std::string& path : paths) names.push_back(FileNameOf(path));
  return Utf8ToCp1251(ListOfFiles("Не прочитаны файлы", names) +
                      "\nОни изменились или пропали после загрузки; загрузите их заново.");
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
    const auto paths = choose(ODInitialDir_);
    if (!paths) return;
    BusyScope loading(busy_);
    std::vector<std::string> refused;
    bool moved = false;
    {
      const auto report = [&] {
        if (!refused.empty()) ShowMessage(RefusedFilesMessage(refused));
      };
      const LoadPlacements placed{
          // The tree takes slots in turn, as the store does; a store out of step is a fault.
          [this](int slot) {
            if (NewOrgSlot(store_) != slot) ThrowRangeCheck();
          },
          [this](int slot, const std::string& path) { RegisterOrgFile(store_, slot, path); }};
      try {
        moved = AddFilesToTree(
            *paths, tvLF_, placed, refused, [&](std::size_t done, std::size_t total) {
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
    if (moved) Guarded([&] { tvLFChange(tvLF_.Selected()); });
    tcZLIndex_ = 0;
    tvLFChange(tvLF_.Selected());
    if (!paths->empty()) ODInitialDir_ = FolderOf(paths->front());
    SaveSettings();
  });
}

void Session::LoadFiles(const std::vector<std::string>& filesAndFolders) {
  if (Busy() || filesAndFolders.empty()) return;
  sbLoadFilesClick([&](const std::string&) -> std::optional<std::vector<std::string>> {
    return ExpandFolders(filesAndFolders);
  });
}

void Session::SelectNode(const TreeNode* node) {
  if (Busy()) return;
  if (tvLF_.Select(node)) Guarded([&] { tvLFChange(node); });
}

void Session::tvLFChange(const TreeNode* node) {
  if (node == nullptr) return;
  const int slot = node->datum;
  if (slot == UnreadSlot) return;
  if (slot != CurOrg_) {
    CurOrg_ = slot;
    tcZLIndex_ = 0;
  }
  tvLF_.ClearStates();
  if (slot < 0 || slot >= kMaxOrgs || slot >= store_.OrgCount) ThrowRangeCheck();
  std::vector<std::string> passedOver;
  if (store_.OrgDirty[slot]) {
    BusyScope busy(busy_);
    ResetOrgSlot(store_, slot);
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
      passedOver = LoadOrganisation(store_, slot, progress);
    } catch (...) {
      Progress("");
      throw;
    }
    Progress("");
    store_.OrgDirty[slot] = false;
  }
  ShowOrganisation(store_, slot, {sgZLStrah_, sgZLNakop_, sgADVStrah_, sgADVNakop_});
  // The figures are in the grids when the user is told which files they lack.
  if (!passedOver.empty()) ShowMessage(PassedOverMessage(passedOver));
}

template <typename Self>
auto& Session::GridIn(Self& self, GridTag tag) {
  switch (tag) {
    case GridTag::ZLStrah:
      return self.sgZLStrah_;
    case GridTag::ZLNakop:
      return self.sgZLNakop_;
    case GridTag::ADVStrah:
      return self.sgADVStrah_;
    case GridTag::ADVNakop:
      break;
  }
  return self.sgADVNakop_;
}

TextGrid& Session::GridOf(GridTag tag) { return GridIn(*this, tag); }

const TextGrid& Session::Grid(GridTag tag) const { return GridIn(*this, tag); }

void Session::GridScrolled(GridTag tag, int col, int row) { GridOf(tag).SetTopLeft(col, row); }

void Session::MarkUnread(int slot) {
  if (slot >= 0 && slot < store_.OrgCount) store_.OrgDirty[slot] = true;
}

}  // namespace lorvi

namespace lorvi {

void Session::SelectCell(GridTag tag, int col, int row) {
  if (Busy()) return;
  TextGrid& grid = GridOf(tag);
  grid.SetSelection(col, row);
  sgZLStrahSelectCell(grid, GridOf(Partner(tag)), col, row, tvLF_, store_);
}

void Session::sbZLClick() {
  if (Busy()) return;
  advShown_ = false;
  SLabel2Caption_ = "Застрахованные лица"_w;
  tvLF_.ClearStates();
}

void Session::sbADVClick() {
  if (Busy()) return;
  advShown_ = true;
  SLabel2Caption_ = "Опись сведенний"_w;
  tvLF_.ClearStates();
}

void Session::SelectTab(int index) {
  if (Busy() || index == tcZLIndex_) return;
  tcZLIndex_ = index;
  Guarded([this] { tcZLChange(); });
}

void Session::tcZLChange() {
  tvLFChange(tvLF_.Selected());
  const TreeNode* node = tvLF_.Selected();
  const bool ofOrganisation = node != nullptr && node->datum >= 0 && node->datum < store_.OrgCount;
  FilterRows(tcZLIndex_, sgZLStrah_, sgZLNakop_,
             ofOrganisation ? &store_.ZLInfo[node->datum] : nullptr);
}

PrintSource Session::Shown() const {
  return {tvLF_,
          advShown_ ? sgADVStrah_ : sgZLStrah_,
          advShown_ ? sgADVNakop_ : sgZLNakop_,
          !advShown_,
          SLabel2Caption_,
          TabCaption(tcZLIndex_)};
}

std::optional<PrintJob> Session::sbPrintClick() const { return BuildPrintJob(Shown()); }

std::optional<Reconciliation> Session::ReconciliationShown(const std::string& date) const {
  if (CurOrg_ >= store_.OrgCount) return std::nullopt;
  return BuildReconciliation({Shown(), CurOrg_, store_.decimalSeparator, date});
}

void Session::edFindFIOChange(const std::string& text1251) {
  edFindFIO_ = text1251;
  if (Busy()) return;
  lorvi::edFindFIOChange(edFindFIO_, sgZLStrah_, sgZLNakop_);
}

}  // namespace lorvi
