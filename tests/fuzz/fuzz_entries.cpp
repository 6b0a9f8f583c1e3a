#include "fuzz_entries.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <vector>

#include "base/lorvi_error.h"
#include "base/text1251.h"
#include "intake/header_scan.h"
#include "intake/line_list.h"
#include "intake/tag_value.h"
#include "store/adv_reader.h"
#include "store/file_reading.h"
#include "store/load_organisation.h"
#include "store/org_store.h"
#include "store/taas.h"
#include "store/zl_reader.h"
#include "support/store_dump.h"
#include "view/fill_grid.h"
#include "view/text_grid.h"

namespace lorvi::fuzz {
namespace {

namespace fs = std::filesystem;

// A folder of this process's own under the temporary folder, removed when the process ends.
const fs::path& ScratchFolder() {
  static const fs::path folder = [] {
    const fs::path path =
        fs::temp_directory_path() / ("lorvi-fuzz-" + std::to_string(std::random_device{}()));
    fs::create_directories(path);
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(ScratchFolder(), ec);
    });
    return path;
  }();
  return folder;
}

// The input as a file the user chose. Its time is set well into the past first, so that a
// write by the reader shows even within the clock's resolution.
class InputFile {
 public:
  explicit InputFile(std::string_view bytes)
      : bytes_(bytes), path_((ScratchFolder() / "input.XML").string()) {
    {
      std::ofstream out(path_, std::ios::binary | std::ios::trunc);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    fs::last_write_time(path_, fs::file_time_type::clock::now() - std::chrono::hours(24 * 400));
    time_ = fs::last_write_time(path_);
  }

  const std::string& Path() const { return path_; }

  std::string Changed() const {
    std::error_code ec;
    if (fs::last_write_time(path_, ec) != time_ || ec) return "the input file's time changed";
    std::ifstream in(path_, std::ios::binary);
    const std::string now((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (now != bytes_) return "the input file's bytes changed";
    return {};
  }

 private:
  std::string_view bytes_;
  std::string path_;
  fs::file_time_type time_;
};

// The lines by the reading convention, byte by byte: the text ends at the first NUL; a line ends
// at CR, LF or the end; then one CR and one LF are skipped.
std::vector<std::string_view> ConventionLines(std::string_view bytes) {
  const std::string_view text = bytes.substr(0, bytes.find('\0'));
  std::vector<std::string_view> lines;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t end = i;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    lines.push_back(text.substr(i, end - i));
    i = end;
    if (i < text.size() && text[i] == '\r') ++i;
    if (i < text.size() && text[i] == '\n') ++i;
  }
  return lines;
}

// The tag value by its 1-based recipe: S = P + length + 1, C = Q - 1 - S.
bool RecipeTagValue(std::string_view line, std::string_view name, std::string& value) {
  value.clear();
  const auto p = line.find(name);
  if (p == std::string_view::npos) return false;
  const auto q = line.find("/" + std::string(name));
  if (q == std::string_view::npos) return false;
  const long long s = static_cast<long long>(p + 1 + name.size() + 1);
  const long long c = static_cast<long long>(q + 1) - 1 - s;
  if (c > 0 && s - 1 < static_cast<long long>(line.size()))
    value = std::string(line.substr(static_cast<std::size_t>(s - 1), static_cast<std::size_t>(c)));
  return true;
}

std::string RecipeReplaceAll(std::string_view source, std::string_view search,
                             std::string_view replacement) {
  if (search.empty()) return std::string(source);
  std::string result;
  std::size_t from = 0;
  for (;;) {
    const auto at = source.find(search, from);
    if (at == std::string_view::npos) return result.append(source.substr(from));
    result.append(source.substr(from, at - from)).append(replacement);
    from = at + search.size();
  }
}

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text.substr(0, 60)) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F && c != '"' && c != '\\') {
      out += c;
    } else {
      static const char* const kHex = "0123456789abcdef";
      out += "\\x";
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  }
  return out + (text.size() > 60 ? "...\"" : "\"");
}

std::string IndexError(std::size_t index) {
  return "List index out of bounds (" + std::to_string(index) + ")";
}

