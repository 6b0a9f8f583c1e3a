#pragma once

#include <string>

namespace lorvi {

// Why a file was not taken, as the tree's tooltip says it (code page 1251).

// Nothing readable at `path` (UTF-8): no file, a folder, a pipe or a device.
std::string NotAFileReason(const std::string& path);

// A file that could not be opened or read, by the system's error number.
std::string CannotOpenReason(int systemError);

// True when a file could not be opened because it is gone, replaced by something that is not a
// file, or closed to us; false for a passing shortage of the system (too many open files, memory,
// an input/output error), which is worth a message of its own and another try.
bool NoLongerThere(int systemError);

}  // namespace lorvi
