#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "intake/line_list.h"
#include "store/file_reading.h"
#include "store/org_store.h"

namespace lorvi {

// Called after each individual record read, so that the window can let its messages through.
using AfterRecord = std::function<void()>;

// Reads the individual-records file at `path` into store.ZLInfo[slot], in the column of
// `periodKey` (from the file's header scan), then sorts the slot's periods. Errors stop it and
// leave what was stored before them.
void ReadZLFile(OrgStore& store, int slot, const std::string& path, std::string_view periodKey,
                const AfterRecord& afterRecord = {});

// Reads the next record of `lines` into `column` of store.ZLInfo[slot]. `periodEntry` is the
// period's entry (key "=" column), `sourceName` the file name written as the figures' source.
// Consumes `lines` up to, not including, the record's closing line.
void ReadZLRecord(OrgStore& store, int slot, int column, std::string_view periodEntry,
                  std::string_view sourceName, LineList& lines);

// The marks with which a line list of individual records is best split (see LineList): the
// record scan then finds its tags without searching the lines again.
std::span<const std::string_view> ZLLineMarks();

// The records of a whole file's `lines` as steps of `reading` (whose periodKey is set), the
// same that ReadZLFile would store. Errors stop it, with the steps before them kept.
void ReadZLSteps(LineList& lines, FileReading& reading, char separator);

// Marks `row` of `info` as dismissed in the period of `periodEntry`.
void MarkDismissed(TInfo& info, int row, std::string_view periodEntry);

// True when `dateText` is a date strictly before the end of the reporting period that
// `periodEntry` names; false when the period has no end. A date that is not a date fails with
// "'<text>' is not a valid date" (only for a period with an end).
bool EndsBeforePeriodEnd(std::string_view dateText, std::string_view periodEntry);

}  // namespace lorvi
