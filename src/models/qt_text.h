#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace lorvi {

// The one boundary between the core's code page 1251 texts and the screen's Unicode.
QString FromCp1251(std::string_view text1251);
std::string ToCp1251(const QString& text);

// Paths are UTF-8 in the core.
inline QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }
inline std::string ToUtf8(const QString& text) { return text.toStdString(); }

}  // namespace lorvi
