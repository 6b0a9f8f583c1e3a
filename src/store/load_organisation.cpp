#include "store/load_organisation.h"

#include "intake/header_scan.h"
#include "store/adv_reader.h"

namespace lorvi {

void LoadOrganisation(OrgStore& store, int slot, const ReadingProgress& progress) {
  // Files registered while the reading runs wait for the next one.
  const std::vector<std::string> files = store.OrgFiles[slot];
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string& path = files[i];
    if (progress.file) progress.file(i, files.size(), path);
    HeaderInfo header;
    if (!ScanHeader(path, header)) continue;
    if (header.kind == kKindSZV)
      ReadZLFile(store, slot, path, header.periodKey, progress.record);
    else if (header.kind == kKindADV)
      ReadADVFile(store, slot, path, header.periodKey);
  }
}

}  // namespace lorvi
