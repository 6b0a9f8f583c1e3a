#include "app/session.h"

#include "app/settings_file.h"
#include "intake/lorvi_error.h"
#include "intake/text1251.h"

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
  tvLF.Clear();
  ClearAllStores(store);
  ClearGrids();
}

void Session::ClearGrids() {
  for (TextGrid* grid : {&sgZLStrah, &sgZLNakop, &sgADVStrah, &sgADVNakop}) {
    grid->SetColCount(0);
    grid->SetRowCount(0);
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

void Session::ShowError(const std::string& text1251) {
  if (messageSink_) messageSink_(WithFullStop(text1251));
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
