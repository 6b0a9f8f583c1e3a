#include "base/system_reason.h"

#include <cerrno>
#include <cstring>

namespace lorvi {

std::string SystemReason(int error) {
  switch (error) {
    case ENOSPC:
      return "нет места на диске";
#ifdef EDQUOT
    case EDQUOT:
      return "превышена квота диска";
#endif
    case EFBIG:
      return "файл слишком велик";
    case EACCES:
    case EPERM:
      return "нет доступа";
    case EROFS:
      return "диск только для чтения";
    case ENOENT:
      return "нет такой папки";
    case ENOTDIR:
      return "часть пути — не папка";
    case EISDIR:
      return "это папка, а не файл";
    case ENAMETOOLONG:
      return "слишком длинное имя";
    case EMFILE:
    case ENFILE:
      return "открыто слишком много файлов";
    case EIO:
      return "ошибка ввода-вывода";
    case ENOMEM:
      return "не хватило памяти";
#ifdef ELOOP
    case ELOOP:
      return "слишком много символических ссылок";
#endif
    case EXDEV:
      return "файл на другом диске";
    default:
      break;
  }
  // Reader threads may ask at the same time: strerror's buffer is shared, strerror_r's is ours.
  char buffer[256] = {};
#if defined(_WIN32)
  strerror_s(buffer, sizeof buffer, error);
  return buffer;
#else
  // The GNU form (C++ builds on glibc define _GNU_SOURCE): it gives the text's address.
  return strerror_r(error, buffer, sizeof buffer);
#endif
}

}  // namespace lorvi
