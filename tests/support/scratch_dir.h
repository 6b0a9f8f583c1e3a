#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lorvi {

// A fresh folder under the system's temporary folder, removed with its contents afterwards.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string PathOf(const std::string& name) const;

  // Writes `bytes` unchanged into the file `name`, its folders made as needed, and returns its
  // full path.
  std::string Write(const std::string& name, std::string_view bytes) const;

  // Writes a UTF-8 text as code page 1251 with CR LF line ends, as the files come.
  std::string WriteXml(const std::string& name, std::string_view utf8) const;

 private:
  std::filesystem::path path_;
};

namespace test {

// The 1251 text of a UTF-8 text; shorter to read in expectations.
std::string W(std::string_view utf8);

// The bytes of the file at `path`; empty when it cannot be read.
std::string ReadAll(const std::filesystem::path& path);

}  // namespace test
}  // namespace lorvi
