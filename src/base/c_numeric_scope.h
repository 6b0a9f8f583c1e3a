#pragma once

#include <clocale>
#include <cstdlib>
#include <cstring>

#ifndef _WIN32
#include <locale.h>
#endif

namespace lorvi {

// While it lives, the C library formats and reads numbers of this thread with a point, whatever
// the user's locale; other threads and the other locale categories stay as they are. File
// formats that hold numbers as text (the spreadsheet's XML) need it around the library that
// writes them, because the program runs under the user's locale.
class CNumericScope {
 public:
#ifdef _WIN32
  CNumericScope() : perThread_(_configthreadlocale(_ENABLE_PER_THREAD_LOCALE)) {
    if (const char* current = std::setlocale(LC_NUMERIC, nullptr)) saved_ = _strdup(current);
    std::setlocale(LC_NUMERIC, "C");
  }
  ~CNumericScope() {
    if (saved_) {
      std::setlocale(LC_NUMERIC, saved_);
      std::free(saved_);
    }
    _configthreadlocale(perThread_);
  }
#else
  CNumericScope() {
    const locale_t current = uselocale(locale_t(0));
    const locale_t base = duplocale(current);
    if (base == locale_t(0)) return;
    numeric_ = newlocale(LC_NUMERIC_MASK, "C", base);
    if (numeric_ == locale_t(0)) {
      freelocale(base);
      return;
    }
    previous_ = uselocale(numeric_);
  }
  ~CNumericScope() {
    if (numeric_ == locale_t(0)) return;
    uselocale(previous_);
    freelocale(numeric_);
  }
#endif
  CNumericScope(const CNumericScope&) = delete;
  CNumericScope& operator=(const CNumericScope&) = delete;

 private:
#ifdef _WIN32
  int perThread_;
  char* saved_ = nullptr;
#else
  locale_t numeric_ = locale_t(0);
  locale_t previous_ = locale_t(0);
#endif
};

}  // namespace lorvi
