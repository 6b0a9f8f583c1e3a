#pragma once

#include <string_view>

namespace lorvi {

// Compares two 1251 texts the way the tree sorts its captions, like the Windows word sort:
// symbols before digits, digits before letters, Latin before Cyrillic, letter case deciding only
// between otherwise equal texts (lower case first), hyphens and apostrophes almost ignored.
// Negative, zero or positive.
int CompareWordSort(std::string_view a, std::string_view b);

}  // namespace lorvi