// A line beyond the last must fail with our error, counted from the first line not dropped.
std::string CheckBeyondEnd(const LineList& lines) {
  try {
    lines.Line(lines.Count());
  } catch (const LorviError& e) {
    if (e.what() != IndexError(lines.Count()))
      return "Line(" + std::to_string(lines.Count()) + ") failed with " + Quoted(e.what());
    return {};
  }
  return "Line(" + std::to_string(lines.Count()) + ") did not fail";
}

std::string CheckTagHelpers(std::string_view line, std::string_view name,
                            std::string_view replacement) {
  std::string value = "not cleared";
  std::string expected;
  const bool found = ExtractTagValue(line, name, value);
  const bool expectedFound = RecipeTagValue(line, name, expected);
  if (found != expectedFound || value != expected)
    return "ExtractTagValue(" + Quoted(line) + ", " + Quoted(name) + ") gave " +
           (found ? "true " : "false ") + Quoted(value) + ", expected " +
           (expectedFound ? "true " : "false ") + Quoted(expected);
  if (TagValue(line, name) != expected)
    return "TagValue(" + Quoted(line) + ", " + Quoted(name) + ") differs from ExtractTagValue";
  const std::string replaced = ReplaceAll(line, name, replacement);
  if (replaced != RecipeReplaceAll(line, name, replacement))
    return "ReplaceAll(" + Quoted(line) + ", " + Quoted(name) + ", " + Quoted(replacement) +
           ") gave " + Quoted(replaced);
  return {};
}

struct Outcome {
  std::string finding;
  void Add(std::string text) {
    if (finding.empty()) finding = std::move(text);
  }
};

// Fallback periods for files that are not classified: ordinary ones, the ends of the period
// table and keys too short to hold a quarter.
constexpr std::array<std::string_view, 8> kPeriodKeys = {"2011-3", "2010-1", "2010-2", "2011-4",
                                                         "3001-1", "",       "-",      "2011-"};

// Separator and period depend on the input's size, so that the seeds are used as they are.
char SeparatorFor(std::string_view bytes) { return bytes.size() % 2 == 0 ? ',' : '.'; }

std::string PeriodFor(std::string_view bytes, const std::string& path) {
  HeaderInfo info;
  try {
    if (ScanHeader(path, info)) return info.periodKey;
  } catch (const LorviError&) {
  }
  return std::string(kPeriodKeys[(bytes.size() / 2) % kPeriodKeys.size()]);
}

std::string CheckInfo(const TInfo& info, bool marks) {
  if (info.Dismissed.size() > info.Rows.Count())
    return "dismissal marks beyond the last row (" + std::to_string(info.Dismissed.size()) + ")";
  if (!marks && !info.Dismissed.empty()) return "dismissal marks in the inventories";
  return {};
}

// Every text that an amount line of the file carries, as the readers take it.
std::set<std::string> AmountTexts(std::string_view bytes) {
  std::set<std::string> texts;
  std::string value;
  for (const std::string_view line : ConventionLines(bytes))
    for (const std::string_view name : {"Начислено"_w, "Уплачено"_w}) {
      ExtractTagValue(line, name, value);
      texts.insert(value);
    }
  return texts;
}

