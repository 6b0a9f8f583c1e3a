#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lorvi {

// A version information block: the first translation entry (language in the low 16 bits, code
// page in the high) and string values keyed by their path, as
// "StringFileInfo\041904E3\FileVersion". Keys match without regard to letter case.
struct VersionBlock {
  std::optional<std::uint32_t> translation;
  std::vector<std::pair<std::string, std::string>> strings;

  std::optional<std::string> Query(std::string_view path) const;
};

// The block built into the program: Russian in code page 1251, with the ten items of the build.
VersionBlock ProgramVersionBlock();

// The ten version items of a block, read once when made. Texts are UTF-8.
class TFreeAppInfo {
 public:
  static constexpr const char* kNotAvailable = "Value Not Available";

  // `block` null: the program has no block, and every item is kNotAvailable.
  explicit TFreeAppInfo(const VersionBlock* block);

  // Item 0..9 (2 is the file version); another index fails with "List index out of bounds".
  const std::string& GetItem(int index) const;

 private:
  void ReadVersionInfo(const VersionBlock* block);

  std::vector<std::string> Items;
};

}  // namespace lorvi
