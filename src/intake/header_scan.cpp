#include "intake/header_scan.h"

#include <array>
#include <utility>

#include "intake/line_list.h"
#include "intake/tag_value.h"
#include "intake/unread_reason.h"

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

// The five entities every XML reader knows, decoded in one pass: "&amp;quot;" stays "&quot;".
std::string DecodeEntities(std::string_view text) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&quot;", '"'}, {"&apos;", '\''}, {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}};
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    bool decoded = false;
    if (text[i] == '&') {
      for (const auto& [entity, ch] : kEntities) {
        if (text.substr(i, entity.size()) == entity) {
          out += ch;
          i += entity.size() - 1;
          decoded = true;
          break;
        }
      }
    }
    if (!decoded) out += text[i];
  }
  return out;
}

// What a scan found: each element's value, whether it was found at all, and the count of finds.
struct Elements {
  std::array<std::string, kElementCount> values;
  std::array<bool, kElementCount> found{};
  int count = 0;
};

// The header's elements from the lines, until all six are found.
Elements ScanElements(const LineList& lines) {
  Elements e;
  std::string value;
  for (std::size_t i = 0; i < lines.Count() && e.count != 6; ++i) {
    const std::string_view line = lines.Line(i);
    for (int k = 0; k < kElementCount; ++k) {
      if (!e.values[k].empty()) continue;
      if (ExtractTagValue(line, kElementNames[k], value)) {
        ++e.count;
        e.values[k] = value;
        e.found[k] = true;
      }
    }
  }
  return e;
}

// Why a header that does not classify is not readable, for the tree's tooltip.
std::string ReasonNotClassified(const Elements& e) {
  if (e.count == 6 && e.values[kFormKind] == kFormSPV1)
    return Utf8ToCp1251("Форма СПВ-1: такие сведения программа не читает");
  std::string missing;
  int absent = 0;
  for (int k = 0; k < kElementCount; ++k) {
    // An inventory carries no form kind.
    if (e.found[k] || (k == kFormKind && e.values[kDocType] == kInventoryType)) continue;
    missing += (absent++ == 0 ? "«" : ", «") + Cp1251ToUtf8(kElementNames[k]) + "»";
  }
  if (absent == kElementCount)
    return Utf8ToCp1251(
        "Нет ни одного элемента заголовка: это не сведения ПФР или файл не в кодировке "
        "Windows-1251");
  if (absent == 1) return Utf8ToCp1251("Нет элемента " + missing);
  if (absent > 1) return Utf8ToCp1251("Нет элементов " + missing);
  return Utf8ToCp1251("Элементы заголовка повторяются с пустыми значениями");
}

bool Classify(const Elements& e, HeaderInfo& info) {
  const auto& values = e.values;
  const std::string shortName = DecodeEntities(values[kShortName]);
  std::string_view kind;
  if (e.count == 5 && values[kDocType] == kInventoryType) {
    kind = kKindADV;
  } else if (e.count == 6 && values[kFormKind] != kFormSPV1) {
    kind = kKindSZV;
  } else {
    info.reason = ReasonNotClassified(e);
    return false;
  }

  info.orgTitle = values[kRegNumber] + "(" + shortName + ")";
  info.periodKey = values[kYear] + "-" + values[kQuarter];
  info.kind = std::string(kind);
  return true;
}

}  // namespace

bool ScanHeader(const std::string& path, HeaderInfo& info) {
  info = HeaderInfo{};
  if (!FileExists(path)) {
    info.reason = NotAFileReason(path);
    return false;
  }
  // Individual records name all six elements near the top. A line feed always ends a line, so the
  // lines up to one there are the file's first lines: they are read and split alone, and the
  // whole file only when they do not suffice.
  std::string bytes = ReadFileHead(path, kHeaderHead + 1);  // one byte more tells there is more
  if (bytes.empty()) {
    info.reason = Utf8ToCp1251("Файл пуст");
    return false;
  }
  if (!HeadHoldsATag(bytes)) {
    info.reason = Utf8ToCp1251("В начале файла нет ни одного тега: это не XML-файл");
    return false;
  }
  // The text ends at the first NUL: one in the head leaves nothing after it to read.
  if (bytes.size() <= kHeaderHead || bytes.find('\0') != std::string::npos)
    return ScanHeaderLines(LineList(std::move(bytes)), info);
  const std::size_t cut = bytes.rfind('\n', kHeaderHead);
  if (cut != std::string::npos) {
    const Elements head = ScanElements(LineList(bytes.substr(0, cut + 1)));
    if (head.count == 6) return Classify(head, info);
  }
  return ScanHeaderLines(LineList(ReadFileBytes(path)), info);
}

bool HeadHoldsATag(std::string_view bytes) {
  return bytes.substr(0, kHeaderHead).find('<') != std::string_view::npos;
}

bool ScanHeaderLines(const LineList& lines, HeaderInfo& info) {
  info = HeaderInfo{};
  return Classify(ScanElements(lines), info);
}

}  // namespace lorvi
