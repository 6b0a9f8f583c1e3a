#pragma once

#include <string>

#include "store/org_store.h"

namespace lorvi::test {

// Everything the store holds, slot by slot: the lists entry by entry and every cell of every
// matrix within the rows and periods known. Two stores are the same when their dumps are.
std::string DumpStore(const OrgStore& store);

}  // namespace lorvi::test
