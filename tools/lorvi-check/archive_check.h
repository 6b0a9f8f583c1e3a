#pragma once

#include <string>

#include "command_line.h"

namespace lorvi::check {

// Runs --archive: a summary of each organisation on `out` (UTF-8) as it is read, the overview
// (and the workbooks) written. Returns the exit status: 1 when a file could not be written (the
// message goes to `err`).
int RunArchive(const ArchiveArguments& arguments, char separator, std::string& out,
               std::string& err);

}  // namespace lorvi::check
