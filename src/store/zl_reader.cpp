#include "store/zl_reader.h"

#include <utility>

#include "intake/lorvi_error.h"
#include "intake/tag_value.h"
#include "intake/text1251.h"
#include "store/amount_block.h"
#include "store/conversions.h"

namespace lorvi {
namespace {

constexpr std::string_view kRecordOpen = "<СВЕДЕНИЯ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ>"_w;
constexpr std::string_view kRecordClose = "</СВЕДЕНИЯ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ>"_w;
constexpr std::string_view kEndDateTag = "<ДатаКонцаПериода>"_w;

// Drops every line before the first one that holds `tag`. When none does, every line is dropped
// and the search asks for line 0 of the empty list.
void DropBefore(LineList& lines, std::string_view tag) {
  std::size_t i = 0;
  while (i < lines.Count() && !Contains(lines.Line(i), tag)) ++i;
  lines.DropFront(i);
  lines.Line(0);
}

// The tags of the body scan that a line holds, found in one pass over its "<" characters; the same
// answer as searching for each tag, at a fraction of the cost on files of thousands of records.
enum BodyTag : unsigned { kHasClose = 1, kHasInsurance = 2, kHasFunded = 4, kHasEndDate = 8 };

unsigned BodyTagsOf(std::string_view line) {
  static constexpr std::pair<std::string_view, unsigned> kTags[] = {
      {kRecordClose, kHasClose},
      {kInsuranceBlock, kHasInsurance},
      {kFundedBlock, kHasFunded},
      {kEndDateTag, kHasEndDate},
  };
  unsigned found = 0;
  for (std::size_t p = line.find('<'); p != std::string_view::npos; p = line.find('<', p + 1)) {
    const std::string_view rest = line.substr(p);
    if (rest.size() < 2) break;
    for (const auto& [tag, bit] : kTags)
      if (rest[1] == tag[1] && rest.starts_with(tag)) found |= bit;
  }
  return found;
}

}  // namespace

void ReadZLFile(OrgStore& store, int slot, const std::string& path, std::string_view periodKey,
                const AfterRecord& afterRecord) {
  const int column = PeriodColumn(store.ZLInfo, slot, periodKey);
  LineList lines = ReadLineList(path);

  DropBefore(lines, "<СоставДокументов>"_w);
  DropBefore(lines, "<НаличиеДокументов>"_w);
  DropBefore(lines, "<Количество>"_w);
  const std::string countText = TagValue(lines.Line(0), "Количество"_w);
  const auto count = ParseInteger(countText);
  if (!count) ThrowNotInteger(countText);

  const std::string sourceName = Utf8ToCp1251(FileNameOf(path));
  const std::string periodEntry = std::string(periodKey) + "=" + std::to_string(column);
  for (int n = 0; n < *count; ++n) {
    ReadZLRecord(store, slot, column, periodEntry, sourceName, lines);
    if (afterRecord) afterRecord();
  }
  store.ZLInfo[slot].Periods.Sort();
}

void ReadZLRecord(OrgStore& store, int slot, int column, std::string_view periodEntry,
                  std::string_view sourceName, LineList& lines) {
  TInfo& info = store.ZLInfo[slot];
  const char separator = store.decimalSeparator;

  DropBefore(lines, kRecordOpen);
  DropBefore(lines, "<ФИО>"_w);
  lines.DropFront(1);
  const std::string surname = TagValue(lines.Line(0), "Фамилия"_w);
  lines.DropFront(1);
  const std::string firstName = TagValue(lines.Line(0), "Имя"_w);
  lines.DropFront(1);
  const std::string patronymic = TagValue(lines.Line(0), "Отчество"_w);

  const int row = KeyRow(info, surname + " " + firstName + " " + patronymic);
  PutAmount(info.SrcFile, row, column, sourceName, false, separator);

  std::size_t i = 0;  // from the patronymic line
  for (;; ++i) {
    unsigned tags = BodyTagsOf(lines.Line(i));
    if (tags & kHasClose) break;
    if (tags & kHasInsurance) {
      ReadAmountBlock(lines, i, info.StrahN, info.StrahU, row, column, separator);
      i += 2;
      tags = BodyTagsOf(lines.Line(i));
    }
    if (tags & kHasFunded) {
      ReadAmountBlock(lines, i, info.NakopN, info.NakopU, row, column, separator);
      i += 2;
      tags = BodyTagsOf(lines.Line(i));
    }
    if ((tags & kHasEndDate) &&
        EndsBeforePeriodEnd(TagValue(lines.Line(i), "ДатаКонцаПериода"_w), periodEntry)) {
      std::string mark = "1|" + std::string(periodEntry);
      auto& dismissed = info.Dismissed;
      if (dismissed.size() > static_cast<std::size_t>(row)) {
        dismissed[row] = std::move(mark);
      } else {
        dismissed.resize(static_cast<std::size_t>(row));
        dismissed.push_back(std::move(mark));
      }
    }
  }
  lines.DropFront(i);
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
