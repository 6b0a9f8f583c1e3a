#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text1251.h"
#include "session/session.h"
#include "support/fund_file.h"
#include "support/session_fixture.h"

namespace lorvi {
namespace {

class SessionClear : public test::SessionTest {};

TEST_F(SessionClear, EmptiesTreeStoresAndGridsOnly) {
  EXPECT_EQ(session.SLabel2Caption(), "Застрахованные лица"_w);
  const fund::Insurer second{"000-000-000002", "АО Василёк"};
  const std::string first = Write("a.xml", fund::Records({}, "2011-1", {{"ИВАНОВ"}}));
  Load({first, Write("b.xml", fund::Inventory(second, "2011-1", {{"НР", "1", "1"}}))});
  session.SelectNode(session.tvLF().TopLevel()[1]);
  session.sbADVClick();
  session.SelectTab(3);
  session.edFindFIOChange(std::string("ИВ"_w));
  ASSERT_EQ(session.CurOrg(), 1);
  ASSERT_GT(session.sgADVNakop().ColCount(), 0);
  const std::string folder = session.ODInitialDir();
  ASSERT_FALSE(folder.empty());

  session.sbClearFilesClick();
  EXPECT_EQ(session.tvLF().Count(), 0u);
  EXPECT_EQ(session.Store().OrgCount, 0);
  EXPECT_TRUE(session.Store().OrgFiles[0].empty());
  EXPECT_TRUE(session.Store().OrgFiles[1].empty());
  for (const GridTag tag : kAllGrids) {
    EXPECT_EQ(session.Grid(tag).ColCount(), 0);
    EXPECT_EQ(session.Grid(tag).RowCount(), 0);
    EXPECT_EQ(session.Grid(tag).Tag(), tag);
  }
  EXPECT_EQ(session.CurOrg(), 1);
  EXPECT_EQ(session.tcZLIndex(), 3);
  EXPECT_EQ(session.edFindFIO(), "ИВ"_w);
  EXPECT_TRUE(session.AdvShown());
  EXPECT_EQ(session.ODInitialDir(), folder);
  // The next organisation takes slot 0 again.
  Load({first});
  EXPECT_EQ(session.tvLF().TopLevel().front()->datum, 0);
  EXPECT_EQ(session.Store().OrgCount, 1);

  session.FormShow();
  EXPECT_EQ(session.CurOrg(), 0);
  session.ShowError("Range check error");
  EXPECT_EQ(messages, std::vector<std::string>{"Range check error."});
  session.FormClose();
  EXPECT_EQ(session.Store().OrgCount, 0);
}

}  // namespace
}  // namespace lorvi
