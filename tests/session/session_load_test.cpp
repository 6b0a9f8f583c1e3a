#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/text1251.h"
#include "session/session.h"
#include "session/settings_file.h"
#include "support/fund_file.h"
#include "support/scratch_dir.h"
#include "support/session_fixture.h"

namespace lorvi {
namespace {

using fund::Insurer;
using fund::Person;
using fund::Row;
using V = std::vector<std::string>;

const Insurer kRomashka{"000-000-000001", "ООО &quot;Ромашка&quot;"};
const Insurer kVasilek{"000-000-000002", "АО Василёк"};
const Insurer kThird{"000-000-000003", "ИП Третий"};

class Loading : public test::SessionTest {
 protected:
  Loading() { session.SetSettingsPath(dir.PathOf("cfg/lorvi-analyser.ini")); }

  // The tree as the tool prints it: indent, caption, picture, datum, a star on the selection.
  V Tree() const {
    V out;
    for (const TreeNode* n : session.tvLF().DisplayOrder()) {
      int depth = 0;
      for (const TreeNode* p = n->parent; p; p = p->parent) ++depth;
      out.push_back(std::string(2 * depth, ' ') + Cp1251ToUtf8(n->caption) + " " +
                    std::to_string(n->picture) + " " + std::to_string(n->datum) +
                    (n == session.tvLF().Selected() ? " *" : ""));
    }
    return out;
  }

