#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "base/text1251.h"
#include "intake/line_list.h"
#include "intake/tag_value.h"
#include "store/file_reading.h"
#include "store/org_store.h"

namespace lorvi {

inline constexpr std::string_view kInsuranceBlock = "<СуммаВзносовНаСтраховую>"_w;
inline constexpr std::string_view kFundedBlock = "<СуммаВзносовНаНакопительную>"_w;

// Where the readers put what they find: straight into a slot of the store, or into the steps of
// a file read alone. Both readers scan through one code, so that the two ways cannot differ.
class StoreSink {
 public:
  // `named` false: an inventory, which names no source.
  StoreSink(TInfo& info, int column, std::string_view periodEntry, bool named,
            std::string_view sourceName, char separator)
      : info_(info),
        column_(column),
        periodEntry_(periodEntry),
        named_(named),
        sourceName_(sourceName),
        separator_(separator) {}

  void Row(std::string_view key) { Row(key, KeyedList::FoldedHash(key)); }
  void Row(std::string_view key, std::size_t foldedHash) {
    row_ = KeyRow(info_, key, foldedHash);
    if (named_) PutAmount(info_.SrcFile, row_, column_, sourceName_, false, separator_);
  }
  void Amount(FileReading::Matrix matrix, std::string_view text) {
    PutAmount(MatrixOf(info_, matrix), row_, column_, text, true, separator_);
  }
  // An amount converted beforehand (see AddAmount).
  void Amount(FileReading::Matrix matrix, std::string_view text, std::optional<Amount4> value) {
    AddAmount(MatrixOf(info_, matrix), row_, column_, text, value, separator_);
  }
  void Dismissed();

  static TAAS& MatrixOf(TInfo& info, FileReading::Matrix matrix) {
    switch (matrix) {
      case FileReading::kStrahN:
        return info.StrahN;
      case FileReading::kStrahU:
        return info.StrahU;
      case FileReading::kNakopN:
        return info.NakopN;
      default:
        return info.NakopU;
    }
  }

 private:
  TInfo& info_;
  int column_;
  std::string_view periodEntry_;
  bool named_;
  std::string_view sourceName_;
  char separator_;
  int row_ = 0;
};

class StepSink {
 public:
  StepSink(FileReading& reading, char separator) : reading_(reading), separator_(separator) {}
  void Row(std::string_view key) { reading_.AddRow(key); }
  void Amount(FileReading::Matrix matrix, std::string_view text) {
    reading_.AddAmount(matrix, text, separator_);
  }
  void Dismissed() { reading_.AddDismissed(); }

 private:
  FileReading& reading_;
  char separator_;
};

// The value ExtractTagValue gives for a `name` of letters only, without copying it on the usual
// line: blanks, then "<name>value</name>" where the value holds no "/". On such a line the name's
// first occurrence is the opening tag's and its first one after a "/" the closing tag's, so the
// value is the same; it is then a view into `line`. On any other line ExtractTagValue fills
// `scratch` and the view is of it, valid until `scratch` changes.
inline std::string_view TagValueView(std::string_view line, std::string_view name,
                                     std::string& scratch) {
  const char* const data = line.data();
  const std::size_t size = line.size();
  std::size_t i = 0;
  // The fund's lines are indented by blanks: eight at a time while there are so many.
  for (std::uint64_t word; i + 8 <= size; i += 8) {
    std::memcpy(&word, data + i, 8);
    if (word != 0x2020202020202020u) break;
  }
  while (i < size && (data[i] == ' ' || data[i] == '\t')) ++i;
  const std::size_t open = i + 1 + name.size();
  if (open < size && data[i] == '<' && data[open] == '>' &&
      std::memcmp(data + i + 1, name.data(), name.size()) == 0) {
    std::size_t j = open + 1;
    while (j < size && data[j] != '<' && data[j] != '/') ++j;
    if (j + 2 + name.size() <= size && data[j] == '<' && data[j + 1] == '/' &&
        std::memcmp(data + j + 2, name.data(), name.size()) == 0)
      return line.substr(open + 1, j - open - 1);
  }
  ExtractTagValue(line, name, scratch);
  return scratch;
}

// The amount block whose tag stands on line `i`: the value of "Начислено" on line i+1 goes to
// `accrued`, then that of "Уплачено" on line i+2 to the paid matrix beside it.
template <typename Sink>
void ReadAmountBlock(const LineList& lines, std::size_t i, FileReading::Matrix accrued, Sink& sink,
                     std::string& scratch) {
  sink.Amount(accrued, TagValueView(lines.Line(i + 1), "Начислено"_w, scratch));
  sink.Amount(static_cast<FileReading::Matrix>(accrued + 1),
              TagValueView(lines.Line(i + 2), "Уплачено"_w, scratch));
}

}  // namespace lorvi
