#include "intake/line_list.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/lorvi_error.h"
#include "base/native_path.h"

namespace lorvi {
namespace {

// The split's work per line break and per "<" is small and runs for every line of every file:
// a call for each would cost as much as the work.
#if defined(__GNUC__)
#define LORVI_INLINE_STEP __attribute__((always_inline))
#else
#define LORVI_INLINE_STEP
#endif

// Calls `emit(position)` for every CR and LF in data[0, end), and with `lt` for every "<" too,
// in order. Sixteen bytes at a time where the processor allows, since the files are large and
// their lines short.
template <typename Emit>
void ForEachBreak(const char* data, std::size_t end, bool lt, Emit emit) {
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i angle = _mm_set1_epi8(lt ? '<' : '\n');
  for (; i + 16 <= end; i += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    auto mask = static_cast<unsigned>(_mm_movemask_epi8(
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, lf), _mm_cmpeq_epi8(chunk, cr)),
                     _mm_cmpeq_epi8(chunk, angle))));
    while (mask != 0) {
      emit(i + static_cast<std::size_t>(__builtin_ctz(mask)));
      mask &= mask - 1;
    }
  }
#endif
  for (; i < end; ++i)
    if (data[i] == '\n' || data[i] == '\r' || (lt && data[i] == '<')) emit(i);
}

// Opens the file at `path` for reading; only a regular file, since a pipe or a device could block
// or never end.
std::FILE* OpenRegularFile(const std::string& path) {
#ifdef _WIN32
  std::error_code ec;
  if (!std::filesystem::is_regular_file(NativePath(path), ec))
    ThrowCannotOpen(path, ec ? ec.value() : EISDIR);
  std::FILE* file = _wfopen(NativePath(path).c_str(), L"rb");
  if (file == nullptr) ThrowCannotOpen(path, errno);
  return file;
#else
  // Not blocking, so that a pipe put in the file's place after it was chosen is found out by
  // looking at what was opened, not by waiting on it.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) ThrowCannotOpen(path, errno);
  struct stat status {};
  int error = 0;
  if (::fstat(fd, &status) != 0)
    error = errno;
  else if (S_ISDIR(status.st_mode))
    error = EISDIR;
  else if (!S_ISREG(status.st_mode))
    error = ENODEV;  // a pipe, a device, a socket
  if (error != 0) {
    ::close(fd);
    ThrowCannotOpen(path, error);
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* file = ::fdopen(fd, "rb");
  if (file == nullptr) {
    const int error = errno;
    ::close(fd);
    ThrowCannotOpen(path, error);
  }
  return file;
#endif
}

}  // namespace

LineList::LineList(std::string bytes) : LineList(std::move(bytes), {}) {}

