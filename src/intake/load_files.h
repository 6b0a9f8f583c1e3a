#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/picture_numbers.h"
#include "intake/file_tree.h"

namespace lorvi {

// Called after each file placed, with the number placed so far of all; the window lets its
// messages through and shows the progress.
using LoadProgress = std::function<void(std::size_t done, std::size_t total)>;

// What a load placed, told as each file is placed, so that a load stopped by a failure has told
// every file before it. The loader registers them with the store.
struct LoadPlacements {
  // A new organisation took the next slot.
  std::function<void(int slot)> organisation;
  // A file (full path, UTF-8) went under the organisation of `slot`.
  std::function<void(int slot, const std::string& path)> file;
};

// Places every path (UTF-8) in the tree under organisation, period and kind, or under the root of
// unreadable files, telling `placed` of each organisation and file placed; then sorts every
// level, moves the unreadable root last, expands everything and selects the first node (the
// returned value says whether the selection moved). A file of a third organisation is neither
// placed nor told: its name (UTF-8) goes to `refused`. A file that cannot be opened is an
// unreadable file like any other, and the load goes on.
bool AddFilesToTree(const std::vector<std::string>& paths, FileTree& tree,
                    const LoadPlacements& placed, std::vector<std::string>& refused,
                    const LoadProgress& progress = {});

struct HeaderInfo;

// Scans the file's header (ScanHeader); a file that cannot be opened is not classified either,
// and its reason says why.
bool ClassifyFile(const std::string& path, HeaderInfo& header);

// True when the caption of an organisation's node `caption` belongs to the organisation of a file
// titled `title`.
bool IsOrganisationOf(std::string_view caption, std::string_view title);

// Places one classified file; false when its organisation would need a third slot.
bool AddDocumentNode(std::string_view title, std::string_view periodKey, std::string_view kind,
                     const std::string& path, FileTree& tree, const LoadPlacements& placed);

// Places one file that is not readable under the unreadable root; `reason` (code page 1251) says
// why, for its tooltip.
void AddUnreadNode(const std::string& path, FileTree& tree, const std::string& reason = {});

// Moves the unreadable root, with its files, to the end of the top level.
void MoveUnreadLast(FileTree& tree);

}  // namespace lorvi
