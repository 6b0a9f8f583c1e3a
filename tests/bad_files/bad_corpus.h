#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Files that users have, or might have, fed to the analyser: cut short, miscounted, badly
// encoded, oddly valued, many persons or periods, too many organisations. Each file is written
// exactly as a fund file comes (code page 1251, CR LF, one element per line) except for the one
// thing that is wrong with it. What the analyser must show for each lives beside the files,
// in tests/data/bad/cases.txt.
namespace lorvi::bad {

// The files kept with the sources (a few kilobytes each), written into `dir`; returns their
// names in writing order.
std::vector<std::string> WriteSmallCorpus(const std::filesystem::path& dir);

// The files too large to keep with the sources, written at test time. `name` is one of
// kLargeFiles; false for any other name.
bool WriteLargeFile(const std::string& name, const std::filesystem::path& file);

// A valid individual-records file turned into one line of 50 MiB without a line end.
inline constexpr const char* kLongLine = "long-line.XML";
// One file of 5000 persons.
inline constexpr const char* kPersons5000 = "persons-5000.XML";
// 2 GiB of NUL bytes (sparse on disk), as a disk image named like a fund file.
inline constexpr const char* kHugeNul = "huge-nul.XML";
inline constexpr const char* kLargeFiles[] = {kLongLine, kPersons5000, kHugeNul};

}  // namespace lorvi::bad
