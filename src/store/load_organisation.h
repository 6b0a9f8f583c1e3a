#pragma once

#include <functional>
#include <string>

#include "store/org_store.h"
#include "store/zl_reader.h"

namespace lorvi {

// Called before each file of a reading with its number, the count and its path, and after each
// record read; the window shows the progress and lets its messages through.
struct ReadingProgress {
  std::function<void(std::size_t index, std::size_t count, const std::string& path)> file;
  AfterRecord record;
};

// Reads every file registered for `slot` when the reading starts, in the order of registration,
// each by the kind its header gives now; files that no longer classify are passed over. The
// caller has reset the slot. Errors stop it and leave what was read.
void LoadOrganisation(OrgStore& store, int slot, const ReadingProgress& progress = {});

}  // namespace lorvi
