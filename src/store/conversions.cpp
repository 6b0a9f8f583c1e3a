#include "store/conversions.h"

#include "base/ascii_digit.h"

namespace lorvi {
namespace {

// Reads one to `maxDigits` digits at `i` into `value`.
bool ReadNumber(std::string_view text, std::size_t& i, std::size_t minDigits, std::size_t maxDigits,
                int& value) {
  const std::size_t start = i;
  value = 0;
  while (i < text.size() && IsDigit(text[i]) && i - start < maxDigits)
    value = value * 10 + (text[i++] - '0');
  return i - start >= minDigits && (i >= text.size() || !IsDigit(text[i]));
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

std::optional<int> ParseInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= text.size()) return std::nullopt;
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return std::nullopt;
  return static_cast<int>(value);
}

std::optional<Date> ParseDate(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  std::size_t i = 0;
  Date d;
  if (!ReadNumber(text, i, 1, 2, d.day) || i >= text.size() || text[i++] != '.')
    return std::nullopt;
  if (!ReadNumber(text, i, 1, 2, d.month) || i >= text.size() || text[i++] != '.')
    return std::nullopt;
  if (!ReadNumber(text, i, 4, 4, d.year) || i != text.size()) return std::nullopt;
  if (d.year < 1 || d.month < 1 || d.month > 12 || d.day < 1 ||
      d.day > DaysInMonth(d.year, d.month))
    return std::nullopt;
  return d;
}

}  // namespace lorvi
