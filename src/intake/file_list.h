#pragma once

#include <string>
#include <vector>

namespace lorvi {

// The files a load takes from what the user gave (UTF-8 paths): a file stands for itself, a
// folder, in its place, for every regular file below it whose name ends in ".xml" (letter case
// ignored), recursively, in the order of their paths compared byte by byte. Links to folders
// below a folder are not followed. A path that is neither stays as it is, so that the load says
// what it is.
std::vector<std::string> ExpandFolders(const std::vector<std::string>& paths);

}  // namespace lorvi
