#include "intake/line_list.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "intake/lorvi_error.h"

namespace lorvi {
namespace {

// Position of the first CR or LF at or after `from`, or `end`. Eight bytes at a time, since
// the files are large and their lines short.
std::size_t FindLineBreak(const char* data, std::size_t from, std::size_t end) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHigh = 0x8080808080808080ull;
  std::size_t i = from;
  while (i + 8 <= end) {
    std::uint64_t word;
    std::memcpy(&word, data + i, 8);
    const std::uint64_t lf = word ^ (kOnes * '\n');
    const std::uint64_t cr = word ^ (kOnes * '\r');
    const std::uint64_t hit = ((lf - kOnes) & ~lf & kHigh) | ((cr - kOnes) & ~cr & kHigh);
    if (hit != 0) break;
    i += 8;
  }
  while (i < end && data[i] != '\n' && data[i] != '\r') ++i;
  return i;
}

// Paths are UTF-8 inside the program.
std::filesystem::path NativePath(const std::string& path) {
#ifdef _WIN32
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
#else
  return std::filesystem::path(path);
#endif
}

}  // namespace

LineList::LineList(std::string bytes) : buffer_(std::move(bytes)) {
  const void* nul = std::memchr(buffer_.data(), '\0', buffer_.size());
  const std::size_t end =
      nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - buffer_.data())
          : buffer_.size();
  const char* data = buffer_.data();
  std::size_t pos = 0;
  while (pos < end) {
    const std::size_t stop = FindLineBreak(data, pos, end);
    spans_.push_back({pos, stop - pos});
    pos = stop;
    if (pos < end && data[pos] == '\r') ++pos;
    if (pos < end && data[pos] == '\n') ++pos;
  }
}

std::string_view LineList::Line(std::size_t index) const {
  if (index >= Count()) ThrowListIndex(static_cast<long long>(index));
  const Span& s = spans_[start_ + index];
  return std::string_view(buffer_.data() + s.begin, s.size);
}

void LineList::DropFront(std::size_t n) { start_ += n < Count() ? n : Count(); }

LineList ReadLineList(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(NativePath(path), ec)) ThrowCannotOpen(path);
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) ThrowCannotOpen(path);
  std::string bytes;
  const auto expected = std::filesystem::file_size(NativePath(path), ec);
  std::size_t size = 0;
  if (!ec && expected > 0) {
    bytes.resize(static_cast<std::size_t>(expected));
    size = std::fread(bytes.data(), 1, bytes.size(), file);
  }
  // The file may have grown since its size was taken, or report no size at all.
  for (;;) {
    if (size == bytes.size()) bytes.resize(size + (1 << 16));
    const std::size_t got = std::fread(bytes.data() + size, 1, bytes.size() - size, file);
    size += got;
    if (got == 0) break;
  }
  bytes.resize(size);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) ThrowCannotOpen(path);
  return LineList(std::move(bytes));
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(NativePath(path), ec);
  return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

std::string FileNameOf(const std::string& path) {
#ifdef _WIN32
  const auto cut = path.find_last_of("\\/:");
#else
  const auto cut = path.find_last_of('/');
#endif
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace lorvi
