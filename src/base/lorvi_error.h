#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace lorvi {

// A failure that ends the user's action and is shown in the error box. The text is in code
// page 1251, exactly as the box shows it before the full stop rule.
class LorviError : public std::runtime_error {
 public:
  explicit LorviError(const std::string& text1251) : std::runtime_error(text1251) {}

  // The file whose reading failed (its name without folder, code page 1251); empty for a failure
  // that is not a file's.
  const std::string& FileName() const { return fileName_; }
  void SetFileName(std::string name1251) { fileName_ = std::move(name1251); }

 private:
  std::string fileName_;
};

// The user cancelled long work (an export, printing, the workbook): it stops where it is, writes
// nothing and shows nothing.
class Cancelled : public std::exception {
 public:
  const char* what() const noexcept override { return "cancelled"; }
};

// Tells `progress` (when there is one) that `done` of `total` steps are done; throws Cancelled when
// it answers that the user cancelled.
template <typename Progress, typename... Args>
void StepOf(const Progress& progress, Args&&... args) {
  if (progress && !progress(std::forward<Args>(args)...)) throw Cancelled();
}

// A file that exists but cannot be opened or read: "Cannot open file <path>", with the system's
// error number.
class CannotOpenError : public LorviError {
 public:
  CannotOpenError(const std::string& text1251, int systemError)
      : LorviError(text1251), systemError_(systemError) {}
  int SystemError() const { return systemError_; }

 private:
  int systemError_;
};

[[noreturn]] void ThrowListIndex(long long index);
[[noreturn]] void ThrowNotInteger(std::string_view text1251);
[[noreturn]] void ThrowNotDate(std::string_view text1251);
// The path is the caller's, in the platform's file-name encoding; `systemError` is errno.
[[noreturn]] void ThrowCannotOpen(const std::string& path, int systemError);
[[noreturn]] void ThrowRangeCheck();

// The text of the error box: a full stop is added unless the text already ends in a character
// whose code is not above that of ".".
std::string WithFullStop(std::string_view text1251);

// The error box's text of `error`: WithFullStop of its text, then the line "Файл: <name>" when it
// came from reading a file.
std::string ErrorBoxText(const LorviError& error);

}  // namespace lorvi
