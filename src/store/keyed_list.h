#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lorvi {

// A list of entries "key=value" whose keys are compared without regard to letter case (code page
// 1251). The list keeps its order and its texts; a hash index beside it finds the first entry of
// a key without walking the list.
class KeyedList {
 public:
  std::size_t Count() const { return entries_.size(); }
  const std::string& operator[](std::size_t i) const { return entries_[i]; }
  const std::vector<std::string>& Entries() const { return entries_; }

  // Position of the first entry whose text before the first "=" equals `key` ignoring case, or -1.
  long IndexOfName(std::string_view key) const;

  // Appends key + "=" + value and returns its position.
  std::size_t Append(std::string_view key, std::string_view value);

  // Sorts the entries ascending, comparing whole entries ignoring case; equal entries keep
  // their order.
  void Sort();

  void Clear();

 private:
  void IndexEntry(std::size_t position);

  std::vector<std::string> entries_;
  std::unordered_map<std::string, std::size_t> index_;  // folded key -> first position
  mutable std::string scratch_;
};

// The text after the first "=" of an entry (empty when there is none).
std::string_view ValueOf(std::string_view entry);

}  // namespace lorvi
