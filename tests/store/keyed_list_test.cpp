#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text1251.h"
#include "store/keyed_list.h"

namespace lorvi {
namespace {

TEST(KeyedList, FindsFirstEntryIgnoringCase) {
  KeyedList list;
  list.Append("Иванов Иван Иванович"_w, "0");
  list.Append("Petrov"_w, "1");
  EXPECT_EQ(list.IndexOfName("ИВАНОВ ИВАН ИВАНОВИЧ"_w), 0);
  EXPECT_EQ(list.IndexOfName("PETROV"), 1);
  EXPECT_EQ(list.IndexOfName("Иванов Иван"_w), -1);
  EXPECT_EQ(list.IndexOfName("Иванов Иван Иванович "_w), -1);
  EXPECT_EQ(list[0], "Иванов Иван Иванович=0"_w);
  EXPECT_EQ(ValueOf(list[1]), "1");
}

TEST(KeyedList, KeysHoldingEqualsSignAreNamedByTheirFirstPart) {
  KeyedList list;
  list.Append("A=B", "0");
  EXPECT_EQ(list.IndexOfName("A=B"), -1);
  EXPECT_EQ(list.IndexOfName("a"), 0);
  list.Append("A=C", "1");
  EXPECT_EQ(list.IndexOfName("A"), 0);  // the first of two
  EXPECT_EQ(ValueOf(list[1]), "C=1");
}

TEST(KeyedList, SortKeepsTextsAndIndexFollows) {
  KeyedList list;
  list.Append("2011-2", "0");
  list.Append("2010-1", "1");
  list.Append("2011-1", "2");
  list.Sort();
  EXPECT_EQ(list.Entries(), (std::vector<std::string>{"2010-1=1", "2011-1=2", "2011-2=0"}));
  EXPECT_EQ(list.IndexOfName("2011-2"), 2);
  list.Clear();
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_EQ(list.IndexOfName("2011-2"), -1);
}

TEST(KeyedList, SortIgnoresCase) {
  KeyedList list;
  list.Append("b", "0");
  list.Append("A", "1");
  list.Append("Б"_w, "2");
  list.Append("а"_w, "3");
  list.Sort();
  EXPECT_EQ(list.Entries(),
            (std::vector<std::string>{"A=1", "b=0", std::string("а=3"_w), std::string("Б=2"_w)}));
}

}  // namespace
}  // namespace lorvi
