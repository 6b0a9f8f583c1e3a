#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/text1251.h"
#include "intake/load_files.h"
#include "session/session.h"
#include "support/fund_file.h"
#include "support/scratch_dir.h"
#include "support/session_fixture.h"

namespace lorvi {
namespace {

using fund::Insurer;
using fund::Person;
using test::W;
using V = std::vector<std::string>;

Person P(const std::string& surname, const std::string& sa, const std::string& sp,
         const std::string& na = "0", const std::string& np = "0", const std::string& end = "") {
  Person p(surname, sa, sp);
  p.funded.accrued = na;
  p.funded.paid = np;
  if (!end.empty()) p.end = end;
  return p;
}

class Figures : public test::SessionTest {
 protected:
  V Titles() const {
    V out;
    for (int r = 1; r < session.sgZLStrah().RowCount(); ++r)
      out.push_back(Cp1251ToUtf8(session.sgZLStrah().Cell(0, r)));
    return out;
  }

  // Captions of the marked nodes with their parents' captions.
  V Marked() const {
    V out;
    for (const TreeNode* n : session.tvLF().DisplayOrder())
      if (n->state == 10)
        out.push_back(
            Cp1251ToUtf8(n->parent->parent->caption + "/" + n->parent->caption + "/" + n->caption));
    return out;
  }
};

TEST_F(Figures, SelectingAFigureMarksItsFileAndMovesThePartner) {
  const Insurer org;
  Load({dir.WriteXml("a.xml",
                     fund::Records(org, "2011-1", {P("ИВАНОВ", "5", "5"), P("ПЕТРОВ", "1", "1")})),
        dir.WriteXml("b.xml", fund::Records(org, "2011-2", {P("ИВАНОВ", "???", "5")})),
        dir.WriteXml("c.xml", fund::Inventory(org, "2011-1", {{"НР", "1", "1"}}))});
  // Grid columns: 0 titles, 1 totals, 2 = 2011-1, 3 = 2011-2.
  session.SelectCell(GridTag::ZLStrah, 2, 2);
  EXPECT_EQ(Marked(), V({"2011-1/СЗВ:/a.xml"}));
  EXPECT_EQ(session.sgZLNakop().Col(), 2);
  EXPECT_EQ(session.sgZLNakop().Row(), 2);
  EXPECT_EQ(session.sgZLNakop().LeftCol(), 2);
  EXPECT_EQ(session.sgZLNakop().TopRow(), 2);
  EXPECT_EQ(session.sgZLStrah().Col(), 2);

  // From the funded grid too; the total column and "???" clear the mark and mark nothing.
  session.SelectCell(GridTag::ZLNakop, 3, 1);
  EXPECT_EQ(Marked(), V({"2011-2/СЗВ:/b.xml"}));
  session.SelectCell(GridTag::ZLStrah, 1, 1);
  EXPECT_TRUE(Marked().empty());
  session.SelectCell(GridTag::ZLNakop, 3, 1);
  session.SelectCell(GridTag::ZLStrah, 3, 1);  // "???"
  EXPECT_TRUE(Marked().empty());
  // A figure never read ("zu") marks nothing.
  session.SelectCell(GridTag::ZLStrah, 3, 2);
  EXPECT_TRUE(Marked().empty());

  // Inventory grids mirror and leave the mark alone.
  session.SelectCell(GridTag::ZLStrah, 2, 1);
  session.SelectCell(GridTag::ADVStrah, 2, 1);
  EXPECT_EQ(Marked(), V({"2011-1/СЗВ:/a.xml"}));
  EXPECT_EQ(session.sgADVNakop().TopRow(), 1);

  // The view buttons switch the panel and clear the mark, nothing more.
  session.sbADVClick();
  EXPECT_TRUE(session.AdvShown());
  EXPECT_EQ(Cp1251ToUtf8(session.SLabel2Caption()), "Опись сведенний");
  EXPECT_TRUE(Marked().empty());
  session.SelectCell(GridTag::ZLStrah, 2, 1);
  session.sbZLClick();
  EXPECT_FALSE(session.AdvShown());
  EXPECT_EQ(Cp1251ToUtf8(session.SLabel2Caption()), "Застрахованные лица");
  EXPECT_TRUE(Marked().empty());
  EXPECT_TRUE(messages.empty());
}

TEST_F(Figures, TheMarkStaysWithinTheOrganisationOfTheFigure) {
  const Insurer first{"000-000-000001", "A"};
  const Insurer second{"000-000-000002", "B"};
  std::filesystem::create_directories(dir.PathOf("x"));
  std::filesystem::create_directories(dir.PathOf("y"));
  // Same file name: another organisation's file first in the tree, and this organisation's
  // inventory of the same period.
  Load({dir.WriteXml("x/same.xml", fund::Records(second, "2011-1", {P("ИВАНОВ", "1", "1")})),
        dir.WriteXml("y/same.xml", fund::Inventory(first, "2011-1", {{"НР", "1", "1"}})),
        dir.WriteXml("same.xml", fund::Records(first, "2011-1", {P("ИВАНОВ", "2", "2")}))});
  ASSERT_EQ(Cp1251ToUtf8(session.tvLF().NodeAt(0)->caption), "000-000-000001(A)");
  session.SelectCell(GridTag::ZLStrah, 2, 1);
  ASSERT_EQ(Marked().size(), 1u);
  const TreeNode* marked = nullptr;
  for (const TreeNode* n : session.tvLF().DisplayOrder())
    if (n->state == 10) marked = n;
  EXPECT_EQ(marked->parent->parent->parent, session.tvLF().NodeAt(0));  // the shown organisation
  EXPECT_EQ(Cp1251ToUtf8(marked->parent->caption), "СЗВ:");

  // With the unreadable root selected the grids stay; a selection mirrors and marks nothing.
  Load({dir.WriteXml("bad.xml", "nothing")});
  session.SelectNode(session.tvLF().TopLevel().back());
  session.SelectCell(GridTag::ZLStrah, 2, 1);
  EXPECT_TRUE(Marked().empty());
}

TEST_F(Figures, TabsKeepTheirRowsInOneStablePass) {
  const Insurer org;
  Load({dir.WriteXml(
            "a.xml",
            fund::Records(
                org, "2011-3",
                {P("АЛЕКСЕЕВ", "5", "5", "1", "1"),  // equal everywhere
                 P("БОРИСОВ", "1", "2", "2", "1"),   // paid above in one part, accrued in the other
                 P("ВАСИЛЬЕВ", "3", "1", "0", "0", "15.09.2011"),
                 P("ГРИГОРЬЕВ", "3", "1", "0", "0", "30.09.2011"),
                 P("ДМИТРИЕВ", "1", "1", "???", "0"),  // unreadable only in the funded part
                 P("ЕГОРОВ", "1", "3", "0", "0", "01.07.2011")})),
        dir.WriteXml("b.xml",
                     fund::Inventory(org, "2011-3", {{"НР", "1", "1"}, {"ВП", "1", "2"}}))});
  const int allRows = session.sgZLStrah().RowCount();
  const auto pick = [&](int tab) {
    session.SelectTab(tab);
    return Titles();
  };
  EXPECT_EQ(pick(1), V({"БОРИСОВ ИВАН ИВАНОВИЧ", "ЕГОРОВ ИВАН ИВАНОВИЧ"}));
  EXPECT_EQ(pick(2),
            V({"БОРИСОВ ИВАН ИВАНОВИЧ", "ВАСИЛЬЕВ ИВАН ИВАНОВИЧ", "ГРИГОРЬЕВ ИВАН ИВАНОВИЧ"}));
  EXPECT_EQ(pick(3), V({"ВАСИЛЬЕВ ИВАН ИВАНОВИЧ (2011-3)", "ЕГОРОВ ИВАН ИВАНОВИЧ (2011-3)"}));
  EXPECT_EQ(Cp1251ToUtf8(session.sgZLNakop().Cell(0, 2)), "ЕГОРОВ ИВАН ИВАНОВИЧ (2011-3)");
  EXPECT_EQ(pick(4), V({"ДМИТРИЕВ ИВАН ИВАНОВИЧ"}));
  EXPECT_EQ(pick(3).front(), "ВАСИЛЬЕВ ИВАН ИВАНОВИЧ (2011-3)");  // one suffix, not two
  EXPECT_EQ(session.sgZLNakop().RowCount(), session.sgZLStrah().RowCount());
  EXPECT_EQ(session.sgADVStrah().RowCount(), 4);  // the inventory is never filtered

  // The search looks at the titles as the tab left them.
  session.edFindFIOChange(W("ЕГ"));
  EXPECT_EQ(session.sgZLStrah().Row(), 2);
  EXPECT_EQ(session.sgZLNakop().TopRow(), 2);
  session.SelectCell(GridTag::ZLStrah, 2,
                     2);  // a leaver's suffixed title finds no person: nothing marked
  EXPECT_TRUE(Marked().empty());

  EXPECT_EQ(pick(0).size(), static_cast<std::size_t>(allRows - 1));
  session.SelectTab(0);  // the tab already picked: nothing runs
  EXPECT_TRUE(messages.empty());
}

TEST_F(Figures, RemovingEveryoneLeavesTheTitleRow) {
  Load({dir.WriteXml("a.xml",
                     fund::Records(Insurer(), "2011-1", {P("А", "1", "1"), P("Б", "2", "2")}))});
  session.SelectTab(1);
  EXPECT_EQ(session.sgZLStrah().RowCount(), 1);
  EXPECT_EQ(session.sgZLNakop().RowCount(), 1);
  EXPECT_EQ(Cp1251ToUtf8(session.sgZLStrah().Cell(1, 0)), "Итого: (Н ? У)");
  session.edFindFIOChange(W("А"));  // no data row: row 1 is selected anyway
  EXPECT_EQ(session.sgZLStrah().Row(), 1);
}

TEST_F(Figures, FiltersUnderTheUnreadableRootWorkOnWhatTheGridsHold) {
  const Insurer org;
  Load({dir.WriteXml("a.xml", fund::Records(org, "2011-1",
                                            {P("А", "1", "2"), P("Б", "2", "1"),
                                             P("В", "1", "1", "0", "0", "01.01.2011")})),
        dir.WriteXml("u.xml", "nothing")});
  session.SelectNode(session.tvLF().TopLevel().back());
  session.SelectTab(3);  // no organisation to ask: the grids stay as they are
  EXPECT_EQ(Titles().size(), 3u);
  session.SelectTab(1);
  EXPECT_EQ(Titles(), V({"А ИВАН ИВАНОВИЧ"}));
  session.SelectTab(2);  // cumulative: nothing is left with ">"
  EXPECT_TRUE(Titles().empty());
  EXPECT_TRUE(messages.empty());
}

TEST_F(Figures, SearchByTheBeginningOfTheTitle) {
  Load({dir.WriteXml("a.xml", fund::Records(Insurer(), "2011-1",
                                            {P("ПЕТРОВ", "1", "1"), P("ИВАНОВ", "1", "1"),
                                             P("ИВАНОВА", "1", "1")}))});
  const auto row = [&](const std::string& text) {
    session.edFindFIOChange(W(text));
    EXPECT_EQ(session.sgZLNakop().Row(), session.sgZLStrah().Row());
    EXPECT_EQ(session.sgZLStrah().TopRow(), session.sgZLStrah().Row());
    EXPECT_EQ(session.sgZLStrah().Col(), 1);
    return session.sgZLStrah().Row();
  };
  EXPECT_EQ(row("И"), 2);
  EXPECT_EQ(row("ИВАНОВА"), 3);
  EXPECT_EQ(row("иванов"), 1);  // case counts
  EXPECT_EQ(row("ВАН"), 1);     // not from the middle
  EXPECT_EQ(row(""), 1);
  EXPECT_EQ(UpperCase1251(W("иванов ёж ivan")), W("ИВАНОВ ЁЖ IVAN"));
}

}  // namespace
}  // namespace lorvi