// A sum as the store writes it: an optional minus, digits, the separator, two decimals.
bool IsSum(std::string_view text, char separator) {
  if (text.starts_with('-')) text.remove_prefix(1);
  const auto digits = [](std::string_view part) {
    return !part.empty() && part.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return text.size() >= 4 && text[text.size() - 3] == separator &&
         digits(text.substr(0, text.size() - 3)) && digits(text.substr(text.size() - 2));
}

// The store holds nothing of its own making but "0", its sums and, for the sources, "zu".
std::string CheckCells(const TInfo& info, const std::set<std::string>& texts, char separator,
                       const std::string& sourceName) {
  const std::pair<const TAAS*, const char*> matrices[] = {{&info.StrahN, "StrahN"},
                                                          {&info.StrahU, "StrahU"},
                                                          {&info.NakopN, "NakopN"},
                                                          {&info.NakopU, "NakopU"}};
  const int rows = static_cast<int>(info.Rows.Count());
  const int cols = static_cast<int>(info.Periods.Count());
  for (int row = 0; row < rows; ++row)
    for (int col = 0; col < cols; ++col) {
      for (const auto& [matrix, name] : matrices) {
        const std::string& cell = matrix->Get(row, col);
        if (cell != "0" && !IsSum(cell, separator) && texts.count(cell) == 0)
          return std::string(name) + " (" + std::to_string(row) + ", " + std::to_string(col) +
                 ") holds " + Quoted(cell);
      }
      const std::string& source = info.SrcFile.Get(row, col);
      if (source != "zu" && source != sourceName)
        return "SrcFile (" + std::to_string(row) + ", " + std::to_string(col) + ") holds " +
               Quoted(source);
    }
  return {};
}

std::string CheckGrid(const TInfo& info, TextGrid& grid, char separator) {
  FillGrid(info, grid, separator);
  const int periods = static_cast<int>(info.Periods.Count());
  const int cols = periods == 0 ? 1 : periods + 2;
  const int rows = static_cast<int>(info.Rows.Count()) + 1;
  if (grid.ColCount() != cols || grid.RowCount() != rows)
    return std::string("grid ") + GridName(grid.Tag()) + " has " + std::to_string(grid.ColCount()) +
           " x " + std::to_string(grid.RowCount()) + " cells, expected " + std::to_string(cols) +
           " x " + std::to_string(rows);
  return {};
}

}  // namespace

std::string FuzzLineList(std::string_view bytes) {
  Outcome outcome;
  LineList lines{std::string(bytes)};
  const std::vector<std::string_view> expected = ConventionLines(bytes);
  if (lines.Count() != expected.size())
    return std::to_string(lines.Count()) + " lines, expected " + std::to_string(expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i)
    if (lines.Line(i) != expected[i])
      return "line " + std::to_string(i) + " is " + Quoted(lines.Line(i)) + ", expected " +
             Quoted(expected[i]);
  outcome.Add(CheckBeyondEnd(lines));

  // Names the readers use, and one the input chooses (its first line) with its second line as
  // the replacement.
  std::array<std::string_view, 6> names = {
      "Год"_w, "Количество"_w, "Начислено"_w, "ТипСтрокиОсведениях"_w, "&quot;", ""};
  std::string_view replacement = "\"";
  if (!expected.empty() && expected[0].size() <= 40) names[5] = expected[0];
  if (expected.size() > 1 && expected[1].size() <= 40) replacement = expected[1];
  for (const std::string_view line : expected)
    for (const std::string_view name : names)
      if (!name.empty()) outcome.Add(CheckTagHelpers(line, name, replacement));
  if (ReplaceAll(bytes, "", "x") != bytes) outcome.Add("ReplaceAll with an empty search changed");

  if (!expected.empty()) {
    lines.DropFront(1);
    if (lines.Count() != expected.size() - 1)
      outcome.Add("dropping one line left " + std::to_string(lines.Count()));
    else if (lines.Count() > 0 && lines.Line(0) != expected[1])
      outcome.Add("after dropping one line, line 0 is " + Quoted(lines.Line(0)));
    outcome.Add(CheckBeyondEnd(lines));
  }
  lines.DropFront(static_cast<std::size_t>(-1));
  if (!lines.Empty()) outcome.Add("dropping every line left " + std::to_string(lines.Count()));
  outcome.Add(CheckBeyondEnd(lines));
  return outcome.finding;
}

std::string FuzzHeaderScan(std::string_view bytes) {
  Outcome outcome;
  const InputFile file(bytes);
  HeaderInfo first;
  HeaderInfo second;
  bool classified = false;
  try {
    classified = ScanHeader(file.Path(), first);
    if (ScanHeader(file.Path(), second) != classified || second.orgTitle != first.orgTitle ||
        second.periodKey != first.periodKey || second.kind != first.kind)
      outcome.Add("a second scan of the same file differs");
  } catch (const LorviError&) {
  }
  if (classified) {
    if (first.kind != kKindSZV && first.kind != kKindADV) outcome.Add("kind " + Quoted(first.kind));
    if (first.orgTitle.find('(') == std::string::npos || !first.orgTitle.ends_with(')'))
      outcome.Add("title " + Quoted(first.orgTitle));
    if (first.periodKey.find('-') == std::string::npos)
      outcome.Add("period " + Quoted(first.periodKey));
  } else if (!first.orgTitle.empty() || !first.periodKey.empty() || !first.kind.empty()) {
    outcome.Add("results left for a file that is not classified");
  }
  outcome.Add(file.Changed());
  return outcome.finding;
}

