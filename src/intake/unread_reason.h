#pragma once

#include <string>

namespace lorvi {

// Why a file was not taken, as the tree's tooltip says it (code page 1251).

// Nothing readable at `path` (UTF-8): no file, a folder, a pipe or a device.
std::string NotAFileReason(const std::string& path);

// A file that could not be opened or read, by the system's error number.
std::string CannotOpenReason(int systemError);

}  // namespace lorvi
