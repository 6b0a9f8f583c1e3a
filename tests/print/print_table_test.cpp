#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text1251.h"
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

class Printing : public test::SessionTest {
 protected:
  V Names(const PrintJob& job) const {
    V out;
    for (const PrintRecord& r : job.records) out.push_back(Cp1251ToUtf8(r.FIO));
    return out;
  }
};

TEST_F(Printing, OneRecordPerRowWithALinePerColumn) {
  EXPECT_FALSE(session.sbPrintClick().has_value());  // nothing selected: nothing to print
  Load({dir.WriteXml("a.xml",
                     fund::Records(Insurer(), "2011-1", {Person("ИВАНОВ", "300", "200")}))});
  const auto job = session.sbPrintClick();
  ASSERT_TRUE(job);
  EXPECT_EQ(Cp1251ToUtf8(job->FIO), "ФИО");
  EXPECT_EQ(Cp1251ToUtf8(job->OrgName), "000-000-000001(ООО \"Ромашка\")");
  EXPECT_EQ(Cp1251ToUtf8(job->XMLType), "Застрахованные лица");
  EXPECT_EQ(Cp1251ToUtf8(job->TabName), "Все");
  ASSERT_EQ(job->records.size(), 1u);
  EXPECT_EQ(Cp1251ToUtf8(job->records[0].MoneyS),
            "Итого: (Н ? У) : 300 > 200 (100)\r2011-1 (Н ? У) : 300,00 > 200,00 (100)\r");
  EXPECT_EQ(Cp1251ToUtf8(job->records[0].MoneyN),
            "Итого: (Н ? У) : 0 = 0\r2011-1 (Н ? У) : 0,00 = 0,00\r");
}

TEST_F(Printing, ViewTabAndOrderOfRecords) {
  const Insurer org;
  Person leaver("ЯКОВЛЕВ", "1", "1");
  leaver.end = "01.01.2011";
  Load({dir.WriteXml("a.xml", fund::Records(org, "2011-1",
                                            {Person("БОРИСОВ"), Person("АНДРЕЕВ"),
                                             Person("аврамов", "5", "5"), leaver})),
        dir.WriteXml("b.xml", fund::Inventory(org, "2011-1", {{"НР", "1", "1"}}))});
  // Letter case does not count in the order.
  EXPECT_EQ(Names(*session.sbPrintClick()), V({"аврамов ИВАН ИВАНОВИЧ", "АНДРЕЕВ ИВАН ИВАНОВИЧ",
                                               "БОРИСОВ ИВАН ИВАНОВИЧ", "ЯКОВЛЕВ ИВАН ИВАНОВИЧ"}));

  session.SelectTab(3);
  auto job = session.sbPrintClick();
  EXPECT_EQ(Names(*job), V({"ЯКОВЛЕВ ИВАН ИВАНОВИЧ (2011-1)"}));
  EXPECT_EQ(Cp1251ToUtf8(job->TabName), "Уволенные");

  session.sbADVClick();
  job = session.sbPrintClick();
  EXPECT_EQ(Cp1251ToUtf8(job->FIO), "Категории");
  EXPECT_EQ(Cp1251ToUtf8(job->XMLType), "Опись сведенний");
  EXPECT_EQ(job->TabName, "");
  EXPECT_EQ(Names(*job), V({"НР", "ПО СТРАХОВАТЕЛЮ"}));
}

TEST_F(Printing, EmptyGridsLongValuesAndTheUnreadableRoot) {
  // Eleven periods: the lines are kept whole, well past 500 characters.
  std::vector<std::string> files;
  for (int p = 0; p < 11; ++p)
    files.push_back(dir.WriteXml(
        "p" + std::to_string(p) + ".xml",
        fund::Records(Insurer(), std::to_string(2011 + p / 4) + "-" + std::to_string(p % 4 + 1),
                      {Person("ИВАНОВ", "123456.78", "123456.70")})));
  files.push_back(dir.WriteXml("u.xml", "nothing"));
  Load(files);
  auto job = session.sbPrintClick();
  ASSERT_EQ(job->records.size(), 1u);
  EXPECT_GT(job->records[0].MoneyS.size(), 500u);
  EXPECT_EQ(std::count(job->records[0].MoneyS.begin(), job->records[0].MoneyS.end(), '\r'), 12);

  // The unreadable root selected: its caption names the print, the grids print as they stand.
  session.SelectNode(session.tvLF().TopLevel().back());
  job = session.sbPrintClick();
  EXPECT_EQ(Cp1251ToUtf8(job->OrgName), "НЕ СМОГ ПРОЧИТАТЬ");
  EXPECT_EQ(job->records.size(), 1u);

  // No data rows: an empty table. No periods: records without money lines.
  session.SelectNode(session.tvLF().TopLevel().front());
  session.SelectTab(1);
  EXPECT_TRUE(session.sbPrintClick()->records.empty());
  session.sbADVClick();  // no inventories: a single empty cell
  EXPECT_TRUE(session.sbPrintClick()->records.empty());
}

}  // namespace
}  // namespace lorvi
