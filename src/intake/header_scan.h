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
  std::string reason;     // when not classified: why, for the tree's tooltip
};

// The head of a file that the scan reads first; a head without a single "<" ends the scan.
inline constexpr std::size_t kHeaderHead = 16384;

// Classifies the file at `path` by its header elements. False, with `info` empty but for its
// reason, when no file is there or it is not readable as individual records or an inventory
// (among them a file whose first kHeaderHead bytes hold no "<"). A file that exists but cannot be
// opened fails with CannotOpenError "Cannot open file <path>".
bool ScanHeader(const std::string& path, HeaderInfo& info);

// False when the file's first kHeaderHead bytes hold no "<": such a file is not readable, however
// large, and the scan reads no further.
bool HeadHoldsATag(std::string_view bytes);

class LineList;
// The same classification of a file already read into `lines` (HeadHoldsATag checked).
bool ScanHeaderLines(const LineList& lines, HeaderInfo& info);

}  // namespace lorvi
