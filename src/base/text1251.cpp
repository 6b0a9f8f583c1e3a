#include "base/text1251.h"

#include <array>

namespace lorvi {
namespace {

constexpr char32_t CodePointOf(unsigned char b) { return b < 0x80 ? b : kCp1251High[b - 0x80]; }

constexpr char32_t LowerOf(char32_t cp) {
  if (cp >= U'A' && cp <= U'Z') return cp + 0x20;
  if (cp >= 0x0410 && cp <= 0x042F) return cp + 0x20;
  if (cp >= 0x0400 && cp <= 0x040F) return cp + 0x50;
  if (cp == 0x0490) return 0x0491;
  return cp;
}

constexpr std::array<unsigned char, 256> MakeFoldTable() {
  std::array<unsigned char, 256> table{};
  for (int b = 0; b < 256; ++b) {
    const char32_t cp = CodePointOf(static_cast<unsigned char>(b));
    const int lower = cp == 0 && b != 0 ? -1 : Cp1251ByteOf(LowerOf(cp));
    table[b] = static_cast<unsigned char>(lower < 0 ? b : lower);
  }
  return table;
}

constexpr auto kFold = MakeFoldTable();

constexpr std::array<unsigned char, 256> MakeUpperTable() {
  std::array<unsigned char, 256> table{};
  for (int b = 0; b < 256; ++b) table[b] = static_cast<unsigned char>(b);
  // The upper-case letter of each lower-case one is the byte that folds to it.
  for (int b = 255; b >= 0; --b)
    if (kFold[b] != b) table[kFold[b]] = static_cast<unsigned char>(b);
  return table;
}

constexpr auto kUpper = MakeUpperTable();

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    const char32_t cp = CodePointOf(b);
    AppendUtf8(out, b >= 0x80 && cp == 0 ? 0xFFFD : cp);
  }
  return out;
}

std::string Utf8ToCp1251(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    char32_t cp = lead;
    if (lead >= 0xF0 && lead < 0xF8) {
      extra = 3;
      cp = lead & 0x07u;
    } else if (lead >= 0xE0 && lead < 0xF0) {
      extra = 2;
      cp = lead & 0x0Fu;
    } else if (lead >= 0xC2 && lead < 0xE0) {
      extra = 1;
      cp = lead & 0x1Fu;
    } else if (lead >= 0x80) {
      out += '?';
      ++i;
      continue;
    }
    bool ok = i + extra < text.size();
    for (std::size_t k = 1; ok && k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0u) != 0x80u)
        ok = false;
      else
        cp = (cp << 6) | (next & 0x3Fu);
    }
    if (!ok) {
      out += '?';
      ++i;
      continue;
    }
    i += extra + 1;
    const int b = Cp1251ByteOf(cp);
    out += b < 0 ? '?' : static_cast<char>(static_cast<unsigned char>(b));
  }
  return out;
}

char FoldCase1251(char c) { return static_cast<char>(kFold[static_cast<unsigned char>(c)]); }

std::string FoldCase1251(std::string_view text) {
  std::string out(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i) out[i] = FoldCase1251(text[i]);
  return out;
}

std::string UpperCase1251(std::string_view text) {
  std::string out(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    out[i] = static_cast<char>(kUpper[static_cast<unsigned char>(text[i])]);
  return out;
}

}  // namespace lorvi
