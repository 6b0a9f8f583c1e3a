#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace lorvi {

// The files of one organisation of an archive, as the tree would place them.
struct ArchiveOrganisation {
  std::string title;               // the tree's caption (code page 1251)
  std::vector<std::string> files;  // UTF-8 paths, in the order given
};

// A file the tree would not take, with its tooltip's reason (code page 1251).
struct UntakenFile {
  std::string path;  // UTF-8
  std::string reason;
};

struct ArchiveFiles {
  std::vector<ArchiveOrganisation> organisations;  // in the tree's order of captions
  std::vector<UntakenFile> untaken;                // in the order given
};

// Sorts files (UTF-8 paths, folders already expanded) by organisation by their headers, with the
// tree's rules: an organisation is told by the first 14 characters of its title and keeps the
// title of its first file. Unlike the tree, it takes any number of organisations. Told of every
// file looked at; false from `progress` stops with Cancelled.
ArchiveFiles SortArchive(const std::vector<std::string>& paths,
                         const std::function<bool(std::size_t done, std::size_t total)>& progress);

}  // namespace lorvi
