#pragma once

#include <string>
#include <string_view>

#include "intake/line_list.h"
#include "store/file_reading.h"
#include "store/org_store.h"

namespace lorvi {

// Reads the inventory file at `path` into store.ADVInfo[slot], in the column of `periodKey`
// (from the file's header scan), then sorts the slot's periods. Errors stop it and leave what
// was stored before them.
void ReadADVFile(OrgStore& store, int slot, const std::string& path, std::string_view periodKey);

// Reads every category row and the insurer's row of `lines` into `column` of
// store.ADVInfo[slot]. Leaves `lines` as they are.
void ReadADVInventory(OrgStore& store, int slot, int column, const LineList& lines);

// The same rows as steps of `reading`. Errors stop it, with the steps before them kept.
void ReadADVSteps(const LineList& lines, FileReading& reading, char separator);

}  // namespace lorvi
