#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "intake/file_tree.h"
#include "store/amount.h"
#include "store/keyed_list.h"
#include "store/taas.h"

namespace lorvi {

// One organisation's table in one store.
struct TInfo {
  KeyedList Rows;                      // row key "=" row number, in order of first appearance
  KeyedList Periods;                   // period key "=" column number, sorted after each file
  TAAS StrahN{"0"};                    // accrued, insurance part
  TAAS StrahU{"0"};                    // paid, insurance part
  TAAS NakopN{"0"};                    // accrued, funded part
  TAAS NakopU{"0"};                    // paid, funded part
  TAAS SrcFile{"zu"};                  // name of the file of the last record read into the cell
  std::vector<std::string> Dismissed;  // by row: "" or "1|" + a Periods entry

  // Empties the lists and sets every cell to its initial text.
  void Reset();
};

// Both stores, the slot bookkeeping and the locale's decimal separator with which amounts are
// read and written. The window and the tool each own one.
struct OrgStore {
  int OrgCount = 0;
  std::array<std::vector<std::string>, kMaxOrgs> OrgFiles;  // full paths, in order of registration
  std::array<bool, kMaxOrgs> OrgDirty{};
  std::array<TInfo, kMaxOrgs> ZLInfo;   // from individual records
  std::array<TInfo, kMaxOrgs> ADVInfo;  // from inventories
  char decimalSeparator = ',';
  // Files read at once when an organisation is read; 0: one per processor core, 1: one after
  // another on the calling thread.
  int readerThreads = 0;
  // Starts a reader thread (null: std::thread). Tests put in one that fails, as a system out of
  // threads does; the reading then goes on the calling thread.
  std::function<std::thread(std::function<void()> work)> startReader;
};

using InfoStore = std::array<TInfo, kMaxOrgs>;

// Frees every slot: OrgCount 0, no files, empty lists, every cell at its initial text.
// OrgDirty stays as it is.
void ClearAllStores(OrgStore& store);

// Opens the slot numbered OrgCount (dirty, without files) and returns its number. With both
// slots in use it fails with "Range check error" and changes nothing.
int NewOrgSlot(OrgStore& store);

// Registers a file (full path) of the organisation in `slot`: it is read with the organisation's
// next reading.
void RegisterOrgFile(OrgStore& store, int slot, const std::string& path);

// Empties both stores' tables of `slot`; its files and its mark stay.
void ResetOrgSlot(OrgStore& store, int slot);

// The column of `periodKey` in store[slot], added as the next column when it is new.
int PeriodColumn(InfoStore& store, int slot, std::string_view periodKey);

// The row of `key` in `info`, added as the next row when it is new.
int KeyRow(TInfo& info, std::string_view key);
// The same with KeyedList::FoldedHash(key) worked out beforehand.
int KeyRow(TInfo& info, std::string_view key, std::size_t foldedHash);

// Stores `text` into the cell, or adds it to the cell's amount when `accumulate` is true.
// "???" always sets "???"; a cell whose text does not convert keeps it when accumulating;
// a text that does not convert replaces a convertible cell. Never fails on such texts.
void PutAmount(TAAS& matrix, int row, int column, std::string_view text, bool accumulate,
               char separator);

// PutAmount accumulating a text that was converted beforehand: `value` is what ParseAmount gave
// for `text` with `separator`. `text` only matters when it does not convert.
void AddAmount(TAAS& matrix, int row, int column, std::string_view text,
               std::optional<Amount4> value, char separator);

}  // namespace lorvi
