#include "intake/collation.h"

#include <algorithm>
#include <vector>

#include "base/text1251.h"

namespace lorvi {
namespace {

bool Ignorable(unsigned char c) { return c == '-' || c == '\''; }

// The primary weight of a byte: letter case does not count here.
int Primary(unsigned char b) {
  const unsigned char lower = static_cast<unsigned char>(FoldCase1251(static_cast<char>(b)));
  const char16_t cp = lower < 0x80 ? lower : kCp1251High[lower - 0x80];
  if (lower >= '0' && lower <= '9') return 0x1000 + (lower - '0');
  if (lower >= 'a' && lower <= 'z') return 0x2000 + (lower - 'a');
  if (cp >= 0x0430 && cp <= 0x044F) {
    const int k = (cp - 0x0430) * 2;
    return 0x3000 + (cp > 0x0435 ? k + 2 : k);  // room for ё right after е
  }
  if (cp == 0x0451) return 0x3000 + (0x0435 - 0x0430) * 2 + 1;
  if (cp >= 0x0400 && cp <= 0x04FF) return 0x3100 + cp;
  return 0x100 + cp;  // blanks, punctuation and symbols
}

std::vector<int> Weights(std::string_view s) {
  std::vector<int> w;
  w.reserve(s.size());
  for (const char c : s)
    if (!Ignorable(static_cast<unsigned char>(c)))
      w.push_back(Primary(static_cast<unsigned char>(c)));
  return w;
}

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

int CompareWordSort(std::string_view a, std::string_view b) {
  const std::vector<int> wa = Weights(a), wb = Weights(b);
  for (std::size_t i = 0; i < wa.size() && i < wb.size(); ++i)
    if (wa[i] != wb[i]) return Sign(wa[i] - wb[i]);
  if (wa.size() != wb.size()) return wa.size() < wb.size() ? -1 : 1;
  // Equal but for case: the lower-case letter first.
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const auto ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[j]);
    if (Ignorable(ca)) {
      ++i;
      continue;
    }
    if (Ignorable(cb)) {
      ++j;
      continue;
    }
    if (ca != cb) {
      const bool lowerA = static_cast<unsigned char>(FoldCase1251(a[i])) == ca;
      const bool lowerB = static_cast<unsigned char>(FoldCase1251(b[j])) == cb;
      if (lowerA != lowerB) return lowerA ? -1 : 1;
      return Sign(static_cast<int>(ca) - static_cast<int>(cb));
    }
    ++i;
    ++j;
  }
  // Equal but for hyphens and apostrophes: fewer of them first, then the plain byte order.
  const auto ignorables = [](std::string_view s) {
    return std::count_if(s.begin(), s.end(),
                         [](char c) { return Ignorable(static_cast<unsigned char>(c)); });
  };
  if (ignorables(a) != ignorables(b)) return ignorables(a) < ignorables(b) ? -1 : 1;
  return Sign(a.compare(b));
}

}  // namespace lorvi
