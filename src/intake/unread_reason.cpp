#include "intake/unread_reason.h"

#include <cerrno>
#include <filesystem>

#include "base/native_path.h"
#include "base/system_reason.h"
#include "base/text1251.h"

namespace lorvi {
namespace {

std::string Folder() { return Utf8ToCp1251("Это папка, а не файл"); }
std::string NotRegular() { return Utf8ToCp1251("Это не обычный файл (канал или устройство)"); }
std::string NotFound() { return Utf8ToCp1251("Файл не найден"); }

}  // namespace

std::string NotAFileReason(const std::string& path) {
  std::error_code error;
  const auto status = std::filesystem::status(NativePath(path), error);
  if (error || !std::filesystem::exists(status)) return NotFound();
  if (std::filesystem::is_directory(status)) return Folder();
  return NotRegular();
}

std::string CannotOpenReason(int systemError) {
  switch (systemError) {
    case EACCES:
    case EPERM:
      return Utf8ToCp1251("Нет доступа к файлу");
    case EISDIR:
      return Folder();
    case ENODEV:
      return NotRegular();
    case ENOENT:
      return NotFound();
    default:
      return Utf8ToCp1251("Не удалось прочитать файл: " + SystemReason(systemError));
  }
}

bool NoLongerThere(int systemError) {
  switch (systemError) {
    case ENOENT:
    case ENOTDIR:
    case EISDIR:
    case ENODEV:
    case ENXIO:
    case EACCES:
    case EPERM:
#ifdef ELOOP
    case ELOOP:
#endif
      return true;
    default:
      return false;
  }
}

}  // namespace lorvi
