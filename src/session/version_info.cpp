#include "session/version_info.h"

#include <cstdio>

#include "base/lorvi_error.h"
#include "session/version_items.h"

namespace lorvi {
namespace {

constexpr const char* kItemNames[] = {
    "CompanyName",     "FileDescription",  "FileVersion", "InternalName",   "LegalCopyright",
    "LegalTrademarks", "OriginalFilename", "ProductName", "ProductVersion", "Comments",
};

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> VersionBlock::Query(std::string_view path) const {
  for (const auto& [key, value] : strings)
    if (EqualIgnoringCase(key, path)) return value;
  return std::nullopt;
}

VersionBlock ProgramVersionBlock() {
  VersionBlock block;
  block.translation = 0x04E30419u;
  const char* values[] = {kVersionCompanyName,      kVersionFileDescription,
                          kVersionFileVersion,      kVersionInternalName,
                          kVersionLegalCopyright,   kVersionLegalTrademarks,
                          kVersionOriginalFilename, kVersionProductName,
                          kVersionProductVersion,   kVersionComments};
  for (int i = 0; i < 10; ++i)
    block.strings.emplace_back(std::string("StringFileInfo\\041904E3\\") + kItemNames[i],
                               values[i]);
  return block;
}

TFreeAppInfo::TFreeAppInfo(const VersionBlock* block) { ReadVersionInfo(block); }

void TFreeAppInfo::ReadVersionInfo(const VersionBlock* block) {
  std::vector<std::string> items;
  if (block == nullptr) {
    items.assign(10, kNotAvailable);
  } else {
    char language[16] = "";
    char codePage[16] = "";
    if (block->translation) {
      std::snprintf(language, sizeof language, "%.4x", *block->translation & 0xFFFFu);
      std::snprintf(codePage, sizeof codePage, "%.4x", *block->translation >> 16);
    }
    const std::string prefix = std::string("StringFileInfo\\") + language + codePage + "\\";
    for (const char* name : kItemNames) items.push_back(block->Query(prefix + name).value_or(""));
  }
  Items = std::move(items);
}

const std::string& TFreeAppInfo::GetItem(int index) const {
  if (index < 0 || index >= static_cast<int>(Items.size())) ThrowListIndex(index);
  return Items[static_cast<std::size_t>(index)];
}

}  // namespace lorvi
