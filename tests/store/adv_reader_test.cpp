#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/lorvi_error.h"
#include "base/text1251.h"
#include "store/adv_reader.h"
#include "support/fund_file.h"
#include "support/scratch_dir.h"

namespace lorvi {
namespace {

using test::W;

std::string Amounts(const std::string& tag, const std::string& accrued, const std::string& paid) {
  return "<" + tag + ">\n<Начислено>" + accrued + "</Начислено>\n<Уплачено>" + paid +
         "</Уплачено>\n</" + tag + ">\n";
}

std::string Category(const std::string& codeLine, const std::string& body) {
  return "<СведенияОбИсходныхСведениях>\n<ТипСтрокиОсведениях>ПО "
         "КАТЕГОРИИ</ТипСтрокиОсведениях>\n" +
         codeLine + "\n" + body + "</СведенияОбИсходныхСведениях>\n";
}

std::string Insurer(const std::string& body) {
  return "<СведенияОбИсходныхСведениях>\n<ТипСтрокиОсведениях>ПО "
         "СТРАХОВАТЕЛЮ</ТипСтрокиОсведениях>\n" +
         body + "</СведенияОбИсходныхСведениях>\n";
}

// An inventory with the tests' own rows in place of the builder's.
std::string Inventory(const std::string& rows) {
  fund::InventoryFile file;
  file.period = "2011-1";
  const std::string text = fund::Text(file);
  return text.substr(0, text.find("    <СведенияОбИсходныхСведениях>")) + rows +
         text.substr(text.find("    </ОПИСЬ_СВЕДЕНИЙ_ПЕРЕДАВАЕМЫХ_СТРАХОВАТЕЛЕМ>"));
}

const std::string kStrah = "СуммаВзносовНаСтраховую";
const std::string kNakop = "СуммаВзносовНаНакопительную";

class ADVReader : public ::testing::Test {
 protected:
  ADVReader() { NewOrgSlot(store); }

  std::string Read(const std::string& utf8, const std::string& period) {
    const std::string path = dir.WriteXml("a" + std::to_string(files++) + ".xml", utf8);
    try {
      ReadADVFile(store, 0, path, period);
    } catch (const LorviError& e) {
      return e.what();
    }
    return "";
  }

  // One line per row: key, then accrued/paid of both parts in `column`.
  std::vector<std::string> Table(int column) {
    std::vector<std::string> out;
    const TInfo& info = store.ADVInfo[0];
    for (std::size_t r = 0; r < info.Rows.Count(); ++r) {
      const int row = static_cast<int>(r);
      const std::string& entry = info.Rows[r];
      out.push_back(Cp1251ToUtf8(entry.substr(0, entry.rfind('=')) + " " +
                                 info.StrahN.Get(row, column) + "/" + info.StrahU.Get(row, column) +
                                 " " + info.NakopN.Get(row, column) + "/" +
                                 info.NakopU.Get(row, column)));
    }
    return out;
  }

