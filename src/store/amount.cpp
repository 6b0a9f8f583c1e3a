#include "store/amount.h"

#include <limits>

namespace lorvi {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<Amount4> ParseAmount(std::string_view raw, char separator) {
  std::string text(raw);
  for (char& c : text)
    if (c == '.') c = separator;

  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  // Significant digits without leading zeros, and the power of ten of their last digit.
  std::string digits;
  long long exponent = 0;
  bool anyDigit = false;
  bool afterSeparator = false;
  for (; i < n; ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      anyDigit = true;
      if (!digits.empty() || c != '0') digits += c;
      if (afterSeparator) --exponent;
    } else if (c == separator && !afterSeparator) {
      afterSeparator = true;
    } else {
      break;
    }
  }
  if (!anyDigit) return std::nullopt;
  if (i < n && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    bool expNegative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) expNegative = text[i++] == '-';
    if (i >= n || !IsDigit(text[i])) return std::nullopt;
    long long value = 0;
    for (; i < n && IsDigit(text[i]); ++i)
      if (value < 1000000) value = value * 10 + (text[i] - '0');  // larger makes no difference
    exponent += expNegative ? -value : value;
  }
  while (i < n && text[i] == ' ') ++i;
  if (i != n) return std::nullopt;

  // Trailing zeros only raise the exponent; they keep the digit string short.
  while (!digits.empty() && digits.back() == '0') {
    digits.pop_back();
    ++exponent;
  }
  if (digits.empty()) return Amount4{0};

  // The value in ten-thousandths is digits * 10^(exponent + 4).
  const long long shift = exponent + 4;
  const unsigned __int128 limit =
      static_cast<unsigned __int128>(std::numeric_limits<Amount4>::max()) + (negative ? 1 : 0);
  unsigned __int128 magnitude = 0;
  if (shift >= 0) {
    if (static_cast<long long>(digits.size()) + shift > 19) return std::nullopt;
    for (const char c : digits) magnitude = magnitude * 10 + static_cast<unsigned>(c - '0');
    for (long long k = 0; k < shift; ++k) magnitude *= 10;
  } else {
    const long long drop = -shift;
    const long long keep = static_cast<long long>(digits.size()) - drop;
    if (keep > 19) return std::nullopt;
    for (long long k = 0; k < keep; ++k)
      magnitude = magnitude * 10 + static_cast<unsigned>(digits[k] - '0');
    // Round what is dropped to the nearest unit, ties to even.
    if (keep >= 0) {
      const char first = digits[keep];
      const bool restNonZero = keep + 1 < static_cast<long long>(digits.size());
      if (first > '5' || (first == '5' && (restNonZero || magnitude % 2 == 1))) ++magnitude;
    }
  }
  if (magnitude > limit) return std::nullopt;
  return negative ? static_cast<Amount4>(-static_cast<__int128>(magnitude))
                  : static_cast<Amount4>(magnitude);
}

std::string FormatAmount(__int128 value, char separator) {
  const bool negative = value < 0;
  unsigned __int128 magnitude =
      negative ? static_cast<unsigned __int128>(-value) : static_cast<unsigned __int128>(value);
  unsigned __int128 cents = magnitude / 100;
  if (magnitude % 100 >= 50) ++cents;
  std::string whole;
  unsigned __int128 units = cents / 100;
  do {
    whole.insert(whole.begin(), static_cast<char>('0' + static_cast<int>(units % 10)));
    units /= 10;
  } while (units != 0);
  const int fraction = static_cast<int>(cents % 100);
  std::string out;
  if (negative && cents != 0) out += '-';
  out += whole;
  out += separator;
  out += static_cast<char>('0' + fraction / 10);
  out += static_cast<char>('0' + fraction % 10);
  return out;
}

}  // namespace lorvi
