#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lorvi {

// An amount in ten-thousandths: a fixed-point value with four decimals.
using Amount4 = std::int64_t;

// Converts an amount text: every "." becomes `separator` first; then optional blanks, an optional
// sign, digits with at most one `separator`, an optional exponent ("E" or "e", optional sign,
// digits), optional blanks. More than four decimals round to the nearest 0.0001, ties to even.
// Nothing when the text is not such a number or lies beyond the fixed-point range.
std::optional<Amount4> ParseAmount(std::string_view text, char separator);

// The "0.00" form of a value in ten-thousandths: two decimals rounded half away from zero,
// `separator` between, no grouping, "-" only when the rounded value is below zero. Takes a wide
// value so that a sum past the fixed-point range is still written (and then no longer converts).
// The text goes into `out`, whose storage is reused.
void FormatAmountInto(std::string& out, __int128 value, char separator);

}  // namespace lorvi
