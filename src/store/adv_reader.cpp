#include "store/adv_reader.h"

#include "base/text1251.h"
#include "intake/tag_value.h"
#include "store/amount_block.h"

namespace lorvi {
namespace {

constexpr std::string_view kDocumentClose = "</ОПИСЬ_СВЕДЕНИЙ_ПЕРЕДАВАЕМЫХ_СТРАХОВАТЕЛЕМ>"_w;
constexpr std::string_view kCategoryRow = "<ТипСтрокиОсведениях>ПО КАТЕГОРИИ"_w;
constexpr std::string_view kInsurerRow = "<ТипСтрокиОсведениях>ПО СТРАХОВАТЕЛЮ"_w;
constexpr std::string_view kInsurerKey = "ПО СТРАХОВАТЕЛЮ"_w;
constexpr std::string_view kBlockClose = "</СведенияОбИсходныхСведениях>"_w;

template <typename Sink>
void ScanInventory(const LineList& lines, Sink& sink) {
  std::string key, value;
  std::size_t i = 0;
  for (;;) {
    std::string_view line = lines.Line(i);
    if (Contains(line, kDocumentClose)) return;
    if (Contains(line, kCategoryRow)) {
      ++i;
      key = TagValueView(lines.Line(i), "КодКатегории"_w, value);
    } else if (Contains(line, kInsurerRow)) {
      key = kInsurerKey;
    } else {
      ++i;
      continue;
    }
    sink.Row(key);
    // The row's block: the type (or code) line is tested only for the closing tag.
    while (!Contains(lines.Line(i), kBlockClose)) {
      ++i;
      if (Contains(lines.Line(i), kInsuranceBlock)) {
        ReadAmountBlock(lines, i, FileReading::kStrahN, sink, value);
        i += 2;
      }
      if (Contains(lines.Line(i), kFundedBlock)) {
        ReadAmountBlock(lines, i, FileReading::kNakopN, sink, value);
        i += 2;
      }
    }
    ++i;
  }
}

}  // namespace

void ReadADVFile(OrgStore& store, int slot, const std::string& path, std::string_view periodKey) {
  const int column = PeriodColumn(store.ADVInfo, slot, periodKey);
  const LineList lines = ReadLineList(path);
  ReadADVInventory(store, slot, column, lines);
  store.ADVInfo[slot].Periods.Sort();
}

void ReadADVInventory(OrgStore& store, int slot, int column, const LineList& lines) {
  StoreSink sink(store.ADVInfo[slot], column, {}, false, {}, store.decimalSeparator);
  ScanInventory(lines, sink);
}

void ReadADVSteps(const LineList& lines, FileReading& reading, char separator) {
  StepSink sink(reading, separator);
  ScanInventory(lines, sink);
}

}  // namespace lorvi
