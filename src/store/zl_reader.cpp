#include "store/zl_reader.h"

#include <utility>

#include "base/lorvi_error.h"
#include "base/text1251.h"
#include "intake/tag_value.h"
#include "store/amount_block.h"
#include "store/conversions.h"

namespace lorvi {
namespace {

constexpr std::string_view kRecordOpen = "<СВЕДЕНИЯ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ>"_w;
constexpr std::string_view kRecordClose = "</СВЕДЕНИЯ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ>"_w;
constexpr std::string_view kEndDateTag = "<ДатаКонцаПериода>"_w;

constexpr std::string_view kNameTag = "<ФИО>"_w;

// The tags that the record scan looks for on every line, noted per line while the file is split.
enum RecordTag : unsigned {
  kHasClose = 1,
  kHasInsurance = 2,
  kHasFunded = 4,
  kHasEndDate = 8,
  kHasOpen = 16,
  kHasName = 32,
};
constexpr std::string_view kRecordMarks[] = {kRecordClose, kInsuranceBlock, kFundedBlock,
                                             kEndDateTag,  kRecordOpen,     kNameTag};

// The record tags of line `i`, from the split's marks or, for a list split without them, by search.
unsigned TagsOf(const LineList& lines, std::size_t i) {
  if (lines.MarkedWith(kRecordMarks)) return lines.MarksOf(i);
  const std::string_view line = lines.Line(i);
  unsigned found = 0;
  for (std::size_t k = 0; k < std::size(kRecordMarks); ++k)
    if (Contains(line, kRecordMarks[k])) found |= 1u << k;
  return found;
}

// Drops every line before the first one that holds `tag`. When none does, every line is dropped
// and the search fails as asking for line 0 of the empty list.
void DropBefore(LineList& lines, std::string_view tag) {
  std::size_t i = 0;
  while (i < lines.Count() && !Contains(lines.Line(i), tag)) ++i;
  lines.DropFront(i);
  if (lines.Count() == 0) ThrowListIndex(0);
}

// The same for a record tag.
void DropBefore(LineList& lines, RecordTag tag) {
  std::size_t i = 0;
  while (i < lines.Count() && !(TagsOf(lines, i) & tag)) ++i;
  lines.DropFront(i);
  if (lines.Count() == 0) ThrowListIndex(0);
}

// Walks the file head and returns the number of records it announces.
int RecordCount(LineList& lines) {
  DropBefore(lines, "<СоставДокументов>"_w);
  DropBefore(lines, "<НаличиеДокументов>"_w);
  DropBefore(lines, "<Количество>"_w);
  const std::string countText = TagValue(lines.Line(0), "Количество"_w);
  const auto count = ParseInteger(countText);
  if (!count) ThrowNotInteger(countText);
  return *count;
}

// One record, from its opening line to before its closing line, into `sink`.
template <typename Sink>
void ScanRecord(LineList& lines, std::string_view periodEntry, Sink& sink, std::string& key,
                std::string& value) {
  DropBefore(lines, kHasOpen);
  DropBefore(lines, kHasName);
  lines.DropFront(1);
  key = TagValueView(lines.Line(0), "Фамилия"_w, value);
  lines.DropFront(1);
  key.append(" ").append(TagValueView(lines.Line(0), "Имя"_w, value));
  lines.DropFront(1);
  key.append(" ").append(TagValueView(lines.Line(0), "Отчество"_w, value));
  sink.Row(key);

  std::size_t i = 0;  // from the patronymic line
  for (;; ++i) {
    unsigned tags = TagsOf(lines, i);
    if (tags & kHasClose) break;
    if (tags & kHasInsurance) {
      ReadAmountBlock(lines, i, FileReading::kStrahN, sink, value);
      i += 2;
      tags = TagsOf(lines, i);
    }
    if (tags & kHasFunded) {
      ReadAmountBlock(lines, i, FileReading::kNakopN, sink, value);
      i += 2;
      tags = TagsOf(lines, i);
    }
    if (tags & kHasEndDate) {
      if (EndsBeforePeriodEnd(TagValueView(lines.Line(i), "ДатаКонцаПериода"_w, value),
                              periodEntry))
        sink.Dismissed();
    }
  }
  lines.DropFront(i);
}

}  // namespace

void ReadZLFile(OrgStore& store, int slot, const std::string& path, std::string_view periodKey,
                const AfterRecord& afterRecord) {
  const int column = PeriodColumn(store.ZLInfo, slot, periodKey);
  LineList lines = ReadLineList(path, ZLLineMarks());
  const int count = RecordCount(lines);
  const std::string sourceName = Utf8ToCp1251(FileNameOf(path));
  const std::string periodEntry = std::string(periodKey) + "=" + std::to_string(column);
  for (int n = 0; n < count; ++n) {
    ReadZLRecord(store, slot, column, periodEntry, sourceName, lines);
    if (afterRecord) afterRecord();
  }
  store.ZLInfo[slot].Periods.Sort();
}

void ReadZLRecord(OrgStore& store, int slot, int column, std::string_view periodEntry,
                  std::string_view sourceName, LineList& lines) {
  StoreSink sink(store.ZLInfo[slot], column, periodEntry, true, sourceName, store.decimalSeparator);
  std::string key, value;
  ScanRecord(lines, periodEntry, sink, key, value);
}

std::span<const std::string_view> ZLLineMarks() { return kRecordMarks; }

void ReadZLSteps(LineList& lines, FileReading& reading, char separator) {
  const int count = RecordCount(lines);
  // Whether an end date counts depends on the period's key alone, never on the column number
  // that the entry ends in, which only the store knows.
  const std::string periodEntry = reading.periodKey + "=";
  StepSink sink(reading, separator);
  std::string key, value;
  for (int n = 0; n < count; ++n) ScanRecord(lines, periodEntry, sink, key, value);
}

void MarkDismissed(TInfo& info, int row, std::string_view periodEntry) {
  std::string mark = "1|" + std::string(periodEntry);
  auto& dismissed = info.Dismissed;
  if (dismissed.size() > static_cast<std::size_t>(row)) {
    dismissed[static_cast<std::size_t>(row)] = std::move(mark);
  } else {
    dismissed.resize(static_cast<std::size_t>(row));
    dismissed.push_back(std::move(mark));
  }
}

bool EndsBeforePeriodEnd(std::string_view dateText, std::string_view periodEntry) {
  const auto year = ParseInteger(periodEntry.substr(0, 4));
  const auto quarter = ParseInteger(periodEntry.size() > 5 ? periodEntry.substr(5, 1) : "");
  if (!year || !quarter) return false;
  Date end;
  if (*year == 2010 && *quarter == 1)
    end = {2010, 6, 30};
  else if (*year == 2010 && *quarter == 2)
    end = {2010, 12, 31};
  else if (*year >= 2011 && *year <= 3000 && *quarter >= 1 && *quarter <= 4)
    end = {*year, *quarter * 3, *quarter == 1 || *quarter == 4 ? 31 : 30};
  else
    return false;
  const auto date = ParseDate(dateText);
  if (!date) ThrowNotDate(dateText);
  return *date < end;
}

}  // namespace lorvi
