#pragma once

#include <string>
#include <string_view>

#include "base/text1251.h"

namespace lorvi {

// The kinds of a classified file, also the captions of the kind nodes of the tree.
inline constexpr std::string_view kKindSZV = "СЗВ:"_w;
inline constexpr std::string_view kKindADV = "АДВ:"_w;

// What a header scan tells of a file, all in code page 1251.
struct HeaderInfo {
  std::string orgTitle;   // registration number + "(" + short name + ")"
  std::string periodKey;  // year + "-" + quarter
  std::string kind;       // kKindSZV or kKindADV
};

// Classifies the file at `path` by its header elements. False, with `info` empty, when no file is
// there or it is not readable as individual records or an inventory. A file that exists but
// cannot be opened fails with "Cannot open file <path>".
bool ScanHeader(const std::string& path, HeaderInfo& info);

class LineList;
// The same classification of a file already read into `lines`.
bool ScanHeaderLines(const LineList& lines, HeaderInfo& info);

}  // namespace lorvi