LineList::LineList(std::string bytes, std::span<const std::string_view> marks)
    : buffer_(std::move(bytes)), marks_(marks) {
  const void* nul = std::memchr(buffer_.data(), '\0', buffer_.size());
  const std::size_t end =
      nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - buffer_.data())
          : buffer_.size();
  const char* data = buffer_.data();
  spans_.reserve(end / 16 + 1);
  // A line ends at a CR or LF; after it one CR, then one LF, is skipped. `next` is where the
  // next line starts, so a break before it belongs to the previous line's ending.
  std::size_t next = 0;
  std::uint32_t found = 0;  // marks of the line being split
  // The marks that may start at a "<", by the two bytes after it: most tags of a file match none,
  // and so cost two lookups instead of a comparison with every mark.
  std::uint32_t bySecond[256] = {};
  std::uint32_t byThird[256] = {};
  std::uint32_t shortMarks = 0;  // marks of fewer than three bytes, compared wherever a "<" is
  const std::size_t markCount = std::min<std::size_t>(marks.size(), 32);
  for (std::size_t k = 0; k < markCount; ++k) {
    const std::string_view mark = marks[k];
    if (mark.size() < 3) {
      shortMarks |= 1u << k;
      continue;
    }
    bySecond[static_cast<unsigned char>(mark[1])] |= 1u << k;
    byThird[static_cast<unsigned char>(mark[2])] |= 1u << k;
  }
  ForEachBreak(data, end, !marks.empty(), [&](std::size_t at) LORVI_INLINE_STEP {
    if (data[at] == '<') {
      // A mark holds no line break, so one that starts here lies within this line.
      std::uint32_t candidates = shortMarks;
      if (end - at >= 3)
        candidates |= bySecond[static_cast<unsigned char>(data[at + 1])] &
                      byThird[static_cast<unsigned char>(data[at + 2])];
      while (candidates != 0) {
        const auto k = static_cast<std::size_t>(std::countr_zero(candidates));
        candidates &= candidates - 1;
        const std::string_view mark = marks[k];
        if (end - at >= mark.size() && std::memcmp(data + at, mark.data(), mark.size()) == 0)
          found |= 1u << k;
      }
      return;
    }
    if (at < next) return;
    spans_.push_back({next, static_cast<std::uint32_t>(at - next), found});
    found = 0;
    next = at;
    if (data[next] == '\r') ++next;
    if (next < end && data[next] == '\n') ++next;
  });
  if (next < end) spans_.push_back({next, static_cast<std::uint32_t>(end - next), found});
}

std::string_view LineList::Line(std::size_t index) const {
  if (index >= Count()) ThrowListIndex(static_cast<long long>(index));
  const Span& s = spans_[start_ + index];
  return std::string_view(buffer_.data() + s.begin, s.size);
}

void LineList::DropFront(std::size_t n) { start_ += n < Count() ? n : Count(); }

LineList ReadLineList(const std::string& path) { return LineList(ReadFileBytes(path)); }

LineList ReadLineList(const std::string& path, std::span<const std::string_view> marks) {
  return LineList(ReadFileBytes(path), marks);
}

std::string ReadFileBytes(const std::string& path) { return ReadFileHead(path, std::string::npos); }

std::string ReadFileHead(const std::string& path, std::size_t limit) {
  // Closed also when the buffer cannot grow.
  const auto close = [](std::FILE* f) { std::fclose(f); };
  const std::unique_ptr<std::FILE, decltype(close)> owner(OpenRegularFile(path), close);
  std::FILE* file = owner.get();
  errno = 0;
  std::error_code ec;
  std::string bytes;
  const auto expected = std::filesystem::file_size(NativePath(path), ec);
  std::size_t size = 0;
  if (!ec && expected > 0) {
    // One byte more than expected, so that the end shows without growing the buffer.
    bytes.resize(std::min(static_cast<std::size_t>(expected) + 1, limit));
    size = std::fread(bytes.data(), 1, bytes.size(), file);
  }
  // The file may have grown since its size was taken, or report no size at all.
  while (size < limit) {
    if (size == bytes.size()) bytes.resize(std::min(size + (1 << 16), limit));
    const std::size_t got = std::fread(bytes.data() + size, 1, bytes.size() - size, file);
    size += got;
    if (got == 0) break;
  }
  bytes.resize(size);
  if (std::ferror(file) != 0) ThrowCannotOpen(path, errno != 0 ? errno : EIO);
  return bytes;
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(NativePath(path), ec);
  return !ec && std::filesystem::is_regular_file(status);
}

namespace {

std::size_t LastSeparator(const std::string& path) {
#ifdef _WIN32
  return path.find_last_of("\\/:");
#else
  return path.find_last_of('/');
#endif
}

}  // namespace

std::string FileNameOf(const std::string& path) {
  const auto cut = LastSeparator(path);
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string FolderOf(const std::string& path) {
  const auto cut = LastSeparator(path);
  if (cut == std::string::npos) return "";
  if (cut == 0 || (cut == 2 && path[1] == ':')) return path.substr(0, cut + 1);
  return path.substr(0, cut);
}

}  // namespace lorvi
