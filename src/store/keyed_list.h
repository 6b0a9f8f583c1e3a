#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
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
  long IndexOfName(std::string_view key) const { return IndexOfName(key, FoldedHash(key)); }
  // The same with FoldedHash(key) worked out beforehand, on another thread perhaps.
  long IndexOfName(std::string_view key, std::size_t foldedHash) const;

  // The hash of a key with its letters folded: keys equal ignoring case hash alike.
  static std::size_t FoldedHash(std::string_view key);

  // Appends key + "=" + value and returns its position.
  std::size_t Append(std::string_view key, std::string_view value);

  // Sorts the entries ascending, comparing whole entries ignoring case; equal entries keep
  // their order.
  void Sort();

  void Clear();

 private:
  // A slot of the open-addressed index: the folded hash of an entry's name and its position + 1
  // (0: free).
  struct Slot {
    std::size_t hash = 0;
    std::uint32_t position = 0;
  };
  void IndexEntry(std::size_t position);
  void Rehash(std::size_t slots);

  std::vector<std::string> entries_;
  std::vector<Slot> index_;  // a power of two in size, at most half full
};

// The text after the first "=" of an entry (empty when there is none).
std::string_view ValueOf(std::string_view entry);

}  // namespace lorvi
