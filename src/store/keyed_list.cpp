#include "store/keyed_list.h"

#include <algorithm>

#include "base/text1251.h"

namespace lorvi {
namespace {

std::string_view NameOf(std::string_view entry) { return entry.substr(0, entry.find('=')); }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && FoldCase1251(a[i]) != FoldCase1251(b[i])) return false;
  return true;
}

}  // namespace

std::size_t KeyedList::FoldedHash(std::string_view key) {
  // FNV-1a over the folded bytes: no buffer for the folded text.
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : key) {
    hash ^= static_cast<unsigned char>(FoldCase1251(c));
    hash *= 1099511628211ull;
  }
  return static_cast<std::size_t>(hash ^ (hash >> 29));
}

long KeyedList::IndexOfName(std::string_view key, std::size_t foldedHash) const {
  // An entry's name never holds "=", so a key with one matches nothing.
  if (index_.empty() || key.find('=') != std::string_view::npos) return -1;
  const std::size_t mask = index_.size() - 1;
  for (std::size_t i = foldedHash & mask; index_[i].position != 0; i = (i + 1) & mask) {
    const Slot& slot = index_[i];
    if (slot.hash == foldedHash && EqualIgnoringCase(NameOf(entries_[slot.position - 1]), key))
      return static_cast<long>(slot.position - 1);
  }
  return -1;
}

std::size_t KeyedList::Append(std::string_view key, std::string_view value) {
  std::string entry;
  entry.reserve(key.size() + 1 + value.size());
  entry.append(key).append("=").append(value);
  entries_.push_back(std::move(entry));
  if (entries_.size() * 2 > index_.size())
    Rehash(std::max<std::size_t>(16, index_.size() * 2));
  else
    IndexEntry(entries_.size() - 1);
  return entries_.size() - 1;
}

void KeyedList::IndexEntry(std::size_t position) {
  const std::string_view name = NameOf(entries_[position]);
  const std::size_t hash = FoldedHash(name);
  // Only the first entry of a name is found.
  if (IndexOfName(name, hash) >= 0) return;
  const std::size_t mask = index_.size() - 1;
  std::size_t i = hash & mask;
  while (index_[i].position != 0) i = (i + 1) & mask;
  index_[i] = {hash, static_cast<std::uint32_t>(position + 1)};
}

void KeyedList::Rehash(std::size_t slots) {
  index_.assign(slots, Slot{});
  for (std::size_t i = 0; i < entries_.size(); ++i) IndexEntry(i);
}

void KeyedList::Sort() {
  std::vector<std::string> folded;
  std::vector<std::size_t> order(entries_.size());
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    order[i] = i;
    folded.push_back(FoldCase1251(entries_[i]));
  }
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return folded[a] < folded[b]; });
  std::vector<std::string> sorted;
  sorted.reserve(entries_.size());
  for (const std::size_t i : order) sorted.push_back(std::move(entries_[i]));
  entries_ = std::move(sorted);
  Rehash(index_.size());
}

void KeyedList::Clear() {
  entries_.clear();
  std::fill(index_.begin(), index_.end(), Slot{});
}

std::string_view ValueOf(std::string_view entry) {
  const auto eq = entry.find('=');
  return eq == std::string_view::npos ? std::string_view() : entry.substr(eq + 1);
}

}  // namespace lorvi
