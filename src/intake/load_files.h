#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "intake/file_tree.h"
#include "store/org_store.h"

namespace lorvi {

// Picture numbers of the image list IL used by the tree.
enum TreePicture {
  kPictureSZV = 0,
  kPictureUnread = 1,
  kPictureOrganisation = 4,
  kPicturePeriod = 5,
  kPictureADV = 6,
  kPictureFile = 8,
  kPictureSourceMark = 10,
};

// Called after each file placed, with the number placed so far of all; the window lets its
// messages through and shows the progress.
using LoadProgress = std::function<void(std::size_t done, std::size_t total)>;

// Places every path (UTF-8) in the tree under organisation, period and kind, or under the root of
// unreadable files, registering the placed files in their organisation's slot; then sorts every
// level, moves the unreadable root last, expands everything and selects the first node (the
// returned value says whether the selection moved). A file of a third organisation is neither
// placed nor registered: its name (UTF-8) goes to `refused`. A file that exists but cannot be
// read stops the load there with "Cannot open file <path>", the earlier files staying placed.
bool AddFilesToTree(const std::vector<std::string>& paths, FileTree& tree, OrgStore& store,
                    std::vector<std::string>& refused, const LoadProgress& progress = {});

// Places one classified file; false when its organisation would need a third slot.
bool AddDocumentNode(std::string_view title, std::string_view periodKey, std::string_view kind,
                     const std::string& path, FileTree& tree, OrgStore& store);

// Places one file that is not readable under the unreadable root.
void AddUnreadNode(const std::string& path, FileTree& tree);

// Moves the unreadable root, with its files, to the end of the top level.
void MoveUnreadLast(FileTree& tree);

}  // namespace lorvi
