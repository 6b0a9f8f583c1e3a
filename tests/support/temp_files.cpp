#include "support/temp_files.h"

#include <unistd.h>
#include <atomic>
#include <fstream>

#include "base/text1251.h"
#include "intake/tag_value.h"

namespace lorvi::test {

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  dir_ = std::filesystem::temp_directory_path() /
         ("lorvi-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(dir_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

std::string TempDir::PathOf(const std::string& name) const { return (dir_ / name).string(); }

std::string TempDir::Write(const std::string& name, std::string_view bytes) const {
  const std::string path = PathOf(name);
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::string TempDir::WriteXml(const std::string& name, std::string_view utf8) const {
  return Write(name, ReplaceAll(Utf8ToCp1251(utf8), "\n", "\r\n"));
}

std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

}  // namespace lorvi::test
