#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "base/text1251.h"
#include "intake/collation.h"
#include "intake/file_tree.h"
#include "support/scratch_dir.h"

namespace lorvi {
namespace {

using test::W;

std::vector<std::string> Sorted(std::vector<std::string> utf8) {
  std::vector<std::string> texts;
  for (const auto& t : utf8) texts.push_back(W(t));
  std::stable_sort(texts.begin(), texts.end(),
                   [](const auto& a, const auto& b) { return CompareWordSort(a, b) < 0; });
  std::vector<std::string> out;
  for (const auto& t : texts) out.push_back(Cp1251ToUtf8(t));
  return out;
}

using V = std::vector<std::string>;

TEST(CompareWordSort, OrdersLikeTheTree) {
  EXPECT_EQ(Sorted({"СЗВ:", "АДВ:"}), V({"АДВ:", "СЗВ:"}));
  EXPECT_EQ(Sorted({"2011-1", "2010-2", "2012-4", "2010-1"}),
            V({"2010-1", "2010-2", "2011-1", "2012-4"}));
  EXPECT_EQ(Sorted({"яблоко", "apple", "123", "Ёлка", "ель", "жук"}),
            V({"123", "apple", "ель", "Ёлка", "жук", "яблоко"}));
  EXPECT_EQ(Sorted({"B", "a", "A", "b"}), V({"a", "A", "b", "B"}));
  EXPECT_EQ(Sorted({"coop", "co-op", "cop"}), V({"coop", "co-op", "cop"}));
  EXPECT_EQ(Sorted({"a.xml", "a (2).xml", "a_1.xml"}), V({"a (2).xml", "a.xml", "a_1.xml"}));
  EXPECT_EQ(CompareWordSort("x", "x"), 0);
}

// Display order with two blanks of indent per level, as the tool prints the tree.
V Dump(const FileTree& tree) {
  V out;
  for (const TreeNode* n : tree.DisplayOrder()) {
    int depth = 0;
    for (const TreeNode* p = n->parent; p; p = p->parent) ++depth;
    out.push_back(std::string(2 * depth, ' ') + Cp1251ToUtf8(n->caption));
  }
  return out;
}

TEST(FileTree, BuildsSortsMovesAndSelects) {
  FileTree tree;
  const TreeNode* unread = tree.AddTop(W("НЕ СМОГ ПРОЧИТАТЬ"), 1, 1000000);
  tree.AddChild(unread, "z.xml", 8, 1000000);
  const TreeNode* org = tree.AddTop(W("000-2(Б)"), 4, 0);
  const TreeNode* period = tree.AddChild(org, "2011-2", 5, 0);
  tree.AddChild(period, W("СЗВ:"), 0, 0);
  tree.InsertFirstChild(period, W("АДВ:"), 6, 0);
  tree.AddChild(org, "2010-1", 5, 0);
  tree.AddTop(W("000-1(А)"), 4, 1);
  EXPECT_EQ(tree.Count(), 8u);

  tree.SortAll();
  tree.MoveToEnd(tree.TopLevel()[2]);
  EXPECT_EQ(Dump(tree), V({"000-1(А)", "000-2(Б)", "  2010-1", "  2011-2",
                           "    АДВ:", "    СЗВ:", "НЕ СМОГ ПРОЧИТАТЬ", "  z.xml"}));
  EXPECT_EQ(tree.NodeAt(6), unread);
  EXPECT_EQ(tree.NodeAt(8), nullptr);

  const auto before = tree.Version();
  EXPECT_TRUE(tree.Select(tree.NodeAt(0)));
  EXPECT_FALSE(tree.Select(tree.NodeAt(0)));  // no change to report
  EXPECT_GT(tree.Version(), before);

  // Every change of a node is counted, so that views show it.
  auto version = tree.Version();
  const auto changed = [&] { return std::exchange(version, tree.Version()) < tree.Version(); };
  tree.SetState(tree.NodeAt(7), 10);
  EXPECT_TRUE(changed());
  tree.SetNote(tree.NodeAt(7), "why");
  EXPECT_TRUE(changed());
  EXPECT_EQ(tree.NodeAt(7)->note, "why");
  tree.ClearStates();
  EXPECT_TRUE(changed());
  EXPECT_EQ(tree.NodeAt(7)->state, -1);
  tree.ExpandAll();
  EXPECT_TRUE(changed());
  EXPECT_TRUE(tree.NodeAt(3)->expanded);

  tree.Clear();
  EXPECT_EQ(tree.Count(), 0u);
  EXPECT_EQ(tree.Selected(), nullptr);
}

}  // namespace
}  // namespace lorvi
