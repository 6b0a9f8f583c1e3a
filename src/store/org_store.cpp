#include "store/org_store.h"

#include <charconv>

#include "base/lorvi_error.h"
#include "store/amount.h"

namespace lorvi {
namespace {

void CheckSlot(int slot) {
  if (slot < 0 || slot >= kMaxOrgs) ThrowRangeCheck();
}

}  // namespace

void TInfo::Reset() {
  Rows.Clear();
  Periods.Clear();
  for (TAAS* m : {&StrahN, &StrahU, &NakopN, &NakopU, &SrcFile}) m->Reset();
  Dismissed.clear();
}

void ClearAllStores(OrgStore& store) {
  store.OrgCount = 0;
  for (int slot = 0; slot < kMaxOrgs; ++slot) {
    store.OrgFiles[slot].clear();
    store.ZLInfo[slot].Reset();
    store.ADVInfo[slot].Reset();
  }
}

int NewOrgSlot(OrgStore& store) {
  if (store.OrgCount >= kMaxOrgs) ThrowRangeCheck();
  const int slot = store.OrgCount;
  store.OrgFiles[slot].clear();
  store.OrgDirty[slot] = true;
  store.ZLInfo[slot].Reset();
  store.ADVInfo[slot].Reset();
  ++store.OrgCount;
  return slot;
}

void RegisterOrgFile(OrgStore& store, int slot, const std::string& path) {
  store.OrgFiles[slot].push_back(path);
  store.OrgDirty[slot] = true;
}

void ResetOrgSlot(OrgStore& store, int slot) {
  CheckSlot(slot);
  store.ZLInfo[slot].Reset();
  store.ADVInfo[slot].Reset();
}

int PeriodColumn(InfoStore& store, int slot, std::string_view periodKey) {
  CheckSlot(slot);
  KeyedList& periods = store[slot].Periods;
  long at = periods.IndexOfName(periodKey);
  if (at < 0) at = static_cast<long>(periods.Append(periodKey, std::to_string(periods.Count())));
  const std::string_view value = ValueOf(periods[static_cast<std::size_t>(at)]);
  int column = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), column);
  if (error != std::errc() || end != value.data() + value.size()) ThrowNotInteger(value);
  return column;
}

int KeyRow(TInfo& info, std::string_view key) {
  return KeyRow(info, key, KeyedList::FoldedHash(key));
}

int KeyRow(TInfo& info, std::string_view key, std::size_t foldedHash) {
  const long at = info.Rows.IndexOfName(key, foldedHash);
  if (at >= 0) return static_cast<int>(at);
  return static_cast<int>(info.Rows.Append(key, std::to_string(info.Rows.Count())));
}

void PutAmount(TAAS& matrix, int row, int column, std::string_view text, bool accumulate,
               char separator) {
  if (text == "???" || !accumulate) {
    matrix.At(row, column).assign(text);
    return;
  }
  AddAmount(matrix, row, column, text, ParseAmount(text, separator), separator);
}

void AddAmount(TAAS& matrix, int row, int column, std::string_view text,
               std::optional<Amount4> value, char separator) {
  std::string& cell = matrix.At(row, column);
  if (text == "???") {
    cell.assign(text);
    return;
  }
  const std::optional<Amount4> current = ParseAmount(cell, separator);
  if (!current) return;  // an unreadable cell stays unreadable, whatever follows
  if (!value) {
    cell.assign(text);
    return;
  }
  FormatAmountInto(cell, static_cast<__int128>(*current) + *value, separator);
}

}  // namespace lorvi
