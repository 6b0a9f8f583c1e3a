// Prints what the reading engine takes from the files named on the command line: each file's
// header, then per organisation its rows and periods with the amounts of both stores.
#include <cstdio>
#include <string>
#include <vector>

#include "intake/header_scan.h"
#include "intake/lorvi_error.h"
#include "intake/text1251.h"
#include "store/adv_reader.h"
#include "store/org_store.h"
#include "store/zl_reader.h"

using namespace lorvi;

namespace {

void Print(const std::string& text1251) { std::fputs(Cp1251ToUtf8(text1251).c_str(), stdout); }

void PrintTable(const char* title, const TInfo& info) {
  std::printf("  %s: %zu rows, %zu periods\n", title, info.Rows.Count(), info.Periods.Count());
  for (std::size_t r = 0; r < info.Rows.Count(); ++r) {
    const std::string& entry = info.Rows[r];
    Print("    " + entry.substr(0, entry.rfind('=')));
    for (const std::string& period : info.Periods.Entries()) {
      const int c = std::stoi(std::string(ValueOf(period)));
      const int row = static_cast<int>(r);
      Print("  [" + period.substr(0, period.find('=')) + " " + info.StrahN.Get(row, c) + "/" +
            info.StrahU.Get(row, c) + " " + info.NakopN.Get(row, c) + "/" +
            info.NakopU.Get(row, c) + "]");
    }
    if (r < info.Dismissed.size() && !info.Dismissed[r].empty()) Print("  " + info.Dismissed[r]);
    std::printf("\n");
  }
}

}  // namespace

int main(int argc, char** argv) {
  OrgStore store;
  store.decimalSeparator = '.';
  std::vector<std::string> titles;
  std::vector<std::pair<int, std::pair<std::string, HeaderInfo>>> files;
  for (int a = 1; a < argc; ++a) {
    const std::string path = argv[a];
    HeaderInfo info;
    try {
      if (!ScanHeader(path, info)) {
        std::printf("%s: not readable\n", path.c_str());
        continue;
      }
    } catch (const LorviError& e) {
      Print(path + ": " + WithFullStop(e.what()) + "\n");
      continue;
    }
    Print(Utf8ToCp1251(path) + ": " + info.orgTitle + " " + info.periodKey + " " + info.kind +
          "\n");
    int slot = -1;
    for (std::size_t t = 0; t < titles.size(); ++t)
      if (titles[t].compare(0, 14, info.orgTitle, 0, 14) == 0) slot = static_cast<int>(t);
    if (slot < 0) {
      if (store.OrgCount == kMaxOrgs) continue;
      slot = NewOrgSlot(store);
      titles.push_back(info.orgTitle);
    }
    files.push_back({slot, {path, info}});
  }
  for (int slot = 0; slot < store.OrgCount; ++slot) {
    Print("\n" + titles[slot] + "\n");
    try {
      for (const auto& [fileSlot, file] : files) {
        if (fileSlot != slot) continue;
        if (file.second.kind == kKindSZV)
          ReadZLFile(store, slot, file.first, file.second.periodKey);
        else
          ReadADVFile(store, slot, file.first, file.second.periodKey);
      }
    } catch (const LorviError& e) {
      Print("  " + WithFullStop(e.what()) + "\n");
    }
    PrintTable("individual records", store.ZLInfo[slot]);
    PrintTable("inventories", store.ADVInfo[slot]);
  }
  return 0;
}
