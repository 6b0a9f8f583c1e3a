#pragma once

#include <xlsxwriter.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>

#include "output/whole_file.h"

namespace lorvi {

// A libxlsxwriter workbook written whole or not at all: the library writes a temporary file
// beside the target (WholeFile), keeps its own scratch files in the target's folder, and what it
// would print on the standard error becomes the reason of our message instead. Every call that
// can fail goes through AddSheet, AddFormat or Check, which throw the failure; nothing is left
// under the target's name until Commit() has closed, checked and renamed the file.
class XlsxBook {
 public:
  // `constantMemory` streams the rows to scratch files as they are written. `created` stamps
  // the file (0: the library's own clock).
  XlsxBook(const std::string& targetUtf8, std::string_view whatUtf8, bool constantMemory,
           std::time_t created = 0);
  ~XlsxBook();
  XlsxBook(const XlsxBook&) = delete;
  XlsxBook& operator=(const XlsxBook&) = delete;

  lxw_workbook* Book() const { return book_; }
  // Never null.
  lxw_worksheet* AddSheet(const char* nameUtf8);
  lxw_format* AddFormat();
  // Throws the failure of a call that returned `error`.
  void Check(lxw_error error) const {
    if (error != LXW_NO_ERROR) Fail(error, 0);
  }

  // Closes the workbook, checks the file it made and puts it in the target's place.
  void Commit();

 private:
  // The standard error turned into a buffer for as long as it lives, so that the library's
  // complaints reach our message and not the terminal; other lines are passed on at the end.
  class StandardError {
   public:
    StandardError();
    ~StandardError();
    StandardError(const StandardError&) = delete;
    StandardError& operator=(const StandardError&) = delete;
    // The library's last complaint so far, without its source position; empty when none.
    std::string LastComplaint();

   private:
    std::FILE* saved_ = nullptr;
    std::FILE* buffer_ = nullptr;
    char* text_ = nullptr;
    std::size_t size_ = 0;
  };

  // `systemError`: errno right after the call, 0 for a call the system had no part in.
  [[noreturn]] void Fail(lxw_error error, int systemError) const;

  WholeFile file_;
  mutable StandardError stderr_;
  lxw_doc_properties properties_{};
  lxw_workbook* book_ = nullptr;
};

}  // namespace lorvi
