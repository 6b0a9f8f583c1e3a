#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/lorvi_error.h"
#include "base/text1251.h"
#include "store/org_store.h"
#include "support/scratch_dir.h"

namespace lorvi {
namespace {

// Accumulates each text in turn into one fresh cell and returns what it holds after each.
std::vector<std::string> Accumulate(char separator, std::vector<std::string> texts) {
  TAAS matrix("0");
  std::vector<std::string> seen;
  for (const std::string& t : texts) {
    PutAmount(matrix, 7, 3, t, true, separator);
    seen.push_back(matrix.Get(7, 3));
  }
  return seen;
}

using V = std::vector<std::string>;

TEST(PutAmount, SumsAreWrittenInTheLocalesForm) {
  EXPECT_EQ(Accumulate(',', {"1500.5", "0.005"}), V({"1500,50", "1500,51"}));
  EXPECT_EQ(Accumulate('.', {"1500.5"}), V({"1500.50"}));
  EXPECT_EQ(Accumulate(',', {"-12.5"}), V({"-12,50"}));
  EXPECT_EQ(Accumulate(',', {"1.5E3"}), V({"1500,00"}));
  EXPECT_EQ(Accumulate(',', {"0"}), V({"0,00"}));
  // Every addition rounds to two decimals, since the sum is read back from its text.
  EXPECT_EQ(Accumulate('.', {"0.125", "0.125"}), V({"0.13", "0.26"}));
  EXPECT_EQ(Accumulate('.', {"-0.125"}), V({"-0.13"}));
}

TEST(PutAmount, UnreadableTextsStickOnceInTheCell) {
  EXPECT_EQ(Accumulate(',', {"1500.5", "", "200.00"}), V({"1500,50", "", ""}));
  EXPECT_EQ(Accumulate(',', {"1500.5", "???", "200.00"}), V({"1500,50", "???", "???"}));
  EXPECT_EQ(Accumulate(',', {"1 000.00", "5"}), V({"1 000.00", "1 000.00"}));
  EXPECT_EQ(Accumulate('.', {"1", "abc", "???"}), V({"1.00", "abc", "???"}));
  // A sum beyond the fixed-point range no longer converts, and so stays.
  EXPECT_EQ(Accumulate('.', {"922337203685477", "922337203685477", "1"}),
            V({"922337203685477.00", "1844674407370954.00", "1844674407370954.00"}));
}

TEST(PutAmount, StoringWritesTextUnchanged) {
  TAAS matrix("zu");
  PutAmount(matrix, 0, 0, "file 1.xml", false, ',');
  EXPECT_EQ(matrix.Get(0, 0), "file 1.xml");
  PutAmount(matrix, 0, 0, "", false, ',');
  EXPECT_EQ(matrix.Get(0, 0), "");
  EXPECT_EQ(matrix.Get(4500, 10), "zu");
  // The matrix grows to any cell; the cells between stay at their initial text.
  PutAmount(matrix, 20000, 30, "far.xml", false, ',');
  EXPECT_EQ(matrix.Get(20000, 30), "far.xml");
  EXPECT_EQ(matrix.Get(20000, 29), "zu");
  EXPECT_EQ(matrix.Get(19999, 30), "zu");
  EXPECT_EQ(matrix.Get(20001, 0), "zu");
  EXPECT_EQ(matrix.Get(0, 0), "");
  matrix.Reset();
  EXPECT_EQ(matrix.Get(20000, 30), "zu");
  EXPECT_EQ(matrix.Get(0, 0), "zu");
  PutAmount(matrix, 3, 1, "again.xml", false, ',');
  EXPECT_EQ(matrix.Get(3, 0), "zu");
  EXPECT_EQ(matrix.Get(3, 1), "again.xml");
  EXPECT_THROW(PutAmount(matrix, -1, 0, "x", false, ','), LorviError);
  EXPECT_THROW(matrix.Get(0, -1), LorviError);
}

TEST(OrgStore, SlotsOpenResetAndClear) {
  OrgStore store;
  store.OrgDirty = {false, false};
  EXPECT_EQ(NewOrgSlot(store), 0);
  EXPECT_EQ(NewOrgSlot(store), 1);
  EXPECT_EQ(store.OrgCount, 2);
  EXPECT_TRUE(store.OrgDirty[0] && store.OrgDirty[1]);
  try {
    NewOrgSlot(store);
    FAIL();
  } catch (const LorviError& e) {
    EXPECT_STREQ(e.what(), "Range check error");
  }
  EXPECT_EQ(store.OrgCount, 2);

  store.OrgFiles[1].push_back("/x/a.xml");
  TInfo& zl = store.ZLInfo[1];
  EXPECT_EQ(KeyRow(zl, "A"), 0);
  EXPECT_EQ(PeriodColumn(store.ZLInfo, 1, "2011-2"), 0);
  PutAmount(zl.StrahN, 0, 0, "5", true, ',');
  PutAmount(zl.SrcFile, 0, 0, "a.xml", false, ',');
  zl.Dismissed.push_back("1|2011-2=0");
  store.OrgDirty[1] = false;

  ResetOrgSlot(store, 1);
  EXPECT_EQ(zl.Rows.Count(), 0u);
  EXPECT_EQ(zl.StrahN.Get(0, 0), "0");
  EXPECT_EQ(zl.SrcFile.Get(0, 0), "zu");
  EXPECT_TRUE(zl.Dismissed.empty());
  EXPECT_EQ(store.OrgFiles[1].size(), 1u);
  EXPECT_FALSE(store.OrgDirty[1]);
  EXPECT_EQ(KeyRow(zl, "B"), 0);
  EXPECT_EQ(PeriodColumn(store.ZLInfo, 1, "2012-1"), 0);

  ClearAllStores(store);
  ClearAllStores(store);
  EXPECT_EQ(store.OrgCount, 0);
  EXPECT_TRUE(store.OrgFiles[1].empty());
  EXPECT_EQ(zl.Rows.Count(), 0u);
  EXPECT_FALSE(store.OrgDirty[1]);  // untouched by the clear
  EXPECT_EQ(NewOrgSlot(store), 0);
}

TEST(OrgStore, PeriodColumnsFollowFirstAppearanceThroughSorting) {
  OrgStore store;
  NewOrgSlot(store);
  EXPECT_EQ(PeriodColumn(store.ZLInfo, 0, "2011-2"), 0);
  EXPECT_EQ(PeriodColumn(store.ZLInfo, 0, "2011-1"), 1);
  store.ZLInfo[0].Periods.Sort();
  EXPECT_EQ(store.ZLInfo[0].Periods[0], "2011-1=1");
  EXPECT_EQ(PeriodColumn(store.ZLInfo, 0, "2011-2"), 0);
  EXPECT_EQ(store.ADVInfo[0].Periods.Count(), 0u);  // the other store is apart
}

TEST(OrgStore, KeyRowIgnoresLetterCase) {
  TInfo info;
  EXPECT_EQ(KeyRow(info, "Иванов Иван Иванович"_w), 0);
  EXPECT_EQ(KeyRow(info, "Петров П "_w), 1);
  EXPECT_EQ(KeyRow(info, "ИВАНОВ ИВАН ИВАНОВИЧ"_w), 0);
  EXPECT_EQ(KeyRow(info, "Петров П"_w), 2);
  EXPECT_EQ(info.Rows[1], "Петров П =1"_w);
}

TEST(OrgStore, AnyNumberOfRowsAndPeriods) {
  OrgStore store;
  NewOrgSlot(store);
  for (int p = 0; p < 30; ++p)
    EXPECT_EQ(PeriodColumn(store.ADVInfo, 0,
                           std::to_string(2011 + p / 4) + "-" + std::to_string(p % 4 + 1)),
              p);
  EXPECT_EQ(PeriodColumn(store.ADVInfo, 0, "2011-1"), 0);
  EXPECT_EQ(store.ADVInfo[0].Periods.Count(), 30u);

  TInfo& info = store.ZLInfo[0];
  for (int r = 0; r < 12000; ++r) ASSERT_EQ(KeyRow(info, "P" + std::to_string(r)), r);
  EXPECT_EQ(KeyRow(info, "p4501"), 4501);
  EXPECT_EQ(info.Rows[11999], "P11999=11999");
  PutAmount(info.StrahN, 11999, 29, "1.5", true, ',');
  PutAmount(info.StrahN, 11999, 29, "1.5", true, ',');
  EXPECT_EQ(info.StrahN.Get(11999, 29), "3,00");
}

}  // namespace
}  // namespace lorvi
