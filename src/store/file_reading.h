#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/amount.h"
#include "store/org_store.h"

namespace lorvi {

// One file read on its own, away from the store: what it would add to a slot, step by step in
// the order in which the reader adds it, and the failure that stopped it. Files can so be read
// side by side and still reach the store one after another, exactly as if each had been read
// into it directly.
struct FileReading {
  enum class Kind : std::uint8_t {
    kPassedOver,  // no file there any more, it cannot be opened, or it no longer classifies
    kRecords,     // individual records, for ZLInfo
    kInventory,   // an inventory, for ADVInfo
  };
  // The matrices that an amount goes into.
  enum Matrix : std::uint8_t { kStrahN, kStrahU, kNakopN, kNakopU };

  struct Step {
    enum class Op : std::uint8_t { kRow, kAmount, kDismissed };
    Op op = Op::kRow;
    Matrix matrix = kStrahN;
    bool converts = false;   // for an amount: `value` holds it
    std::uint32_t text = 0;  // the row key, or an amount's text that does not convert, in `texts`
    std::uint32_t size = 0;
    Amount4 value = 0;
    std::size_t hash = 0;  // for a row: KeyedList::FoldedHash of its key
  };

  Kind kind = Kind::kPassedOver;
  std::string periodKey;
  std::string sourceName;  // individual records: the file's name for SrcFile
  // The failure did not reach the period column: it came from the header scan.
  bool failedBeforePeriod = false;
  std::vector<Step> steps;
  std::string texts;
  std::exception_ptr failure;  // none when the whole file was read

  std::string_view TextOf(const Step& step) const {
    return std::string_view(texts).substr(step.text, step.size);
  }
  void AddRow(std::string_view key);
  void AddAmount(Matrix matrix, std::string_view text, char separator);
  void AddDismissed() { steps.push_back({Step::Op::kDismissed}); }
};

// The file at `path` classified by its header and read whole, as the reading of an organisation
// takes it; never throws (a failure is kept in the result).
FileReading ReadFileAlone(const std::string& path, char separator);

// The file at `path` read alone as individual records or as an inventory of `periodKey`, without
// a header scan, as ReadZLFile and ReadADVFile read it; never throws.
FileReading ReadRecordsAlone(const std::string& path, std::string_view periodKey, char separator);
FileReading ReadInventoryAlone(const std::string& path, std::string_view periodKey, char separator);

// Adds what `reading` holds to `slot` as the direct reading of the file would have: its period
// column, its rows in order, its amounts, source names and dismissal marks, then the failure
// (rethrown) or the sorting of the periods. `tick` runs now and then during long merges.
void MergeReading(OrgStore& store, int slot, const FileReading& reading,
                  const std::function<void()>& tick = {});

}  // namespace lorvi
