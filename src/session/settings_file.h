#pragma once

#include <string>

namespace lorvi {

// The settings file of the program, an INI file in the per-user configuration folder named after
// the executable, holding the folder in which the open-file dialog starts.
inline constexpr const char* kSettingsSection = "fMainMDI";
inline constexpr const char* kSettingsKey = "ODInitialDir";

// `configDir` + "/" + the executable's file name with its extension replaced by ".ini" (or
// ".ini" appended when it has none).
std::string IniFileName(const std::string& configDir, const std::string& executablePath);

// The value of `key` in `section`, sections and keys matched ignoring case, blanks around the
// value and one pair of enclosing quotes removed, at most 2047 characters; `fallback` when the
// file, the section or the key is missing.
std::string ReadIniValue(const std::string& path, const std::string& section,
                         const std::string& key, const std::string& fallback);

// Sets `key` in `section` to `value`, creating the file, its folder and the section as needed and
// leaving every other line as it was. The file is replaced whole, so a failed write leaves the old
// one; a read-only file is left as it is, and a symbolic link stays one (its file is replaced).
// A write that fails, or is refused, raises "Unable to write to <path>".
void WriteIniValue(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value);

}  // namespace lorvi
