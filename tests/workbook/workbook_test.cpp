#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/lorvi_error.h"
#include "base/text1251.h"
#include "support/session_fixture.h"
#include "view/filter_tabs.h"
#include "workbook/reconciliation.h"
#include "workbook/workbook_xlsx.h"

namespace lorvi {
namespace {

TEST(ReconciliationFigures, ComparisonTextsReadBackAsTheGridWroteThem) {
  struct Case {
    const char* text;
    std::optional<std::int64_t> accrued, paid;
    Verdict verdict;
  };
  const Case cases[] = {
      {"1234,56 > 1000,00 (234,56)", 12345600, 10000000, Verdict::kAccruedAbove},
      {"500 < 750.5 (250,5)", 5000000, 7505000, Verdict::kPaidAbove},  // stored with a point
      {"1000.01 = 1000", 10000100, 10000000, Verdict::kEqual},
      {"0 = 0", 0, 0, Verdict::kEqual},
      {"-12,50 < 0,00 (12,5)", -125000, 0, Verdict::kPaidAbove},
      {"1,5E3 = 1500,00", 15000000, 15000000, Verdict::kEqual},
      {"???", std::nullopt, std::nullopt, Verdict::kEqual},
      {"", std::nullopt, std::nullopt, Verdict::kEqual},
  };
  for (const Case& c : cases) {
    const Comparison read = ParseComparison(c.text, ',');
    EXPECT_EQ(read.accrued, c.accrued) << c.text;
    EXPECT_EQ(read.paid, c.paid) << c.text;
    EXPECT_EQ(read.verdict, c.verdict) << c.text;
  }
}

// The samples' first organisation, as the window shows it after a load.
class Workbook : public test::SessionTest {
 protected:
  void LoadSamples() {
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(LORVI_SAMPLES_DIR))
      if (entry.path().extension() == ".XML") paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    Load(paths);
    ASSERT_TRUE(messages.empty());
  }
  // A grid's rows as lorvi-check prints them: cells joined by tabs, UTF-8.
  std::string GridFile(const std::string& name, const TextGrid& grid) {
    std::string text;
    for (int r = 0; r < grid.RowCount(); ++r) {
      for (int c = 0; c < grid.ColCount(); ++c)
        text += (c ? "\t" : "") + Cp1251ToUtf8(grid.Cell(c, r));
      text += "\n";
    }
    return dir.Write(name, text);
  }
  std::string WriteUnder(const char* locale, const std::string& name) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    EXPECT_NE(std::setlocale(LC_ALL, locale), nullptr)
        << locale << " is missing: localedef -i ru_RU -f UTF-8 ru_RU.UTF-8 (./lorvi.sh makes it)";
    const auto reconciliation = session.ReconciliationShown("09.12.2026");
    EXPECT_TRUE(reconciliation.has_value());
    const std::string path = dir.PathOf(name);
    if (reconciliation) WriteReconciliationWorkbook(*reconciliation, path, 1796774400);
    std::setlocale(LC_ALL, saved.c_str());
    return path;
  }
};

TEST_F(Workbook, NothingShownNothingToWrite) {
  EXPECT_FALSE(session.ReconciliationShown("09.12.2026"));
  LoadSamples();
  EXPECT_TRUE(session.ReconciliationShown("09.12.2026"));
  session.sbClearFilesClick();
  EXPECT_FALSE(session.ReconciliationShown("09.12.2026"));
}

TEST_F(Workbook, SummaryListsTheOrganisationAndItsFiles) {
  LoadSamples();
  session.SelectTab(3);
  const auto r = session.ReconciliationShown("09.12.2026");
  ASSERT_TRUE(r);
  EXPECT_EQ(Cp1251ToUtf8(r->organisation), "087-101-001885(ООО \"РОМАШКА\")");
  EXPECT_EQ(Cp1251ToUtf8(r->view), "Застрахованные лица");
  EXPECT_EQ(Cp1251ToUtf8(r->tab), "Уволенные");
  ASSERT_FALSE(r->files.empty());
  EXPECT_EQ(Cp1251ToUtf8(r->files.front().period), "2010-1");
  EXPECT_EQ(Cp1251ToUtf8(r->files.front().kind), "АДВ:");
  // Leavers carry their period, as the grid shows them.
  ASSERT_FALSE(r->insurance.rows.empty());
  EXPECT_EQ(r->insurance.rows.front().title, session.sgZLStrah().Cell(0, 1));
  EXPECT_EQ(Cp1251ToUtf8(ReconciliationFileName(*r)),
            "Сверка 087-101-001885 Застрахованные лица 2026-12-09.xlsx");

  session.sbADVClick();
  const auto adv = session.ReconciliationShown("09.12.2026");
  ASSERT_TRUE(adv);
  EXPECT_EQ(adv->tab, "");
  EXPECT_EQ(adv->insurance.rows.size(),
            static_cast<std::size_t>(session.sgADVStrah().RowCount() - 1));
}

// Every figure of the grids, as a reader that is none of ours finds it in the file written under
// a comma locale; the same file under C.
TEST_F(Workbook, FiguresAreTheGridsUnderEveryLocale) {
  LoadSamples();
  session.SelectTab(1);  // paid above accrued: unreadable figures and totals of both colours
  session.SelectTab(0);
  const std::string comma = WriteUnder("ru_RU.UTF-8", "сверка.xlsx");
  const std::string point = WriteUnder("C.UTF-8", "сверка-c.xlsx");
  const std::string command = std::string(LORVI_PYTHON3) + " " LORVI_WORKBOOK_READER " '" + comma +
                              "' '" + point + "' '" + GridFile("strah.tsv", session.sgZLStrah()) +
                              "' '" + GridFile("nakop.tsv", session.sgZLNakop()) + "' ,";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;

  // A spreadsheet program recalculates the last rows' sums and finds what the file carries.
  const std::string recalc = std::string(LORVI_PYTHON3) + " " LORVI_WORKBOOK_RECALC " " +
                             LORVI_SOFFICE + " '" + comma + "'";
  EXPECT_EQ(std::system(recalc.c_str()), 0) << recalc;
}

TEST_F(Workbook, AFileThatCannotBeWrittenIsAMessage) {
  LoadSamples();
  const auto r = session.ReconciliationShown("09.12.2026");
  ASSERT_TRUE(r);
  const std::string path = dir.PathOf("нет такой папки/сверка.xlsx");
  try {
    WriteReconciliationWorkbook(*r, path, 0);
    ADD_FAILURE() << "written";
  } catch (const LorviError& e) {
    EXPECT_EQ(Cp1251ToUtf8(e.what()),
              "Не удалось записать сверку в файл " + path + ": нет такой папки");
  }
}

}  // namespace
}  // namespace lorvi
