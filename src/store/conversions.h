#pragma once

#include <optional>
#include <string_view>

namespace lorvi {

// A whole number as the files write one: optional leading blanks, an optional sign, decimal
// digits, within 32 bits. Nothing otherwise (also for an empty text).
std::optional<int> ParseInteger(std::string_view text);

// A calendar date, comparable.
struct Date {
  int year = 0;
  int month = 0;
  int day = 0;
  friend auto operator<=>(const Date&, const Date&) = default;
};

// A date written day.month.year: day and month of one or two digits, a four-digit year, a real
// calendar date, blanks allowed around it. Nothing otherwise.
std::optional<Date> ParseDate(std::string_view text);

}  // namespace lorvi
