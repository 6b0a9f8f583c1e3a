#include "archive/archive_files.h"

#include <algorithm>

#include "base/lorvi_error.h"
#include "intake/collation.h"
#include "intake/header_scan.h"
#include "intake/load_files.h"

namespace lorvi {

ArchiveFiles SortArchive(const std::vector<std::string>& paths,
                         const std::function<bool(std::size_t done, std::size_t total)>& progress) {
  ArchiveFiles archive;
  std::size_t done = 0;
  for (const std::string& path : paths) {
    StepOf(progress, done++, paths.size());
    HeaderInfo header;
    if (!ClassifyFile(path, header)) {
      archive.untaken.push_back({path, header.reason});
      continue;
    }
    auto found = std::find_if(archive.organisations.begin(), archive.organisations.end(),
                              [&](const ArchiveOrganisation& org) {
                                return IsOrganisationOf(org.title, header.orgTitle);
                              });
    if (found == archive.organisations.end()) {
      archive.organisations.push_back({header.orgTitle, {}});
      found = archive.organisations.end() - 1;
    }
    found->files.push_back(path);
  }
  std::stable_sort(archive.organisations.begin(), archive.organisations.end(),
                   [](const ArchiveOrganisation& a, const ArchiveOrganisation& b) {
                     return CompareWordSort(a.title, b.title) < 0;
                   });
  return archive;
}

}  // namespace lorvi
