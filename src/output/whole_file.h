#pragma once

#include <string>
#include <string_view>

namespace lorvi {

// A file written whole or not at all. The bytes go to a temporary file in the target's folder,
// named "<name>.XXXXXX.part", and Commit() puts it in the target's place only after everything
// was written, synced and closed without error. Until then, and after any failure, the previous
// file stays as it was. A kill can leave the temporary file behind; the next successful write of
// the same target removes it.
//
// Every failure throws LorviError "Не удалось записать <what> в файл <target>: <reason>" (code
// page 1251), with the operating system's reason where there is one.
class WholeFile {
 public:
  // Refuses, before anything is opened, a target that exists and is not a regular file (a
  // folder, a pipe, a device) or is read-only. A symbolic link is followed: the file it points to
  // is replaced and the link stays. `what` (UTF-8) names the contents in messages ("отчет").
  WholeFile(const std::string& targetUtf8, std::string_view whatUtf8);
  // Removes the temporary file unless it was committed.
  ~WholeFile();
  WholeFile(const WholeFile&) = delete;
  WholeFile& operator=(const WholeFile&) = delete;

  // For a library that writes its file by name: it may write this path, then Commit() checks and
  // renames it.
  const std::string& TempPath() const { return temp_; }
  // The folder the temporary file is in, for a library's own scratch files.
  const std::string& Folder() const { return folder_; }

  // Appends all of `bytes`; short writes are continued, failures thrown.
  void Write(std::string_view bytes);
  // Syncs, closes and renames the temporary file over the target.
  void Commit();

  // Throws this file's failure with `reasonUtf8`.
  [[noreturn]] void Fail(const std::string& reasonUtf8) const;

 private:
  void Close();

  std::string target_;  // as the caller named it, for messages
  std::string final_;   // the file that is replaced, after symbolic links
  std::string folder_;
  std::string temp_;
  std::string what_;
  int fd_ = -1;
  bool committed_ = false;
};

// The calls through which WholeFile reaches the file system, so that tests can fail any of them.
struct WholeFileCalls {
  long (*write)(int fd, const void* data, unsigned long size);
  int (*sync)(int fd);
  int (*close)(int fd);
  int (*rename)(const char* from, const char* to);
};
// The calls in use; tests replace them and put the defaults back.
WholeFileCalls& CurrentWholeFileCalls();
WholeFileCalls DefaultWholeFileCalls();

}  // namespace lorvi
