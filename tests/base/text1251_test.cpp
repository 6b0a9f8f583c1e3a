#include <gtest/gtest.h>

#include "base/text1251.h"
#include "support/scratch_dir.h"

namespace lorvi {
namespace {

TEST(Text1251, LiteralsAndConversionsAgree) {
  EXPECT_EQ("СЗВ:"_w, "\xD1\xC7\xC2:");
  EXPECT_EQ("Ёё№"_w, "\xA8\xB8\xB9");
  EXPECT_EQ(Utf8ToCp1251("Анализатор ЛОРВИ"), "Анализатор ЛОРВИ"_w);
  EXPECT_EQ(Cp1251ToUtf8("Анализатор ЛОРВИ"_w), "Анализатор ЛОРВИ");
  // Every byte with a character goes there and back unchanged.
  std::string all;
  for (int b = 1; b < 256; ++b)
    if (b != 0x98) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
}

TEST(Text1251, WhatTheCodePageCannotHoldBecomesQuestionMark) {
  EXPECT_EQ(Utf8ToCp1251("a中b"), "a?b");
  EXPECT_EQ(Utf8ToCp1251("a\xFF"
                         "b"),
            "a?b");                                 // not UTF-8
  EXPECT_EQ(Utf8ToCp1251("a\xD0"), "a?");           // cut in a character
  EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xEF\xBF\xBD");  // the code page's gap
}

TEST(Text1251, CaseFoldCoversLatinAndCyrillic) {
  EXPECT_EQ(FoldCase1251("ИВАНОВ Ivan ЁЖ"_w), "иванов ivan ёж"_w);
  EXPECT_EQ(FoldCase1251("ЎЇЄІҐЂ"_w), "ўїєіґђ"_w);
  EXPECT_EQ(FoldCase1251("2011-1=0 №"_w), "2011-1=0 №"_w);
}

}  // namespace
}  // namespace lorvi
