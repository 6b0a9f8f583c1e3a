#include "store/file_reading.h"

#include "base/text1251.h"
#include "intake/header_scan.h"
#include "intake/line_list.h"
#include "intake/unread_reason.h"
#include "store/adv_reader.h"
#include "store/amount_block.h"
#include "store/zl_reader.h"

namespace lorvi {
namespace {

// Merges call back this often so that the window can repaint.
constexpr std::size_t kStepsPerTick = 4096;

std::uint32_t Offset(std::size_t n) { return static_cast<std::uint32_t>(n); }

void ReadByKind(LineList& lines, FileReading& reading, char separator) {
  if (reading.kind == FileReading::Kind::kRecords)
    ReadZLSteps(lines, reading, separator);
  else
    ReadADVSteps(lines, reading, separator);
}

FileReading ReadAlone(const std::string& path, std::string_view periodKey, char separator,
                      FileReading::Kind kind) {
  FileReading reading;
  reading.kind = kind;
  reading.periodKey = periodKey;
  try {
    if (kind == FileReading::Kind::kRecords) reading.sourceName = Utf8ToCp1251(FileNameOf(path));
    LineList lines = kind == FileReading::Kind::kRecords ? ReadLineList(path, ZLLineMarks())
                                                         : ReadLineList(path);
    ReadByKind(lines, reading, separator);
  } catch (...) {
    reading.failure = std::current_exception();
  }
  return reading;
}

}  // namespace

void FileReading::AddRow(std::string_view key) {
  Step step{Step::Op::kRow, kStrahN, false, Offset(texts.size()), Offset(key.size())};
  step.hash = KeyedList::FoldedHash(key);
  steps.push_back(step);
  texts.append(key);
}

void FileReading::AddAmount(Matrix matrix, std::string_view text, char separator) {
  Step step{Step::Op::kAmount, matrix};
  if (const auto value = ParseAmount(text, separator)) {
    step.converts = true;
    step.value = *value;
  } else {
    step.text = Offset(texts.size());
    step.size = Offset(text.size());
    texts.append(text);
  }
  steps.push_back(step);
}

FileReading ReadFileAlone(const std::string& path, char separator) {
  FileReading reading;
  try {
    if (!FileExists(path)) return reading;
    // Split for individual records, the usual kind; an inventory reads the same lines.
    std::string bytes;
    try {
      bytes = ReadFileBytes(path);
    } catch (const CannotOpenError& e) {
      if (NoLongerThere(e.SystemError())) return reading;  // readable when placed, not now
      throw;
    }
    if (!HeadHoldsATag(bytes)) return reading;
    LineList lines(std::move(bytes), ZLLineMarks());
    HeaderInfo header;
    if (!ScanHeaderLines(lines, header)) return reading;
    reading.periodKey = header.periodKey;
    if (header.kind == kKindSZV) {
      reading.kind = FileReading::Kind::kRecords;
      reading.sourceName = Utf8ToCp1251(FileNameOf(path));
    } else {
      reading.kind = FileReading::Kind::kInventory;
    }
    ReadByKind(lines, reading, separator);
  } catch (...) {
    reading.failure = std::current_exception();
    reading.failedBeforePeriod = reading.kind == FileReading::Kind::kPassedOver;
  }
  return reading;
}

FileReading ReadRecordsAlone(const std::string& path, std::string_view periodKey, char separator) {
  return ReadAlone(path, periodKey, separator, FileReading::Kind::kRecords);
}

FileReading ReadInventoryAlone(const std::string& path, std::string_view periodKey,
                               char separator) {
  return ReadAlone(path, periodKey, separator, FileReading::Kind::kInventory);
}

void MergeReading(OrgStore& store, int slot, const FileReading& reading,
                  const std::function<void()>& tick) {
  if (reading.failure && reading.failedBeforePeriod) std::rethrow_exception(reading.failure);
  if (reading.kind == FileReading::Kind::kPassedOver) return;
  const bool records = reading.kind == FileReading::Kind::kRecords;
  InfoStore& infos = records ? store.ZLInfo : store.ADVInfo;
  const int column = PeriodColumn(infos, slot, reading.periodKey);
  TInfo& info = infos[slot];
  const std::string periodEntry = reading.periodKey + "=" + std::to_string(column);
  StoreSink sink(info, column, periodEntry, records, reading.sourceName, store.decimalSeparator);
  std::size_t done = 0;
  for (const FileReading::Step& step : reading.steps) {
    switch (step.op) {
      case FileReading::Step::Op::kRow:
        sink.Row(reading.TextOf(step), step.hash);
        break;
      case FileReading::Step::Op::kAmount:
        sink.Amount(step.matrix, reading.TextOf(step),
                    step.converts ? std::optional<Amount4>(step.value) : std::nullopt);
        break;
      case FileReading::Step::Op::kDismissed:
        sink.Dismissed();
        break;
    }
    if (++done % kStepsPerTick == 0 && tick) tick();
  }
  if (reading.failure) std::rethrow_exception(reading.failure);
  info.Periods.Sort();
}

}  // namespace lorvi
