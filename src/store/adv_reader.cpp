#include "store/adv_reader.h"

#include "intake/tag_value.h"
#include "intake/text1251.h"
#include "store/amount_block.h"

namespace lorvi {
namespace {

constexpr std::string_view kDocumentClose = "</ОПИСЬ_СВЕДЕНИЙ_ПЕРЕДАВАЕМЫХ_СТРАХОВАТЕЛЕМ>"_w;
constexpr std::string_view kCategoryRow = "<ТипСтрокиОсведениях>ПО КАТЕГОРИИ"_w;
constexpr std::string_view kInsurerRow = "<ТипСтрокиОсведениях>ПО СТРАХОВАТЕЛЮ"_w;
constexpr std::string_view kInsurerKey = "ПО СТРАХОВАТЕЛЮ"_w;
constexpr std::string_view kBlockClose = "</СведенияОбИсходныхСведениях>"_w;

}  // namespace

void ReadADVFile(OrgStore& store, int slot, const std::string& path, std::string_view periodKey) {
  const int column = PeriodColumn(store.ADVInfo, slot, periodKey);
  const LineList lines = ReadLineList(path);
  ReadADVInventory(store, slot, column, lines);
  store.ADVInfo[slot].Periods.Sort();
}

void ReadADVInventory(OrgStore& store, int slot, int column, const LineList& lines) {
  TInfo& info = store.ADVInfo[slot];
  const char separator = store.decimalSeparator;
  std::size_t i = 0;
  for (;;) {
    std::string_view line = lines.Line(i);
    if (Contains(line, kDocumentClose)) return;
    std::string key;
    if (Contains(line, kCategoryRow)) {
      ++i;
      key = TagValue(lines.Line(i), "КодКатегории"_w);
    } else if (Contains(line, kInsurerRow)) {
      key = kInsurerKey;
    } else {
      ++i;
      continue;
    }
    const int row = KeyRow(info, key);
    // The row's block: the type (or code) line is tested only for the closing tag.
    while (!Contains(lines.Line(i), kBlockClose)) {
      ++i;
      if (Contains(lines.Line(i), kInsuranceBlock)) {
        ReadAmountBlock(lines, i, info.StrahN, info.StrahU, row, column, separator);
        i += 2;
      }
      if (Contains(lines.Line(i), kFundedBlock)) {
        ReadAmountBlock(lines, i, info.NakopN, info.NakopU, row, column, separator);
        i += 2;
      }
    }
    ++i;
  }
}

}  // namespace lorvi
