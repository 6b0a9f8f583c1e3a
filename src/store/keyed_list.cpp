#include "store/keyed_list.h"

#include <algorithm>

#include "intake/text1251.h"

namespace lorvi {

long KeyedList::IndexOfName(std::string_view key) const {
  // An entry's name never holds "=", so a key with one matches nothing.
  if (key.find('=') != std::string_view::npos) return -1;
  // Folded into a buffer kept between calls: a lookup per record should not allocate.
  scratch_.resize(key.size());
  for (std::size_t i = 0; i < key.size(); ++i) scratch_[i] = FoldCase1251(key[i]);
  const auto it = index_.find(scratch_);
  return it == index_.end() ? -1 : static_cast<long>(it->second);
}

std::size_t KeyedList::Append(std::string_view key, std::string_view value) {
  std::string entry;
  entry.reserve(key.size() + 1 + value.size());
  entry.append(key).append("=").append(value);
  entries_.push_back(std::move(entry));
  IndexEntry(entries_.size() - 1);
  return entries_.size() - 1;
}

void KeyedList::IndexEntry(std::size_t position) {
  const std::string& entry = entries_[position];
  const std::string_view name = std::string_view(entry).substr(0, entry.find('='));
  index_.try_emplace(FoldCase1251(name), position);
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
  index_.clear();
  for (std::size_t i = 0; i < entries_.size(); ++i) IndexEntry(i);
}

void KeyedList::Clear() {
  entries_.clear();
  index_.clear();
}

std::string_view ValueOf(std::string_view entry) {
  const auto eq = entry.find('=');
  return eq == std::string_view::npos ? std::string_view() : entry.substr(eq + 1);
}

}  // namespace lorvi
