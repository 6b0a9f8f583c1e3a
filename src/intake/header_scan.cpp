#include "intake/header_scan.h"

#include <array>

#include "intake/line_list.h"
#include "intake/tag_value.h"

namespace lorvi {
namespace {

// The elements in the order in which they are tried on every line.
enum Element { kShortName, kRegNumber, kQuarter, kYear, kDocType, kFormKind, kElementCount };

constexpr std::array<std::string_view, kElementCount> kElementNames = {
    "НаименованиеКраткое"_w,
    "РегистрационныйНомер"_w,
    "Квартал"_w,
    "Год"_w,
    "ТипДокумента"_w,
    "ВидФормы"_w,
};

constexpr std::string_view kInventoryType = "ОПИСЬ_СВЕДЕНИЙ_ПЕРЕДАВАЕМЫХ_СТРАХОВАТЕЛЕМ"_w;
constexpr std::string_view kFormSPV1 = "СПВ-1"_w;

// The header's elements from the lines, until all six are found; their number.
int ScanElements(const LineList& lines, std::array<std::string, kElementCount>& values) {
  int count = 0;
  std::string found;
  for (std::size_t i = 0; i < lines.Count() && count != 6; ++i) {
    const std::string_view line = lines.Line(i);
    for (int e = 0; e < kElementCount; ++e) {
      if (!values[e].empty()) continue;
      if (ExtractTagValue(line, kElementNames[e], found)) {
        ++count;
        values[e] = found;
      }
    }
  }
  return count;
}

bool Classify(const std::array<std::string, kElementCount>& values, int count, HeaderInfo& info) {
  const std::string shortName = ReplaceAll(values[kShortName], "&quot;", "\"");
  std::string_view kind;
  if (count == 5 && values[kDocType] == kInventoryType)
    kind = kKindADV;
  else if (count == 6 && values[kFormKind] != kFormSPV1)
    kind = kKindSZV;
  else
    return false;

  info.orgTitle = values[kRegNumber] + "(" + shortName + ")";
  info.periodKey = values[kYear] + "-" + values[kQuarter];
  info.kind = std::string(kind);
  return true;
}

}  // namespace

bool ScanHeader(const std::string& path, HeaderInfo& info) {
  info = HeaderInfo{};
  if (!FileExists(path)) return false;
  // Individual records name all six elements near the top. A line feed always ends a line, so the
  // lines up to one there are the file's first lines: they are read and split alone, and the
  // whole file only when they do not suffice.
  constexpr std::size_t kHead = 16384;
  std::string bytes = ReadFileHead(path, kHead + 1);  // one more byte tells whether there is more
  if (bytes.size() <= kHead) return ScanHeaderLines(LineList(std::move(bytes)), info);
  const std::size_t cut = bytes.rfind('\n', kHead);
  if (cut != std::string::npos) {
    std::array<std::string, kElementCount> values;
    const int count = ScanElements(LineList(bytes.substr(0, cut + 1)), values);
    if (count == 6) return Classify(values, count, info);
  }
  return ScanHeaderLines(LineList(ReadFileBytes(path)), info);
}

bool ScanHeaderLines(const LineList& lines, HeaderInfo& info) {
  info = HeaderInfo{};
  std::array<std::string, kElementCount> values;
  const int count = ScanElements(lines, values);
  return Classify(values, count, info);
}

}  // namespace lorvi
