#include "base/lorvi_error.h"

#include "base/text1251.h"

namespace lorvi {

void ThrowListIndex(long long index) {
  throw LorviError("List index out of bounds (" + std::to_string(index) + ")");
}

void ThrowNotInteger(std::string_view text1251) {
  throw LorviError("'" + std::string(text1251) + "' is not a valid integer value");
}

void ThrowNotDate(std::string_view text1251) {
  throw LorviError("'" + std::string(text1251) + "' is not a valid date");
}

void ThrowCannotOpen(const std::string& path, int systemError) {
  throw CannotOpenError("Cannot open file " + Utf8ToCp1251(path), systemError);
}

void ThrowRangeCheck() { throw LorviError("Range check error"); }

std::string WithFullStop(std::string_view text1251) {
  std::string out(text1251);
  if (!out.empty() && static_cast<unsigned char>(out.back()) > static_cast<unsigned char>('.'))
    out += '.';
  return out;
}

std::string ErrorBoxText(const LorviError& error) {
  std::string text = WithFullStop(error.what());
  if (!error.FileName().empty()) text += "\n" + std::string("Файл: "_w) + error.FileName();
  return text;
}

}  // namespace lorvi
