#pragma once

#include <functional>
#include <string>
#include <vector>

#include "store/org_store.h"
#include "store/zl_reader.h"

namespace lorvi {

// Called before each file of a reading with its number, the count and its path, and now and
// then while the files are read (after each record when they are read one after another); the
// window shows the progress and lets its messages through.
struct ReadingProgress {
  std::function<void(std::size_t index, std::size_t count, const std::string& path)> file;
  AfterRecord record;
};

// Reads every file registered for `slot` when the reading starts, in the order of registration,
// each by the kind its header gives now. Files that are gone, no longer classify or can no longer
// be opened are passed over and returned (their paths, in order). The caller has reset the slot.
// Errors stop it and leave what was read; a LorviError then carries the name of its file.
//
// With store.readerThreads other than 1 the files are read side by side on worker threads and
// reach the store on the calling thread in the order of registration, so the store, and the
// error that stops a reading, are the same as when they are read one after another. When the
// system refuses the threads, they are read one after another.
std::vector<std::string> LoadOrganisation(OrgStore& store, int slot,
                                          const ReadingProgress& progress = {});

}  // namespace lorvi
