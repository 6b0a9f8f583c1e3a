#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lorvi::test {

// A folder of its own for one test, removed with everything in it afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // Writes `bytes` unchanged into the file `name` and returns its full path.
  std::string Write(const std::string& name, std::string_view bytes) const;

  // Writes a UTF-8 text as code page 1251 with CR LF line ends, as the files come.
  std::string WriteXml(const std::string& name, std::string_view utf8) const;

  std::string PathOf(const std::string& name) const;

 private:
  std::filesystem::path dir_;
};

// The 1251 text of a UTF-8 text; shorter to read in expectations.
std::string W(std::string_view utf8);

}  // namespace lorvi::test
