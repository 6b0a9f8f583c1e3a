#include <gtest/gtest.h>

#include <string>

#include "base/text1251.h"
#include "intake/tag_value.h"

namespace lorvi {
namespace {

struct Extracted {
  bool found;
  std::string value;
  bool operator==(const Extracted&) const = default;
};

Extracted Extract(std::string_view line, std::string_view name) {
  Extracted e;
  e.value = "stale";
  e.found = ExtractTagValue(line, name, e.value);
  return e;
}

TEST(ExtractTagValue, ValueBetweenStartAndEndTag) {
  EXPECT_EQ(Extract("<Год>2010</Год>"_w, "Год"_w), (Extracted{true, "2010"}));
  EXPECT_EQ(Extract(" \t  <Год>2010</Год>"_w, "Год"_w), (Extracted{true, "2010"}));
  EXPECT_EQ(Extract("<Год></Год>"_w, "Год"_w), (Extracted{true, ""}));
  EXPECT_EQ(Extract("<Год>2010"_w, "Год"_w), (Extracted{false, ""}));
  EXPECT_EQ(Extract("<год>2010</год>"_w, "Год"_w), (Extracted{false, ""}));
  EXPECT_EQ(Extract(""_w, "Год"_w), (Extracted{false, ""}));
}

TEST(ExtractTagValue, PositionArithmeticOnOddLines) {
  // The name inside a longer name: everything from the second character after it.
  EXPECT_EQ(Extract("<ГодРождения>1970</ГодРождения>"_w, "Год"_w),
            (Extracted{true, std::string("ождения>1970"_w)}));
  EXPECT_EQ(Extract("</Год><Год>2010"_w, "Год"_w), (Extracted{true, ""}));
  // An attribute: the blank after the name is the one character skipped.
  EXPECT_EQ(Extract("<Год a=\"1\">2010</Год>"_w, "Год"_w), (Extracted{true, "a=\"1\">2010"}));
  // A name at the very end of the line, with its "/" form earlier.
  EXPECT_EQ(Extract("/Год"_w, "Год"_w), (Extracted{true, ""}));
  // The value is cut at the end of the line.
  EXPECT_EQ(Extract("x/Годы"_w, "Год"_w), (Extracted{true, ""}));
  EXPECT_EQ(Extract("<A>1</A>", ""), (Extracted{false, ""}));
}

TEST(ReplaceAll, LeftToRightWithoutOverlap) {
  EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
  EXPECT_EQ(ReplaceAll("x", "x", "xx"), "xx");
  EXPECT_EQ(ReplaceAll("text", "", "z"), "text");
  EXPECT_EQ(ReplaceAll("", "a", "b"), "");
  EXPECT_EQ(ReplaceAll("ООО &quot;Р&quot;"_w, "&quot;", "\""), "ООО \"Р\""_w);
  EXPECT_EQ(ReplaceAll("&quot;&quot;", "&quot;", ""), "");
}

}  // namespace
}  // namespace lorvi
