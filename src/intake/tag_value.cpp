#include "intake/tag_value.h"

namespace lorvi {

bool ExtractTagValue(std::string_view line, std::string_view name, std::string& value) {
  value.clear();
  if (name.empty()) return false;
  const std::size_t p = line.find(name);
  if (p == std::string_view::npos) return false;
  // "/" + name, searched from the start of the line, not from the name.
  std::size_t q = line.find(name, 1);
  while (q != std::string_view::npos && line[q - 1] != '/') q = line.find(name, q + 1);
  if (q == std::string_view::npos) return false;
  // In 0-based terms: the value starts one character after the name and ends before the "<"
  // that precedes the "/".
  const long long start = static_cast<long long>(p) + static_cast<long long>(name.size()) + 1;
  const long long count = static_cast<long long>(q) - 2 - start;
  if (count > 0 && start < static_cast<long long>(line.size()))
    value.assign(line.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(count)));
  return true;
}

std::string TagValue(std::string_view line, std::string_view name) {
  std::string value;
  ExtractTagValue(line, name, value);
  return value;
}

std::string ReplaceAll(std::string_view source, std::string_view search,
                       std::string_view replacement) {
  if (search.empty()) return std::string(source);
  std::string result;
  result.reserve(source.size());
  std::size_t from = 0;
  for (;;) {
    const std::size_t hit = source.find(search, from);
    if (hit == std::string_view::npos) break;
    result.append(source, from, hit - from);
    result.append(replacement);
    from = hit + search.size();
  }
  result.append(source, from);
  return result;
}

}  // namespace lorvi
