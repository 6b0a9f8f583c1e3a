#include <gtest/gtest.h>

#include <optional>

#include "store/amount.h"
#include "support/piece_text.h"

namespace lorvi {
namespace {

std::optional<Amount4> Comma(const char* t) { return ParseAmount(t, ','); }
std::optional<Amount4> Point(const char* t) { return ParseAmount(t, '.'); }

TEST(ParseAmount, AcceptedSyntax) {
  EXPECT_EQ(Comma("1500.5"), 15005000);
  EXPECT_EQ(Comma("1500,5"), 15005000);
  EXPECT_EQ(Point("1500.5"), 15005000);
  EXPECT_EQ(Point("  -12.5  "), -125000);
  EXPECT_EQ(Point("+7"), 70000);
  EXPECT_EQ(Point("1.5E3"), 15000000);
  EXPECT_EQ(Point("25e-1"), 25000);
  EXPECT_EQ(Point("1e+2"), 1000000);
  EXPECT_EQ(Point(".5"), 5000);
  EXPECT_EQ(Point("5."), 50000);
  EXPECT_EQ(Point("000123.4500"), 1234500);
  EXPECT_EQ(Point("0e999999999999"), 0);
  EXPECT_EQ(Point("-0"), 0);
}

TEST(ParseAmount, RejectedTexts) {
  for (const char* bad : {"",
                          " ",
                          "???",
                          "abc",
                          "1,5",
                          "1 000.00",
                          "1.2.3",
                          "1e",
                          "1e+",
                          "--1",
                          "+-1",
                          "- 1",
                          "1-",
                          "\t1",
                          "1\t",
                          "0x10",
                          ".",
                          "e5",
                          "1e400",
                          "922337203685477.5808",
                          "99999999999999999999"})
    EXPECT_EQ(Point(bad), std::nullopt) << bad;
  // Under a comma locale a point is the separator too, so two of them are too many.
  EXPECT_EQ(Comma("1.000,00"), std::nullopt);
}

// Plain texts take a shorter way than the rest; a leading blank sends the same text the long way.
TEST(ParseAmount, PlainTextsReadAsTheGeneralWayReadsThem) {
  const std::string pieces[] = {"0", "7", "12", "9999999", ".", ",", " ", "-", "e", "00"};
  test::PieceText texts(11);
  for (int n = 0; n < 20000; ++n) {
    const std::string text = texts.Next(pieces, n % 8 + 1);
    for (const char separator : {',', '.'})
      ASSERT_EQ(ParseAmount(text, separator), ParseAmount(" " + text, separator))
          << text << " " << separator;
  }
}

TEST(ParseAmount, RoundsToTenThousandthsTiesToEven) {
  EXPECT_EQ(Point("0.00005"), 0);
  EXPECT_EQ(Point("0.00015"), 2);
  EXPECT_EQ(Point("0.00025"), 2);
  EXPECT_EQ(Point("0.000250001"), 3);
  EXPECT_EQ(Point("0.00004999"), 0);
  EXPECT_EQ(Point("-0.00015"), -2);
  EXPECT_EQ(Point("1e-400"), 0);
  EXPECT_EQ(Point("922337203685477.5807"), INT64_MAX);
  EXPECT_EQ(Point("-922337203685477.5808"), INT64_MIN);
}

TEST(FormatAmount, TwoDecimalsHalfAwayFromZero) {
  // One buffer for all, as the store reuses it: a shorter text leaves nothing of a longer one.
  std::string out;
  const auto FormatAmount = [&out](__int128 value, char separator) {
    FormatAmountInto(out, value, separator);
    return out;
  };
  EXPECT_EQ(FormatAmount(15005000, ','), "1500,50");
  EXPECT_EQ(FormatAmount(15005000, '.'), "1500.50");
  EXPECT_EQ(FormatAmount(1250, '.'), "0.13");
  EXPECT_EQ(FormatAmount(-1250, '.'), "-0.13");
  EXPECT_EQ(FormatAmount(1249, '.'), "0.12");
  EXPECT_EQ(FormatAmount(0, ','), "0,00");
  EXPECT_EQ(FormatAmount(-40, '.'), "0.00");
  EXPECT_EQ(FormatAmount(12345678901230000, '.'), "1234567890123.00");
  // A sum beyond the fixed-point range is written in full.
  EXPECT_EQ(FormatAmount(static_cast<__int128>(INT64_MAX) * 2, '.'), "1844674407370955.16");
}

}  // namespace
}  // namespace lorvi
