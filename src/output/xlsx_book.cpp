#include "output/xlsx_book.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string_view>

#include "base/system_reason.h"

namespace lorvi {
namespace {

// The library's errors in the words of our messages; the rare ones keep its own.
std::string ReasonOf(lxw_error error) {
  switch (error) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
      return "не хватило памяти";
    case LXW_ERROR_CREATING_XLSX_FILE:
      return "не удалось создать файл";
    case LXW_ERROR_CREATING_TMPFILE:
      return "не удалось создать временный файл";
    case LXW_ERROR_READING_TMPFILE:
      return "не удалось прочитать временный файл";
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
    case LXW_ERROR_ZIP_INTERNAL_ERROR:
      return "ошибка при записи архива книги";
    default:
      return lxw_strerror(error);
  }
}

}  // namespace

XlsxBook::StandardError::StandardError() {
#ifndef _WIN32
  // The C library lets a program set stderr like any variable; the library prints through it.
  buffer_ = open_memstream(&text_, &size_);
  if (buffer_ != nullptr) {
    saved_ = stderr;
    stderr = buffer_;
  }
#endif
}

XlsxBook::StandardError::~StandardError() {
  if (buffer_ == nullptr) return;
  stderr = saved_;
  std::fclose(buffer_);
  // Lines that are not the library's own were meant for the terminal.
  std::string_view rest(text_, size_);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    const std::string_view line =
        rest.substr(0, end == std::string_view::npos ? rest.size() : end + 1);
    if (!line.starts_with("[ERROR]") && !line.starts_with("[WARNING]"))
      std::fwrite(line.data(), 1, line.size(), saved_);
    rest.remove_prefix(line.size());
  }
  std::free(text_);
}

std::string XlsxBook::StandardError::LastComplaint() {
  if (buffer_ == nullptr || std::fflush(buffer_) != 0 || size_ == 0) return {};
  std::string_view text(text_, size_);
  const std::size_t error = text.rfind("[ERROR]");
  const std::size_t warning = text.rfind("[WARNING]");
  if (error == std::string_view::npos && warning == std::string_view::npos) return {};
  text = text.substr(error == std::string_view::npos     ? warning
                     : warning == std::string_view::npos ? error
                                                         : std::max(error, warning));
  text = text.substr(0, text.find('\n'));
  // "[ERROR][file.c:123]: what happened", "[WARNING]: what happened"
  const std::size_t colon = text.find("]: ");
  return std::string(colon == std::string_view::npos ? text : text.substr(colon + 3));
}

XlsxBook::XlsxBook(const std::string& targetUtf8, std::string_view whatUtf8, bool constantMemory,
                   std::time_t created)
    : file_(targetUtf8, whatUtf8) {
  lxw_workbook_options options{};
  options.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
  // Scratch files where the file goes: a full or read-only /tmp does not spoil the book.
  options.tmpdir = const_cast<char*>(file_.Folder().c_str());
  errno = 0;
  book_ = workbook_new_opt(file_.TempPath().c_str(), &options);
  if (book_ == nullptr) Fail(LXW_ERROR_MEMORY_MALLOC_FAILED, errno);
  if (created != 0) {
    properties_.created = created;
    Check(workbook_set_properties(book_, &properties_));
  }
}

XlsxBook::~XlsxBook() {
  // Only after a failure: nothing of it is kept.
  if (book_ != nullptr) lxw_workbook_free(book_);
}

lxw_worksheet* XlsxBook::AddSheet(const char* nameUtf8) {
  errno = 0;
  lxw_worksheet* sheet = workbook_add_worksheet(book_, nameUtf8);
  if (sheet == nullptr) Fail(LXW_NO_ERROR, errno);
  return sheet;
}

lxw_format* XlsxBook::AddFormat() {
  errno = 0;
  lxw_format* format = workbook_add_format(book_);
  if (format == nullptr) Fail(LXW_ERROR_MEMORY_MALLOC_FAILED, errno);
  return format;
}

void XlsxBook::Commit() {
  lxw_workbook* book = book_;
  book_ = nullptr;
  errno = 0;
  if (const lxw_error error = workbook_close(book)) Fail(error, errno);
  file_.Commit();
}

void XlsxBook::Fail(lxw_error error, int systemError) const {
  // The system's reason says most; the library's own words only when it gave no code.
  if (systemError != 0) file_.Fail(SystemReason(systemError));
  if (error != LXW_NO_ERROR) file_.Fail(ReasonOf(error));
  const std::string complaint = stderr_.LastComplaint();
  file_.Fail(complaint.empty() ? "ошибка библиотеки xlsxwriter" : complaint);
}

}  // namespace lorvi