namespace {

// The store after `read` ran twice on one slot (a second reading adds to the first, as two files
// of one period do), each failure's text in `errors`.
template <typename Read>
OrgStore ReadTwice(const std::string& path, const std::string& period, char separator, Read read,
                   std::string& errors) {
  OrgStore store;
  store.decimalSeparator = separator;
  const int slot = NewOrgSlot(store);
  for (int pass = 0; pass < 2; ++pass) {
    try {
      read(store, slot, path, period);
    } catch (const LorviError& e) {
      errors += e.what();
    }
    errors += "|";
  }
  return store;
}

// The input as both files of an organisation, read one after another and side by side.
std::string CheckSideBySide(const std::string& path, char separator) {
  std::string dumps[2];
  for (const int threads : {1, 2}) {
    OrgStore store;
    store.decimalSeparator = separator;
    store.readerThreads = threads;
    const int slot = NewOrgSlot(store);
    store.OrgFiles[slot] = {path, path};
    std::string& dump = dumps[threads - 1];
    try {
      LoadOrganisation(store, slot);
    } catch (const LorviError& e) {
      dump = e.what();
    }
    dump += test::DumpStore(store);
  }
  return dumps[0] == dumps[1] ? "" : "side by side the organisation reads otherwise";
}

// Reads the input twice into one slot, directly and through a reading of its own merged into the
// store, then checks the table and both grids filled from it.
template <typename Read>
std::string FuzzReader(std::string_view bytes, Read read, bool records) {
  Outcome outcome;
  const InputFile file(bytes);
  const char separator = SeparatorFor(bytes);
  const std::string period = PeriodFor(bytes, file.Path());
  std::string errors, mergedErrors;
  const OrgStore store = ReadTwice(file.Path(), period, separator, read, errors);
  const OrgStore merged = ReadTwice(
      file.Path(), period, separator,
      [records](OrgStore& s, int slot, const std::string& path, const std::string& key) {
        MergeReading(s, slot,
                     records ? ReadRecordsAlone(path, key, s.decimalSeparator)
                             : ReadInventoryAlone(path, key, s.decimalSeparator));
      },
      mergedErrors);
  if (mergedErrors != errors || test::DumpStore(merged) != test::DumpStore(store))
    outcome.Add("read alone and merged, the file reads otherwise");
  outcome.Add(CheckSideBySide(file.Path(), separator));

  const int slot = 0;
  const TInfo& info = records ? store.ZLInfo[slot] : store.ADVInfo[slot];
  outcome.Add(CheckInfo(info, records));
  outcome.Add(
      CheckCells(info, AmountTexts(bytes), store.decimalSeparator, records ? "input.XML" : "zu"));
  TextGrid strah(records ? GridTag::ZLStrah : GridTag::ADVStrah);
  TextGrid nakop(records ? GridTag::ZLNakop : GridTag::ADVNakop);
  outcome.Add(CheckGrid(info, strah, store.decimalSeparator));
  outcome.Add(CheckGrid(info, nakop, store.decimalSeparator));
  outcome.Add(file.Changed());
  return outcome.finding;
}

}  // namespace

std::string FuzzZLReader(std::string_view bytes) {
  return FuzzReader(
      bytes,
      [](OrgStore& store, int slot, const std::string& path, const std::string& period) {
        ReadZLFile(store, slot, path, period);
      },
      true);
}

std::string FuzzADVReader(std::string_view bytes) {
  return FuzzReader(
      bytes,
      [](OrgStore& store, int slot, const std::string& path, const std::string& period) {
        ReadADVFile(store, slot, path, period);
      },
      false);
}

}  // namespace lorvi::fuzz
