#pragma once

#include <string>
#include <string_view>

namespace lorvi {

// True when `line` holds `tag` (a tag text with its brackets, as "<ФИО>") anywhere.
inline bool Contains(std::string_view line, std::string_view tag) {
  return line.find(tag) != std::string_view::npos;
}

// The value of the element `name` (bare, as "Год") on one line: true when both the name and
// "/" + name occur; the value is then the text from the second character after the name to the
// character before that "/". The name may be found inside a longer name, and exactly one
// character after it is skipped, whatever it is.
bool ExtractTagValue(std::string_view line, std::string_view name, std::string& value);

// The value that ExtractTagValue gives, empty when it finds none.
std::string TagValue(std::string_view line, std::string_view name);

// `source` with every occurrence of `search` replaced, left to right, without overlap; the
// replacement is never searched again. An empty `search` changes nothing.
std::string ReplaceAll(std::string_view source, std::string_view search,
                       std::string_view replacement);

}  // namespace lorvi
