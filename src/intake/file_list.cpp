#include "intake/file_list.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/native_path.h"

namespace lorvi {
namespace {

namespace fs = std::filesystem;

bool IsXmlName(const std::string& name) {
  if (name.size() < 4) return false;
  std::string suffix = name.substr(name.size() - 4);
  std::transform(suffix.begin(), suffix.end(), suffix.begin(), [](unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  });
  return suffix == ".xml";
}

}  // namespace

std::vector<std::string> ExpandFolders(const std::vector<std::string>& paths) {
  std::vector<std::string> files;
  for (const std::string& path : paths) {
    std::error_code error;
    if (!fs::is_directory(NativePath(path), error)) {
      files.push_back(path);
      continue;
    }
    std::vector<std::string> below;
    // Unreadable folders below are passed over, not the whole folder.
    const auto options = fs::directory_options::skip_permission_denied;
    for (fs::recursive_directory_iterator it(NativePath(path), options, error), end;
         !error && it != end; it.increment(error)) {
      std::error_code kind;
      if (it->is_regular_file(kind) && IsXmlName(Utf8Path(it->path().filename())))
        below.push_back(Utf8Path(it->path()));
    }
    std::sort(below.begin(), below.end());
    files.insert(files.end(), below.begin(), below.end());
  }
  return files;
}

}  // namespace lorvi
