#include "support/scratch_dir.h"

#include <fstream>
#include <iterator>
#include <random>

#include "base/text1251.h"
#include "support/fund_file.h"

namespace lorvi {

ScratchDir::ScratchDir() {
  // Random names: test executables and benchmarks run side by side.
  std::random_device entropy;
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    path_ = base / ("lorvi-" + std::to_string(entropy()));
    if (std::filesystem::create_directory(path_)) return;
  }
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ScratchDir::PathOf(const std::string& name) const { return (path_ / name).string(); }

std::string ScratchDir::Write(const std::string& name, std::string_view bytes) const {
  const std::string path = PathOf(name);
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  fund::WriteBytes(path, bytes);
  return path;
}

std::string ScratchDir::WriteXml(const std::string& name, std::string_view utf8) const {
  return Write(name, fund::Bytes(utf8));
}

namespace test {

std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8); }

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace test
}  // namespace lorvi