  ScratchDir dir;
  OrgStore store;
  int files = 0;
};

using V = std::vector<std::string>;

TEST_F(ADVReader, CategoryAndInsurerRows) {
  ASSERT_EQ(
      Read(Inventory(
               Category("<КодКатегории>НР</КодКатегории>", Amounts(kStrah, "5000.00", "4000.00")) +
               Insurer(Amounts(kStrah, "5000.00", "5000.00") + Amounts(kNakop, "10", "9.99"))),
           "2011-1"),
      "");
  EXPECT_EQ(Table(0), V({"НР 5000,00/4000,00 0/0", "ПО СТРАХОВАТЕЛЮ 5000,00/5000,00 10,00/9,99"}));
  EXPECT_TRUE(store.ADVInfo[0].Dismissed.empty());
  EXPECT_EQ(store.ADVInfo[0].SrcFile.Get(0, 0), "zu");
  EXPECT_EQ(store.ZLInfo[0].Rows.Count(), 0u);
}

TEST_F(ADVReader, RowsAddUpAcrossBlocksAndFiles) {
  const std::string one = Inventory(
      Category("<КодКатегории>НР</КодКатегории>",
               Amounts(kStrah, "1", "1") + Amounts(kStrah, "2", "2")) +
      Category("<КодКатегории>нр</КодКатегории>", Amounts(kNakop, "3", "3")) +
      // Another type of row adds nothing, not even a row.
      "<СведенияОбИсходныхСведениях>\n<ТипСтрокиОсведениях>ИТОГО</ТипСтрокиОсведениях>\n" +
      Amounts(kStrah, "100", "100") + "</СведенияОбИсходныхСведениях>\n" +
      // A category without its code line makes the row with the empty key.
      Category("<Другое/>", Amounts(kStrah, "4", "4")));
  ASSERT_EQ(Read(one, "2011-2"), "");
  ASSERT_EQ(Read(one, "2011-2"), "");
  EXPECT_EQ(Table(0), V({"НР 6,00/6,00 6,00/6,00", " 8,00/8,00 0/0"}));
}

TEST_F(ADVReader, LineOrderOfTheBlockScan) {
  // The paid line of an insurance block is tested for the funded tag, and for the block's end.
  const std::string packed =
      "<СведенияОбИсходныхСведениях>\n<ТипСтрокиОсведениях>ПО СТРАХОВАТЕЛЮ</ТипСтрокиОсведениях>\n"
      "<СуммаВзносовНаСтраховую>\n<Начислено>1</Начислено>\n"
      "<Уплачено>2</Уплачено><СуммаВзносовНаНакопительную>\n<Начислено>3</Начислено>\n"
      "<Уплачено>4</Уплачено></СведенияОбИсходныхСведениях>\n"
      "<СуммаВзносовНаСтраховую>\n<Начислено>100</Начислено>\n<Уплачено>100</Уплачено>\n";
  // The type line itself is never tested for an amount tag.
  const std::string typeLine =
      "<СведенияОбИсходныхСведениях>\n<ТипСтрокиОсведениях>ПО КАТЕГОРИИ</ТипСтрокиОсведениях>"
      "<СуммаВзносовНаСтраховую>\n<КодКатегории>ВП</КодКатегории>\n<Начислено>7</Начислено>\n"
      "<Уплачено>7</Уплачено>\n</СведенияОбИсходныхСведениях>\n";
  ASSERT_EQ(Read(Inventory(packed + typeLine), "2011-1"), "");
  EXPECT_EQ(Table(0), V({"ПО СТРАХОВАТЕЛЮ 1,00/2,00 3,00/4,00", "ВП 0/0 0/0"}));
}

TEST_F(ADVReader, EndsAtTheDocumentsClosingTagAndFailsWithoutIt) {
  ASSERT_EQ(Read(Inventory("") + Insurer(Amounts(kStrah, "1", "1")), "2011-1"), "");
  EXPECT_TRUE(Table(0).empty());
  // An inventory without any taken row still has its period.
  EXPECT_EQ(store.ADVInfo[0].Periods.Entries(), V({"2011-1=0"}));

  // Without the closing tag the reader asks for the line after the last: the file's line count.
  EXPECT_EQ(Read("<a>\n<b>\n<c>\n", "2011-2"), "List index out of bounds (3)");
  EXPECT_EQ(Read("", "2011-2"), "List index out of bounds (0)");
  EXPECT_EQ(Read(Insurer(Amounts(kStrah, "1", "1")), "2011-3"), "List index out of bounds (7)");
  EXPECT_EQ(Read("<ТипСтрокиОсведениях>ПО КАТЕГОРИИ</ТипСтрокиОсведениях>", "2011-4"),
            "List index out of bounds (1)");
  EXPECT_EQ(Read("<ТипСтрокиОсведениях>ПО СТРАХОВАТЕЛЮ</ТипСтрокиОсведениях>\n"
                 "<СуммаВзносовНаСтраховую>\n<Начислено>1</Начислено>\n",
                 "2012-1"),
            "List index out of bounds (3)");
  // What was read before the error stays; the insurer's row of the 2011-3 file is there.
  EXPECT_EQ(store.ADVInfo[0].StrahN.Get(0, 2), "1,00");
  EXPECT_EQ(Read(std::string(1 << 20, 'x'), "2012-2"), "List index out of bounds (1)");

  const std::string missing = dir.PathOf("gone.xml");
  try {
    ReadADVFile(store, 0, missing, "2012-3");
    FAIL();
  } catch (const LorviError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + missing);
  }
  for (const char* period : {"2013-1", "2013-2", "2013-3", "2013-4"})
    EXPECT_THROW(ReadADVFile(store, 0, missing, period), LorviError);
  // A missing file still gives its period a column, the twelfth as any other.
  EXPECT_THROW(ReadADVFile(store, 0, missing, "2014-1"), LorviError);
  EXPECT_EQ(store.ADVInfo[0].Periods.Count(), 12u);
  EXPECT_EQ(PeriodColumn(store.ADVInfo, 0, "2014-1"), 11);
}

}  // namespace
}  // namespace lorvi
