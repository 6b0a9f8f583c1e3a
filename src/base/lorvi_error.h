#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace lorvi {

// A failure that ends the user's action and is shown in the error box. The text is in code
// page 1251, exactly as the box shows it before the full stop rule.
class LorviError : public std::runtime_error {
 public:
  explicit LorviError(const std::string& text1251) : std::runtime_error(text1251) {}
};

[[noreturn]] void ThrowListIndex(long long index);
[[noreturn]] void ThrowNotInteger(std::string_view text1251);
[[noreturn]] void ThrowNotDate(std::string_view text1251);
// The path is the caller's, in the platform's file-name encoding.
[[noreturn]] void ThrowCannotOpen(const std::string& path);
[[noreturn]] void ThrowRangeCheck();

// The text of the error box: a full stop is added unless the text already ends in a character
// whose code is not above that of ".".
std::string WithFullStop(std::string_view text1251);

}  // namespace lorvi
