#include "session/settings_file.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "base/lorvi_error.h"
#include "base/text1251.h"
#include "output/whole_file.h"

namespace lorvi {
namespace {

constexpr std::size_t kMaxValue = 2047;

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The section name of a header line "[name]", or nothing.
bool SectionOf(const std::string& line, std::string& name) {
  const std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return false;
  const auto close = t.find(']');
  if (close == std::string::npos) return false;
  name = Trim(t.substr(1, close - 1));
  return true;
}

bool KeyOf(const std::string& line, std::string& key, std::string& value) {
  const auto eq = line.find('=');
  if (eq == std::string::npos) return false;
  key = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return true;
}

std::vector<std::string> ReadLines(const std::string& path, bool& crlf) {
  std::vector<std::string> lines;
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  std::string line;
  crlf = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
      crlf = true;
    }
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

std::string IniFileName(const std::string& configDir, const std::string& executablePath) {
  std::filesystem::path name = std::filesystem::path(executablePath).filename();
  name.replace_extension(".ini");
  return (std::filesystem::path(configDir) / name).string();
}

std::string ReadIniValue(const std::string& path, const std::string& section,
                         const std::string& key, const std::string& fallback) {
  bool crlf = false;
  bool inSection = false;
  std::string name, k, v;
  for (const std::string& line : ReadLines(path, crlf)) {
    if (SectionOf(line, name)) {
      inSection = SameIgnoringCase(name, section);
    } else if (inSection && KeyOf(line, k, v) && SameIgnoringCase(k, key)) {
      if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
      return v.substr(0, kMaxValue);
    }
  }
  return fallback;
}

void WriteIniValue(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value) {
  std::error_code ec;
  const std::filesystem::path target(path);
  // Other sections and keys must survive, so a file that exists but cannot be read is not
  // replaced.
  if (std::filesystem::exists(target, ec) && !std::ifstream(target, std::ios::binary))
    throw LorviError("Unable to write to " + Utf8ToCp1251(path));
  bool crlf = false;
  std::vector<std::string> lines = ReadLines(path, crlf);
  const std::string entry = key + "=" + value;

  bool inSection = false;
  bool sectionFound = false;
  std::size_t insertAt = lines.size();
  bool done = false;
  std::string name, k, v;
  for (std::size_t i = 0; i < lines.size() && !done; ++i) {
    if (SectionOf(lines[i], name)) {
      if (inSection) break;
      inSection = SameIgnoringCase(name, section);
      if (inSection) {
        sectionFound = true;
        insertAt = i + 1;
      }
    } else if (inSection) {
      if (KeyOf(lines[i], k, v) && SameIgnoringCase(k, key)) {
        lines[i] = entry;
        done = true;
      } else if (!Trim(lines[i]).empty()) {
        insertAt = i + 1;
      }
    }
  }
  if (!done) {
    if (sectionFound) {
      lines.insert(lines.begin() + static_cast<long>(insertAt), entry);
    } else {
      lines.push_back("[" + section + "]");
      lines.push_back(entry);
    }
  }

  std::ostringstream text;
  for (const std::string& line : lines) text << line << (crlf ? "\r\n" : "\n");

  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ec);
  try {
    WholeFile file(path, "настройки");
    file.Write(text.str());
    file.Commit();
  } catch (const LorviError&) {
    throw LorviError("Unable to write to " + Utf8ToCp1251(path));
  }
}

}  // namespace lorvi
