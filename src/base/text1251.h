#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Texts of the files stay bytes in code page 1251 from intake to the grids; these helpers convert
// them at the one boundary where they meet Unicode (screen, output, file names), fold their letter
// case, and let the sources write 1251 literals in UTF-8.
namespace lorvi {

// Code point of each byte 0x80..0xFF of code page 1251; 0 where the code page has no character.
inline constexpr char16_t kCp1251High[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

// The 1251 byte of a code point, or -1 when the code page cannot hold it.
constexpr int Cp1251ByteOf(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  if (cp >= 0x0410 && cp <= 0x044F) return static_cast<int>(cp - 0x0410 + 0xC0);
  for (int i = 0; i < 128; ++i)
    if (kCp1251High[i] != 0 && kCp1251High[i] == cp) return 0x80 + i;
  return -1;
}

// A 1251 text made at compile time from a UTF-8 string literal; a character outside the code
// page stops the build.
template <std::size_t N>
struct Cp1251Literal {
  char bytes[N]{};
  std::size_t size = 0;

  constexpr Cp1251Literal(const char (&utf8)[N]) {
    std::size_t i = 0;
    while (i + 1 < N) {
      const auto lead = static_cast<unsigned char>(utf8[i]);
      char32_t cp = lead;
      std::size_t extra = 0;
      if (lead >= 0xF0) {
        cp = lead & 0x07u;
        extra = 3;
      } else if (lead >= 0xE0) {
        cp = lead & 0x0Fu;
        extra = 2;
      } else if (lead >= 0xC0) {
        cp = lead & 0x1Fu;
        extra = 1;
      }
      for (std::size_t k = 1; k <= extra; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
      i += extra + 1;
      const int b = Cp1251ByteOf(cp);
      if (b < 0) throw "character outside code page 1251";
      bytes[size++] = static_cast<char>(static_cast<unsigned char>(b));
    }
  }
};

// "СЗВ:"_w is the 1251 text of the literal, with static storage.
template <Cp1251Literal L>
constexpr std::string_view operator""_w() {
  return {L.bytes, L.size};
}

// UTF-8 of a 1251 text; a byte without a character becomes U+FFFD.
std::string Cp1251ToUtf8(std::string_view text);

// 1251 of a UTF-8 text; a character the code page cannot hold, or a byte that is not UTF-8,
// becomes "?".
std::string Utf8ToCp1251(std::string_view text);

// Lower case of a 1251 byte, Latin and Cyrillic (Ё and the other Slavic letters included).
char FoldCase1251(char c);

// The text with every letter folded; two keys are equal ignoring case when their folds are equal.
std::string FoldCase1251(std::string_view text);

// Upper case of a 1251 text, Latin and Cyrillic, as the search edit turns what is typed.
std::string UpperCase1251(std::string_view text);

}  // namespace lorvi
