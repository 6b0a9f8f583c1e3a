#include "store/amount.h"

#include <limits>

#include "base/ascii_digit.h"

namespace lorvi {
namespace {

// The amount of the usual text, up to 14 digits and at most four after the separator, which
// needs no rounding and cannot overflow; nothing for any other text.
std::optional<Amount4> PlainAmount(std::string_view text, char separator) {
  const std::size_t n = text.size();
  std::size_t i = 0;
  Amount4 whole = 0;
  for (; i < n && i < 14 && IsDigit(text[i]); ++i) whole = whole * 10 + (text[i] - '0');
  if (i == 0) return std::nullopt;
  Amount4 fraction = 0;
  int decimals = 0;
  if (i < n) {
    if (text[i] != separator && text[i] != '.') return std::nullopt;
    for (++i; i < n && decimals < 4 && IsDigit(text[i]); ++i, ++decimals)
      fraction = fraction * 10 + (text[i] - '0');
    if (i != n) return std::nullopt;
  }
  static constexpr Amount4 kScale[] = {10000, 1000, 100, 10, 1};
  return whole * 10000 + fraction * kScale[decimals];
}

}  // namespace

std::optional<Amount4> ParseAmount(std::string_view text, char separator) {
  // Nearly every amount of a file has the plain form; it alone is read in one pass.
  if (const std::optional<Amount4> plain = PlainAmount(text, separator)) return plain;
  // Every "." counts as the separator, as if replaced before reading.
  const auto isSeparator = [separator](char c) { return c == separator || c == '.'; };
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  // The significant digits, up to kKeep of them, make the mantissa; the power of ten of its last
  // digit is `exponent`. Digits beyond are only remembered for rounding.
  constexpr int kKeep = 36;
  std::uint64_t small = 0;  // the mantissa while it has at most 19 digits
  unsigned __int128 mantissa = 0;
  int kept = 0;
  long long exponent = 0;
  char firstDropped = 0;  // first digit past the kept ones
  bool restNonZero = false;
  bool anyDigit = false;
  bool afterSeparator = false;
  for (; i < n; ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      anyDigit = true;
      if (afterSeparator) --exponent;
      if (kept == 0 && c == '0') continue;
      if (kept < kKeep) {
        const auto digit = static_cast<unsigned>(c - '0');
        if (kept < 19)
          small = small * 10 + digit;
        else
          mantissa = (kept == 19 ? small : mantissa) * 10 + digit;
        ++kept;
      } else {
        ++exponent;
        if (firstDropped == 0)
          firstDropped = c;
        else if (c != '0')
          restNonZero = true;
      }
    } else if (isSeparator(c) && !afterSeparator) {
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
  if (kept <= 19) mantissa = small;
  if (mantissa == 0) return Amount4{0};

  // The value in ten-thousandths is mantissa * 10^(exponent + 4), then the dropped digits.
  long long shift = exponent + 4;
  const unsigned __int128 limit =
      static_cast<unsigned __int128>(std::numeric_limits<Amount4>::max()) + (negative ? 1 : 0);
  if (shift > 0) {
    if (kept + shift > 19) return std::nullopt;
    while (shift-- > 0) mantissa *= 10;
  } else if (shift < 0) {
    // Drop digits from the mantissa until only whole ten-thousandths are left.
    while (shift < 0 && mantissa != 0) {
      const char digit = static_cast<char>('0' + static_cast<int>(mantissa % 10));
      if (firstDropped != 0 && firstDropped != '0') restNonZero = true;
      firstDropped = digit;
      mantissa /= 10;
      ++shift;
    }
    if (shift < 0) {  // smaller than the last place that counts
      restNonZero = restNonZero || (firstDropped != 0 && firstDropped != '0');
      firstDropped = '0';
    }
  }
  // Round half to even on what was dropped.
  if (firstDropped > '5' || (firstDropped == '5' && (restNonZero || mantissa % 2 == 1))) ++mantissa;
  if (mantissa > limit) return std::nullopt;
  return negative ? static_cast<Amount4>(-static_cast<__int128>(mantissa))
                  : static_cast<Amount4>(mantissa);
}

void FormatAmountInto(std::string& out, __int128 value, char separator) {
  // Sums within 64 bits, nearly all of them, avoid the slow 128-bit division.
  if (value > -static_cast<__int128>(UINT64_MAX) && value < static_cast<__int128>(UINT64_MAX)) {
    const bool negative = value < 0;
    const std::uint64_t magnitude = static_cast<std::uint64_t>(negative ? -value : value);
    std::uint64_t cents = magnitude / 100 + (magnitude % 100 >= 50 ? 1 : 0);
    char buffer[32];
    char* p = buffer + sizeof buffer;
    *--p = static_cast<char>('0' + cents % 10);
    cents /= 10;
    *--p = static_cast<char>('0' + cents % 10);
    cents /= 10;
    *--p = separator;
    const bool nonZero = magnitude >= 50;
    do {
      *--p = static_cast<char>('0' + cents % 10);
      cents /= 10;
    } while (cents != 0);
    if (negative && nonZero) *--p = '-';
    out.assign(p, static_cast<std::size_t>(buffer + sizeof buffer - p));
    return;
  }
  const bool negative = value < 0;
  const unsigned __int128 magnitude =
      negative ? static_cast<unsigned __int128>(-value) : static_cast<unsigned __int128>(value);
  unsigned __int128 cents = magnitude / 100;
  if (magnitude % 100 >= 50) ++cents;
  char buffer[48];
  char* p = buffer + sizeof buffer;
  unsigned __int128 rest = cents;
  *--p = static_cast<char>('0' + static_cast<int>(rest % 10));
  rest /= 10;
  *--p = static_cast<char>('0' + static_cast<int>(rest % 10));
  rest /= 10;
  *--p = separator;
  do {
    *--p = static_cast<char>('0' + static_cast<int>(rest % 10));
    rest /= 10;
  } while (rest != 0);
  if (negative && cents != 0) *--p = '-';
  out.assign(p, static_cast<std::size_t>(buffer + sizeof buffer - p));
}

}  // namespace lorvi
