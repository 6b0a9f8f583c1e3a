#include "output/whole_file.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "base/lorvi_error.h"
#include "base/native_path.h"
#include "base/system_reason.h"
#include "base/text1251.h"

namespace lorvi {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTempSuffix = ".part";
constexpr std::size_t kTempMarks = 6;  // the XXXXXX of the temporary name

#ifdef _WIN32
long WriteSome(int fd, const void* data, unsigned long size) {
  return _write(fd, data, static_cast<unsigned>(size));
}
int SyncFile(int fd) { return _commit(fd); }
int CloseFile(int fd) { return _close(fd); }
int RenameFile(const char* from, const char* to) {
  const fs::path source = NativePath(from);
  const fs::path target = NativePath(to);
  if (MoveFileExW(source.c_str(), target.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return 0;
  errno = EACCES;
  return -1;
}
#else
long WriteSome(int fd, const void* data, unsigned long size) { return ::write(fd, data, size); }
int SyncFile(int fd) { return ::fsync(fd); }
int CloseFile(int fd) { return ::close(fd); }
int RenameFile(const char* from, const char* to) { return std::rename(from, to); }
#endif

WholeFileCalls& Calls() {
  static WholeFileCalls calls = DefaultWholeFileCalls();
  return calls;
}

// The file a chain of symbolic links ends at (the path itself when it is none).
fs::path FollowLinks(fs::path path, std::error_code& error) {
  for (int hops = 0; hops < 40; ++hops) {
    if (!fs::is_symlink(fs::symlink_status(path, error))) {
      error.clear();
      return path;
    }
    const fs::path to = fs::read_symlink(path, error);
    if (error) return path;
    path = to.is_absolute() ? to : path.parent_path() / to;
  }
  error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
  return path;
}

struct Existing {
  bool exists = false;
  unsigned mode = 0;  // permission bits of the file replaced
};

// What is at `path` now: nothing, or a regular file that may be replaced; anything else is the
// reason it may not.
std::string Check(const fs::path& path, Existing& existing) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error) {
    if (error == std::errc::no_such_file_or_directory) return {};
    return SystemReason(error.value());
  }
  if (!fs::exists(status)) return {};
  if (fs::is_directory(status)) return "это папка, а не файл";
  if (!fs::is_regular_file(status)) return "это не обычный файл (канал или устройство)";
  existing.exists = true;
  existing.mode = static_cast<unsigned>(status.permissions()) & 07777u;
  // Write bits, not access(): the superuser may write anything, yet a file the user made
  // read-only must stay as it is.
  const bool writable = (existing.mode & 0222u) != 0
#ifndef _WIN32
                        && ::access(path.c_str(), W_OK) == 0
#endif
      ;
  if (!writable) return "файл только для чтения";
  return {};
}

// A new, empty file in `folder` named after `name`, open for writing; -1 with errno set when it
// cannot be made.
int MakeTemp(const fs::path& folder, const std::string& name, std::string& temp) {
#ifdef _WIN32
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string marks = std::to_string(100000 + (GetTickCount() + attempt * 7919) % 900000);
    const fs::path path = folder / NativePath(name + "." + marks + std::string(kTempSuffix));
    const int fd =
        _wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd >= 0 || errno != EEXIST) {
      temp = Utf8Path(path);
      return fd;
    }
  }
  return -1;
#else
  std::string pattern =
      Utf8Path(folder / (name + "." + std::string(kTempMarks, 'X') + std::string(kTempSuffix)));
  const int fd = ::mkostemps(pattern.data(), static_cast<int>(kTempSuffix.size()), O_CLOEXEC);
  if (fd >= 0) temp = pattern;
  return fd;
#endif
}

// Temporary files of `name` that a kill left in `folder`.
void RemoveStrays(const fs::path& folder, const std::string& name, const std::string& keep) {
  std::error_code error;
  const std::size_t size = name.size() + 1 + kTempMarks + kTempSuffix.size();
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string other = Utf8Path(it->path().filename());
    if (other.size() == size && other.starts_with(name + ".") && other.ends_with(kTempSuffix) &&
        Utf8Path(it->path()) != keep) {
      std::error_code ignored;
      fs::remove(it->path(), ignored);
    }
  }
}

}  // namespace

WholeFileCalls DefaultWholeFileCalls() { return {WriteSome, SyncFile, CloseFile, RenameFile}; }

WholeFileCalls& CurrentWholeFileCalls() { return Calls(); }

WholeFile::WholeFile(const std::string& targetUtf8, std::string_view whatUtf8)
    : target_(targetUtf8), what_(whatUtf8) {
  const fs::path target = NativePath(targetUtf8);
  if (targetUtf8.empty() || !target.has_filename()) Fail("это не имя файла");
  std::error_code error;
  const fs::path final = FollowLinks(target, error);
  if (error) Fail(SystemReason(error.value()));
  Existing existing;
  if (const std::string refused = Check(final, existing); !refused.empty()) Fail(refused);
  final_ = Utf8Path(final);
  const fs::path folder = final.has_parent_path() ? final.parent_path() : fs::path(".");
  folder_ = Utf8Path(folder);
  fd_ = MakeTemp(folder, Utf8Path(final.filename()), temp_);
  if (fd_ < 0) Fail(SystemReason(errno));
#ifndef _WIN32
  // The temporary file starts private; it ends with the permissions of the file it replaces, or
  // those a new file gets.
  mode_t mode = existing.mode;
  if (!existing.exists) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (::fchmod(fd_, mode) != 0) Fail(SystemReason(errno));
#endif
}

WholeFile::~WholeFile() {
  if (fd_ >= 0) Calls().close(fd_);
  if (!committed_ && !temp_.empty()) {
    std::error_code ignored;
    fs::remove(NativePath(temp_), ignored);
  }
}

void WholeFile::Write(std::string_view bytes) {
  if (fd_ < 0) Fail(SystemReason(EBADF));
  while (!bytes.empty()) {
    const long written = Calls().write(fd_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      Fail(SystemReason(errno));
    }
    // A write that takes nothing would take nothing forever: the disk is full.
    if (written == 0) Fail(SystemReason(ENOSPC));
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

void WholeFile::Close() {
  const int fd = fd_;
  fd_ = -1;
  if (Calls().close(fd) != 0) Fail(SystemReason(errno));
}

void WholeFile::Commit() {
  if (fd_ < 0) Fail(SystemReason(EBADF));
  if (Calls().sync(fd_) != 0) Fail(SystemReason(errno));
  Close();
  if (Calls().rename(temp_.c_str(), final_.c_str()) != 0) Fail(SystemReason(errno));
  committed_ = true;
  const fs::path final = NativePath(final_);
  RemoveStrays(final.has_parent_path() ? final.parent_path() : fs::path("."),
               Utf8Path(final.filename()), temp_);
}

void WholeFile::Fail(const std::string& reasonUtf8) const {
  throw LorviError(
      Utf8ToCp1251("Не удалось записать " + what_ + " в файл " + target_ + ": " + reasonUtf8));
}

}  // namespace lorvi
