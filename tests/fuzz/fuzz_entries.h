#pragma once

#include <string>
#include <string_view>

// One input through one entry point of the reading engine. Each returns an empty text when the
// engine behaved, or what it did wrong. A LorviError is behaviour, not a fault: the files are
// the user's and may hold anything. Crashes and other exceptions leave these functions as they
// are, so that the fuzzer and the regression test both see them.
namespace lorvi::fuzz {

// The line list built from the bytes, and the tag helpers on each of its lines.
std::string FuzzLineList(std::string_view bytes);

// The bytes as a file, classified by its header.
std::string FuzzHeaderScan(std::string_view bytes);

// The bytes as a file of individual records, read twice into one slot and shown in the grids.
std::string FuzzZLReader(std::string_view bytes);

// The bytes as an inventory, read twice into one slot and shown in the grids.
std::string FuzzADVReader(std::string_view bytes);

}  // namespace lorvi::fuzz
