#pragma once

namespace lorvi {

// An ASCII digit, whatever the locale says (std::isdigit asks the locale).
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace lorvi