  std::string Cell(const TextGrid& grid, int col, int row) const {
    return Cp1251ToUtf8(grid.Cell(col, row));
  }
};

TEST_F(Loading, FilesGoUnderOrganisationPeriodAndKind) {
  const std::string szv = Write("b-szv.xml", fund::Records(kVasilek, "2011-2", {{"ПЕТРОВ"}}));
  const std::string adv =
      Write("a-adv.xml", fund::Inventory(kVasilek, "2011-2", {{"НР", "1", "1"}}));
  const std::string old = Write("c-szv.xml", fund::Records(kVasilek, "2010-2", {{"ПЕТРОВ"}}));
  const std::string rom = Write("d.xml", fund::Records(kRomashka, "2011-1", {{"ИВАНОВ"}}));
  const std::string spv = Write("e.xml", fund::Records(kRomashka, "2011-1", {}, "СПВ-1"));
  session.SelectTab(3);
  Load({szv, dir.PathOf("missing.xml"), adv, old, rom, spv});

  EXPECT_EQ(Tree(),
            V({"000-000-000001(ООО \"Ромашка\") 4 1 *", "  2011-1 5 1", "    СЗВ: 0 1",
               "      d.xml 8 1", "000-000-000002(АО Василёк) 4 0", "  2010-2 5 0", "    СЗВ: 0 0",
               "      c-szv.xml 8 0", "  2011-2 5 0", "    АДВ: 6 0", "      a-adv.xml 8 0",
               "    СЗВ: 0 0", "      b-szv.xml 8 0", "НЕ СМОГ ПРОЧИТАТЬ 1 1000000",
               "  e.xml 8 1000000", "  missing.xml 8 1000000"}));
  EXPECT_EQ(session.Store().OrgFiles[0], V({szv, adv, old}));
  EXPECT_EQ(session.Store().OrgFiles[1], V({rom}));
  EXPECT_FALSE(session.Store().OrgDirty[1]);  // read for the selection
  EXPECT_TRUE(session.Store().OrgDirty[0]);
  EXPECT_EQ(session.tcZLIndex(), 0);
  for (const TreeNode* n : session.tvLF().DisplayOrder()) EXPECT_TRUE(n->expanded);
  EXPECT_EQ(Cell(session.sgZLStrah(), 0, 1), "ИВАНОВ ИВАН ИВАНОВИЧ");

  // The other organisation: periods in order, whatever the order of the files.
  session.SelectNode(session.tvLF().NodeAt(4));
  EXPECT_EQ(Cell(session.sgZLStrah(), 2, 0), "2010-2 (Н ? У)");
  EXPECT_EQ(Cell(session.sgZLStrah(), 3, 0), "2011-2 (Н ? У)");
  EXPECT_EQ(Cell(session.sgZLStrah(), 0, 1), "ПЕТРОВ ИВАН ИВАНОВИЧ");
  EXPECT_EQ(Cell(session.sgADVStrah(), 0, 1), "НР");

  // The dialog's folder: read before, the first file's folder written after.
  EXPECT_EQ(dialogFolders, V({""}));
  EXPECT_EQ(session.ODInitialDir(), std::filesystem::path(szv).parent_path().string());
  EXPECT_EQ(ReadIniValue(session.SettingsPath(), "fMainMDI", "ODInitialDir", "?"),
            session.ODInitialDir());
  EXPECT_TRUE(messages.empty());
}

TEST_F(Loading, EachFileNameOnceUnderItsKind) {
  const std::string a = Write("a.xml", fund::Records(kRomashka, "2011-1", {{"ИВАНОВ", "1", "1"}}));
  std::filesystem::create_directories(dir.PathOf("other"));
  const std::string twin = Write("other/a.xml", fund::Records(kRomashka, "2011-1", {{"ПЕТРОВ"}}));
  Load({a, a, twin});
  Load({a});
  EXPECT_EQ(session.Store().OrgFiles[0], V({a}));
  EXPECT_EQ(Tree().size(), 4u);
  EXPECT_EQ(Cell(session.sgZLStrah(), 1, 1), "1 = 1");
  EXPECT_EQ(session.sgZLStrah().RowCount(), 2);
  EXPECT_EQ(dialogFolders, V({"", std::filesystem::path(a).parent_path().string()}));
}

TEST_F(Loading, ThirdOrganisationIsRefusedAndTheLoadGoesOn) {
  const std::string a = Write("a.xml", fund::Records(kRomashka, "2011-1", {{"ИВАНОВ"}}));
  const std::string b = Write("b.xml", fund::Records(kVasilek, "2011-1", {{"ПЕТРОВ"}}));
  const std::string c = Write("c.xml", fund::Records(kThird, "2011-1", {{"СИДОРОВ"}}));
  const std::string d = Write("d.xml", fund::Records(kRomashka, "2011-2", {{"ИВАНОВ"}}));
  Load({a, b, c, d});
  EXPECT_EQ(messages, V({"Файл c.xml не загружен: одновременно анализируются не более двух "
                         "организаций."}));
  EXPECT_EQ(session.Store().OrgCount, 2);
  EXPECT_EQ(session.Store().OrgFiles[0], V({a, d}));
  EXPECT_EQ(session.Store().OrgFiles[1], V({b}));
  for (const TreeNode* n : session.tvLF().DisplayOrder())
    EXPECT_TRUE(n->datum == 0 || n->datum == 1);

  // Several refused files of one load share one box, in the order they were processed.
  const std::string e = Write("e.xml", fund::Records(kThird, "2011-2", {{"СИДОРОВ"}}));
  messages.clear();
  Load({e, c});
  EXPECT_EQ(messages, V({"Не загружены файлы (2):\ne.xml\nc.xml\n"
                         "Одновременно анализируются не более двух организаций."}));
  // A long list shows ten names and counts the rest, so the box fits the screen.
  std::vector<std::string> many;
  for (int i = 1; i <= 12; ++i)
    many.push_back(
        Write("m" + std::to_string(i) + ".xml", fund::Records(kThird, "2011-1", {{"СИДОРОВ"}})));
  messages.clear();
  Load(many);
  EXPECT_EQ(messages, V({"Не загружены файлы (12):\nm1.xml\nm2.xml\nm3.xml\nm4.xml\nm5.xml\n"
                         "m6.xml\nm7.xml\nm8.xml\nm9.xml\nm10.xml\n… и ещё 2\n"
                         "Одновременно анализируются не более двух организаций."}));

  // After a clear the next organisation takes slot 0 again.
  session.sbClearFilesClick();
  Load({c});
  EXPECT_EQ(Tree().front(), "000-000-000003(ИП Третий) 4 0 *");
}

TEST_F(Loading, CancelledDialogChangesNothing) {
  session.SelectTab(2);
  session.sbLoadFilesClick([](const std::string&) { return std::nullopt; });
  EXPECT_TRUE(Tree().empty());
  EXPECT_EQ(session.tcZLIndex(), 2);
  EXPECT_FALSE(std::filesystem::exists(session.SettingsPath()));
}

TEST_F(Loading, OnlyUnreadableFilesShowNothing) {
  Load({Write("x.xml", "<nothing/>"), dir.PathOf("gone.xml")});
  EXPECT_EQ(Tree(),
            V({"НЕ СМОГ ПРОЧИТАТЬ 1 1000000 *", "  gone.xml 8 1000000", "  x.xml 8 1000000"}));
  EXPECT_EQ(session.sgZLStrah().ColCount(), 0);
  EXPECT_TRUE(messages.empty());
}

TEST_F(Loading, SelectingNodesShowsTheirOrganisation) {
  const std::string a = Write("a.xml", fund::Records(kRomashka, "2011-1", {{"ИВАНОВ", "5", "5"}}));
  const std::string b = Write("b.xml", fund::Records(kVasilek, "2011-1", {{"ПЕТРОВ", "7", "1"}}));
  Load({a, b, Write("u.xml", "")});
  ASSERT_EQ(session.CurOrg(), 0);
  const FileTree& tree = session.tvLF();

  // Unreadable nodes change nothing at all: not the marks, the grids or the tab.
  session.SelectCell(GridTag::ZLStrah, 2, 1);  // marks a.xml, the figure's source
  ASSERT_EQ(tree.NodeAt(3)->state, 10);
  const int rows = session.sgZLStrah().RowCount();
  session.SelectNode(tree.NodeAt(8));
  session.SelectNode(tree.NodeAt(9));
  EXPECT_EQ(tree.NodeAt(3)->state, 10);
  EXPECT_EQ(session.sgZLStrah().RowCount(), rows);
  session.SelectTab(2);
  session.SelectNode(tree.NodeAt(8));
  EXPECT_EQ(session.tcZLIndex(), 2);

  // A file node of the same organisation: the tab stays, the marks go, the grids fill again.
  session.SelectNode(tree.NodeAt(3));
  EXPECT_EQ(session.tcZLIndex(), 2);
  EXPECT_EQ(tree.NodeAt(3)->state, -1);

  // The other organisation: its tab is "Все", and it is read on first sight.
  session.SelectNode(tree.NodeAt(6));
  EXPECT_EQ(session.CurOrg(), 1);
  EXPECT_EQ(session.tcZLIndex(), 0);
  EXPECT_EQ(Cell(session.sgZLStrah(), 1, 1), "7 > 1 (6)");
  session.SelectTab(4);
  session.SelectNode(tree.NodeAt(0));
  EXPECT_EQ(session.tcZLIndex(), 0);
  EXPECT_EQ(Cell(session.sgZLStrah(), 1, 1), "5 = 5");
  session.SelectNode(nullptr);  // no node: nothing happens
  EXPECT_EQ(Cell(session.sgZLStrah(), 1, 1), "5 = 5");
}

TEST_F(Loading, AnotherFileMakesTheOrganisationReadAgainFromScratch) {
  const std::string a = Write("a.xml", fund::Records(kRomashka, "2011-1", {{"ИВАНОВ", "5", "5"}}));
  Load({a});
  EXPECT_EQ(Cell(session.sgZLStrah(), 1, 1), "5 = 5");
  const std::string b = Write("b.xml", fund::Records(kRomashka, "2011-1", {{"ИВАНОВ", "1", "0"}}));
  Load({b});
  EXPECT_EQ(Cell(session.sgZLStrah(), 2, 1), "6,00 > 5,00 (1)");
  EXPECT_EQ(session.Store().ZLInfo[0].SrcFile.Get(0, 0), "b.xml");

  // All files gone: the reading passes them over, shows empty tables, is done and says which.
  std::filesystem::remove(a);
  std::filesystem::remove(b);
  session.MarkUnread(0);
  session.SelectNode(session.tvLF().NodeAt(1));
  EXPECT_FALSE(session.Store().OrgDirty[0]);
  EXPECT_EQ(session.sgZLStrah().RowCount(), 1);
  EXPECT_EQ(messages, V({"Не прочитаны файлы (2):\na.xml\nb.xml\n"
                         "Они изменились или пропали после загрузки; загрузите их заново."}));
}

// A settings file kept read-only is left so, and said once a run, not after every load.
TEST_F(Loading, ASettingsFileThatCannotBeWrittenIsToldOnce) {
  const std::string ini = dir.Write("cfg/lorvi-analyser.ini", "[fMainMDI]\nODInitialDir=/a\n");
  std::filesystem::permissions(ini, std::filesystem::perms::owner_read);
  const std::string a = Write("a.xml", fund::Records(kRomashka, "2011-1", {{"ИВАНОВ"}}));
  Load({a});
  EXPECT_EQ(messages, V({"Unable to write to " + ini + "."}));
  EXPECT_EQ(Cell(session.sgZLStrah(), 0, 1), "ИВАНОВ ИВАН ИВАНОВИЧ");  // the load is complete
  messages.clear();
  Load({a});
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(ReadIniValue(ini, kSettingsSection, kSettingsKey, ""), "/a");
}

TEST_F(Loading, AFailedReadingLeavesEmptyGridsAndTriesAgainNextTime) {
  const std::string good =
      Write("a.xml", fund::Records(kRomashka, "2011-1", {{"ИВАНОВ", "5", "5"}}));
  std::string broken = fund::Records(kRomashka, "2011-2", {{"ПЕТРОВ"}, {"СИДОРОВ"}});
  broken = broken.substr(0, broken.find("<ФИО>", broken.find("ПЕТРОВ")));  // cut in the second
  const std::string bad = Write("b.xml", broken);
  Load({good, bad});
  // The tree's own report of the selection and the load's call both read and fail.
  // The message names the file among all those read.
  EXPECT_EQ(messages, V({"List index out of bounds (0)\nФайл: b.xml",
                         "List index out of bounds (0)\nФайл: b.xml"}));
  EXPECT_EQ(session.sgZLStrah().ColCount(), 0);
  EXPECT_TRUE(session.Store().OrgDirty[0]);
  EXPECT_FALSE(std::filesystem::exists(session.SettingsPath()));  // the load did not complete

  messages.clear();
  session.SelectNode(session.tvLF().NodeAt(2));
  EXPECT_EQ(messages, V({"List index out of bounds (0)\nФайл: b.xml"}));
  EXPECT_TRUE(session.Store().OrgDirty[0]);
}

}  // namespace
}  // namespace lorvi
