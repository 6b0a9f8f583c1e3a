#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/lorvi_error.h"

namespace lorvi {

// The lines of one file, read whole into one buffer; each line is a view into it, without its
// line break. Dropping lines from the front only moves a start index, and positions count from
// the first line not yet dropped.
class LineList {
 public:
  LineList() = default;
  // Splits `bytes`: the text ends at the first NUL; a line ends at CR, LF or the end of the text;
  // after a line one CR, then one LF, is skipped.
  explicit LineList(std::string bytes);
  // The same, noting in the same pass which of `marks` each line contains: up to 32 texts that
  // begin with "<" and hold no CR, LF or NUL, kept by the caller for the list's lifetime.
  LineList(std::string bytes, std::span<const std::string_view> marks);

  std::size_t Count() const { return spans_.size() - start_; }
  bool Empty() const { return Count() == 0; }

  // Line `index` counted from the first line not dropped; beyond the last line it fails with
  // "List index out of bounds (index)".
  std::string_view Line(std::size_t index) const;

  // Removes `n` lines from the front (at most all of them).
  void DropFront(std::size_t n);

  // True when the list was split with exactly these marks.
  bool MarkedWith(std::span<const std::string_view> marks) const {
    return marks_.data() == marks.data() && marks_.size() == marks.size();
  }
  // Bit k set when line `index` contains marks[k]; beyond the last line it fails as Line does.
  std::uint32_t MarksOf(std::size_t index) const {
    if (index >= Count()) ThrowListIndex(static_cast<long long>(index));
    return spans_[start_ + index].marks;
  }

 private:
  struct Span {
    std::size_t begin;
    std::uint32_t size;
    std::uint32_t marks;
  };
  std::string buffer_;
  std::vector<Span> spans_;
  std::size_t start_ = 0;
  std::span<const std::string_view> marks_;
};

// Reads the whole file at `path` (opened read-only) as a line list. A file that cannot be opened
// or read, or that is not a regular file (a folder, a pipe, a device), fails with
// "Cannot open file <path>".
LineList ReadLineList(const std::string& path);
LineList ReadLineList(const std::string& path, std::span<const std::string_view> marks);

// The bytes of the whole file at `path`, with the same failures as ReadLineList.
std::string ReadFileBytes(const std::string& path);
// Its first `limit` bytes at most, with the same failures.
std::string ReadFileHead(const std::string& path, std::size_t limit);

// True when a regular file (not a folder, pipe or device) is at `path`.
bool FileExists(const std::string& path);

// The name of the file at `path` without its folder, in the platform's encoding.
std::string FileNameOf(const std::string& path);

// The folder of the file at `path`: the path without its last separator and name, keeping the
// separator of a root ("/" or "C:\"); empty for a bare name.
std::string FolderOf(const std::string& path);

}  // namespace lorvi
