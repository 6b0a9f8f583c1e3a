#include "models/qt_text.h"

#include "base/text1251.h"

namespace lorvi {

QString FromCp1251(std::string_view text1251) {
  QString out(static_cast<qsizetype>(text1251.size()), Qt::Uninitialized);
  QChar* p = out.data();
  for (const char c : text1251) {
    const auto b = static_cast<unsigned char>(c);
    const char16_t cp = b < 0x80 ? b : kCp1251High[b - 0x80];
    *p++ = QChar(cp == 0 && b != 0 ? char16_t{0xFFFD} : cp);
  }
  return out;
}

std::string ToCp1251(const QString& text) { return Utf8ToCp1251(text.toStdString()); }

}  // namespace lorvi
