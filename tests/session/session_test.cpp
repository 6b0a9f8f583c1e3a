#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text1251.h"
#include "session/session.h"

namespace lorvi {
namespace {

TEST(Session, ClearAllEmptiesTreeStoresAndGridsOnly) {
  Session session(',');
  std::vector<std::string> shown;
  session.SetMessageSink([&](const std::string& t) { shown.push_back(t); });
  session.FormCreate();
  session.FormShow();
  EXPECT_EQ(session.SLabel2Caption, "Застрахованные лица"_w);

  session.tvLF.AddTop("org", 4, 0);
  NewOrgSlot(session.store);
  session.store.OrgFiles[0].push_back("/a.xml");
  session.sgZLStrah.SetColCount(3);
  session.sgZLStrah.SetRowCount(3);
  session.sgADVNakop.SetColCount(2);
  session.CurOrg = 1;
  session.tcZLIndex = 3;
  session.edFindFIO = "ИВ"_w;
  session.advShown = true;
  session.ODInitialDir = "/data";

  session.sbClearFilesClick();
  EXPECT_EQ(session.tvLF.Count(), 0u);
  EXPECT_EQ(session.store.OrgCount, 0);
  EXPECT_TRUE(session.store.OrgFiles[0].empty());
  for (int tag = 0; tag < 4; ++tag) {
    EXPECT_EQ(session.Grid(tag).ColCount(), 0);
    EXPECT_EQ(session.Grid(tag).RowCount(), 0);
    EXPECT_EQ(session.Grid(tag).Tag(), tag);
  }
  EXPECT_EQ(session.CurOrg, 1);
  EXPECT_EQ(session.tcZLIndex, 3);
  EXPECT_EQ(session.edFindFIO, "ИВ"_w);
  EXPECT_TRUE(session.advShown);
  EXPECT_EQ(session.ODInitialDir, "/data");
  // The next organisation takes slot 0 again.
  EXPECT_EQ(NewOrgSlot(session.store), 0);

  session.FormShow();
  EXPECT_EQ(session.CurOrg, 0);
  session.ShowError("Range check error");
  EXPECT_EQ(shown, std::vector<std::string>{"Range check error."});
  session.FormClose();
  EXPECT_EQ(session.store.OrgCount, 0);
}

}  // namespace
}  // namespace lorvi
