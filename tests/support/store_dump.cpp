#include "support/store_dump.h"

namespace lorvi::test {
namespace {

void DumpInfo(std::string& out, const TInfo& info) {
  for (const std::string& entry : info.Rows.Entries()) out += "row " + entry + "\n";
  for (const std::string& entry : info.Periods.Entries()) out += "period " + entry + "\n";
  for (std::size_t r = 0; r < info.Dismissed.size(); ++r)
    out += "dismissed " + std::to_string(r) + " " + info.Dismissed[r] + "\n";
  const std::pair<const TAAS*, const char*> matrices[] = {{&info.StrahN, "StrahN"},
                                                          {&info.StrahU, "StrahU"},
                                                          {&info.NakopN, "NakopN"},
                                                          {&info.NakopU, "NakopU"},
                                                          {&info.SrcFile, "SrcFile"}};
  const int rows = static_cast<int>(info.Rows.Count());
  const int cols = static_cast<int>(info.Periods.Count());
  for (const auto& [matrix, name] : matrices)
    for (int r = 0; r < rows; ++r) {
      out += name;
      for (int c = 0; c < cols; ++c) out += "\t" + matrix->Get(r, c);
      out += "\n";
    }
}

}  // namespace

std::string DumpStore(const OrgStore& store) {
  std::string out = "orgs " + std::to_string(store.OrgCount) + "\n";
  for (int slot = 0; slot < kMaxOrgs; ++slot) {
    out += "[slot " + std::to_string(slot) + (store.OrgDirty[slot] ? " dirty]\n" : "]\n");
    for (const std::string& path : store.OrgFiles[slot]) out += "file " + path + "\n";
    out += "[ZLInfo]\n";
    DumpInfo(out, store.ZLInfo[slot]);
    out += "[ADVInfo]\n";
    DumpInfo(out, store.ADVInfo[slot]);
  }
  return out;
}

}  // namespace lorvi::test
