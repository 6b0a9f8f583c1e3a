#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/lorvi_error.h"
#include "base/text1251.h"
#include "store/amount_block.h"
#include "store/zl_reader.h"
#include "support/fund_file.h"
#include "support/piece_text.h"
#include "support/scratch_dir.h"

namespace lorvi {
namespace {

using test::W;

// A pack's header with the count given; the records after it are the tests' own.
std::string Head(const std::string& count) {
  fund::RecordsFile file;
  file.period = "2011-1";
  file.count = count;
  const std::string text = fund::Text(file);
  return text.substr(0, text.find("  </ПачкаВходящихДокументов>"));
}

std::string Strah(const std::string& accrued, const std::string& paid) {
  return "<СуммаВзносовНаСтраховую>\n<Начислено>" + accrued + "</Начислено>\n<Уплачено>" + paid +
         "</Уплачено>\n</СуммаВзносовНаСтраховую>\n";
}

std::string Nakop(const std::string& accrued, const std::string& paid) {
  return "<СуммаВзносовНаНакопительную>\n<Начислено>" + accrued + "</Начислено>\n<Уплачено>" +
         paid + "</Уплачено>\n</СуммаВзносовНаНакопительную>\n";
}

std::string EndDate(const std::string& date) {
  return "<СтажевыйПериод>\n<ДатаКонцаПериода>" + date + "</ДатаКонцаПериода>\n</СтажевыйПериод>\n";
}

std::string Record(const std::string& surname, const std::string& body,
                   const std::string& patronymic = "<Отчество>ИВАНОВИЧ</Отчество>") {
  return "<СВЕДЕНИЯ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ>\n"
         "<СтраховойНомер>000-000-000 00</СтраховойНомер>\n"
         "<ФИО>\n<Фамилия>" +
         surname + "</Фамилия>\n<Имя>ИВАН</Имя>\n" + patronymic + "\n</ФИО>\n" + body +
         "</СВЕДЕНИЯ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ>\n";
}

const std::string kTail = "  </ПачкаВходящихДокументов>\n</ФАЙЛ>\n";

// One slot of a store with the test's own files.
class ZLReader : public ::testing::Test {
 protected:
  ZLReader() {
    store.decimalSeparator = ',';
    NewOrgSlot(store);
  }

  std::string Write(const std::string& utf8) {
    return dir.WriteXml("f" + std::to_string(files++) + ".xml", utf8);
  }

  // Reads a file and returns the error text, empty when it read through.
  std::string Read(const std::string& path, const std::string& period) {
    try {
      ReadZLFile(store, 0, path, period);
    } catch (const LorviError& e) {
      return Cp1251ToUtf8(e.what());
    }
    return "";
  }

  int Row(const std::string& utf8Key) {
    return static_cast<int>(info().Rows.IndexOfName(W(utf8Key)));
  }
  TInfo& info() { return store.ZLInfo[0]; }
  std::string Cell(const TAAS& m, const std::string& key, int column) {
    return Cp1251ToUtf8(m.Get(Row(key), column));
  }

  ScratchDir dir;
  OrgStore store;
  int files = 0;
};

TEST_F(ZLReader, AmountsOfARecordLandInPersonAndPeriod) {
  const std::string path =
      Write(Head("2") + Record("ИВАНОВ", Strah("1000.00", "800.00") + Nakop("300", "300.5")) +
            Record("ПЕТРОВ", Strah("1", "2")) + kTail);
  ASSERT_EQ(Read(path, "2011-3"), "");
  EXPECT_EQ(info().Rows.Entries(),
            (std::vector<std::string>{W("ИВАНОВ ИВАН ИВАНОВИЧ=0"), W("ПЕТРОВ ИВАН ИВАНОВИЧ=1")}));
  EXPECT_EQ(Cell(info().StrahN, "ИВАНОВ ИВАН ИВАНОВИЧ", 0), "1000,00");
  EXPECT_EQ(Cell(info().StrahU, "ИВАНОВ ИВАН ИВАНОВИЧ", 0), "800,00");
  EXPECT_EQ(Cell(info().NakopN, "ИВАНОВ ИВАН ИВАНОВИЧ", 0), "300,00");
  EXPECT_EQ(Cell(info().NakopU, "ИВАНОВ ИВАН ИВАНОВИЧ", 0), "300,50");
  EXPECT_EQ(Cell(info().NakopN, "ПЕТРОВ ИВАН ИВАНОВИЧ", 0), "0");
  EXPECT_EQ(Cell(info().SrcFile, "ПЕТРОВ ИВАН ИВАНОВИЧ", 0), "f0.xml");
  EXPECT_EQ(Cell(info().SrcFile, "ПЕТРОВ ИВАН ИВАНОВИЧ", 1), "zu");
}

TEST_F(ZLReader, RecordsOfOnePersonAddUpAndTheLastNamesTheSource) {
  const std::string a = Write(Head("2") + Record("ИВАНОВ", Strah("100", "100")) +
                              Record("иванов", Strah("50.25", "0")) + kTail);
  const std::string b = Write(Head("1") + Record("ИВАНОВ", Strah("1", "1")) + kTail);
  ASSERT_EQ(Read(a, "2011-1"), "");
  ASSERT_EQ(Read(b, "2011-1"), "");
  EXPECT_EQ(info().Rows.Count(), 1u);
  EXPECT_EQ(Cell(info().StrahN, "ИВАНОВ ИВАН ИВАНОВИЧ", 0), "151,25");
  EXPECT_EQ(Cell(info().StrahU, "ИВАНОВ ИВАН ИВАНОВИЧ", 0), "101,00");
  EXPECT_EQ(Cell(info().SrcFile, "ИВАНОВ ИВАН ИВАНОВИЧ", 0), "f1.xml");
}

TEST_F(ZLReader, NameKeyAlwaysHasTwoSpaces) {
  const std::string path = Write(Head("3") + Record("ИВАНОВ", "", "<Отчество></Отчество>") +
                                 Record("ИВАНОВ", "", "<Пусто/>") +
                                 Record("ИВАНОВ", "", "<Отчество>И</Отчество>") + kTail);
  ASSERT_EQ(Read(path, "2011-1"), "");
  EXPECT_EQ(info().Rows.Entries(),
            (std::vector<std::string>{W("ИВАНОВ ИВАН =0"), W("ИВАНОВ ИВАН И=1")}));
}

TEST_F(ZLReader, BodyScanOrderDecidesWhichLinesAreTested) {
  // A value line one too far down: the wrong line gives an empty text, which then sticks.
  const std::string gap =
      "<СуммаВзносовНаСтраховую>\n<Лишнее/>\n<Начислено>5</Начислено>\n"
      "<Уплачено>5</Уплачено>\n</СуммаВзносовНаСтраховую>\n";
  // The paid line of an insurance block is still tested for the funded tag, and the funded
  // block's paid line for an end date.
  const std::string packed =
      "<СуммаВзносовНаСтраховую>\n<Начислено>1</Начислено>\n"
      "<Уплачено>2</Уплачено><СуммаВзносовНаНакопительную>\n<Начислено>3</Начислено>\n"
      "<Уплачено>4</Уплачено><ДатаКонцаПериода>01.01.2011</ДатаКонцаПериода>\n";
  // An accrued line is never tested itself, not even for the closing tag.
  const std::string hidden =
      Strah("7", "7") +
      "<СуммаВзносовНаНакопительную>\n"
      "<Начислено>8</Начислено><ДатаКонцаПериода>01.01.2011</ДатаКонцаПериода>\n"
      "<Уплачено>8</Уплачено>\n";
  const std::string path =
      Write(Head("3") + Record("А", gap) + Record("Б", packed) + Record("В", hidden) + kTail);
  ASSERT_EQ(Read(path, "2011-1"), "");
  EXPECT_EQ(Cell(info().StrahN, "А ИВАН ИВАНОВИЧ", 0), "");
  EXPECT_EQ(Cell(info().StrahU, "А ИВАН ИВАНОВИЧ", 0), "");
  EXPECT_EQ(Cell(info().NakopN, "Б ИВАН ИВАНОВИЧ", 0), "3,00");
  EXPECT_EQ(Cell(info().NakopU, "Б ИВАН ИВАНОВИЧ", 0), "4,00");
  EXPECT_EQ(info().Dismissed.at(Row("Б ИВАН ИВАНОВИЧ")), "1|2011-1=0");
  EXPECT_EQ(Cell(info().NakopU, "В ИВАН ИВАНОВИЧ", 0), "8,00");
  EXPECT_EQ(info().Dismissed.size(), 2u);
}

TEST_F(ZLReader, RecordsBeyondTheCountAreIgnoredAndZeroReadsNone) {
  const std::string extra =
      Write(Head("1") + Record("А", Strah("1", "1")) + Record("Б", Strah("1", "1")) + kTail);
  ASSERT_EQ(Read(extra, "2011-1"), "");
  EXPECT_EQ(info().Rows.Count(), 1u);
  for (const char* count : {"0", "-3"}) {
    ASSERT_EQ(Read(Write(Head(count) + Record("В", "") + kTail), "2012-1"), "");
    EXPECT_EQ(info().Rows.Count(), 1u);
  }
  // The period got its column anyway, and the periods are sorted after each file.
  EXPECT_EQ(info().Periods.Entries(), (std::vector<std::string>{"2011-1=0", "2012-1=1"}));
}

TEST_F(ZLReader, DismissalUsesThePeriodOfTheColumnBeingRead) {
  const auto file = [&](const std::string& surname, const std::string& date) {
    return Write(Head("1") + Record(surname, EndDate(date)) + kTail);
  };
  ASSERT_EQ(Read(file("А", "15.09.2011"), "2011-3"), "");
  ASSERT_EQ(Read(file("Б", "30.09.2011"), "2011-3"), "");
  EXPECT_EQ(info().Dismissed, (std::vector<std::string>{"1|2011-3=0"}));

  // Columns 0 and 1 with the sorted list 2011-1=1, 2011-3=0; then 2011-3 again.
  ASSERT_EQ(Read(file("В", "01.01.2011"), "2011-1"), "");
  ASSERT_EQ(Read(file("Г", "29.09.2011"), "2011-3"), "");
  EXPECT_EQ(info().Dismissed.at(Row("Г ИВАН ИВАНОВИЧ")), "1|2011-3=0");
  EXPECT_EQ(info().Dismissed.at(Row("В ИВАН ИВАНОВИЧ")), "1|2011-1=1");

  // Row 2 was marked while one entry existed: entry 1 became an empty one.
  EXPECT_EQ(info().Dismissed,
            (std::vector<std::string>{"1|2011-3=0", "", "1|2011-1=1", "1|2011-3=0"}));
  // A later mark replaces the earlier; a date not before the end leaves it.
  ASSERT_EQ(Read(file("А", "31.12.2011"), "2011-4"), "");
  ASSERT_EQ(Read(file("В", "5.9.2011"), "2011-3"), "");
  EXPECT_EQ(info().Dismissed[0], "1|2011-3=0");
  EXPECT_EQ(info().Dismissed[2], "1|2011-3=0");
}

TEST(EndsBeforePeriodEnd, PeriodEndsByYearAndQuarter) {
  EXPECT_TRUE(EndsBeforePeriodEnd("29.06.2010", "2010-1=0"));
  EXPECT_FALSE(EndsBeforePeriodEnd("30.06.2010", "2010-1=0"));
  EXPECT_TRUE(EndsBeforePeriodEnd("30.12.2010", "2010-2=3"));
  EXPECT_FALSE(EndsBeforePeriodEnd("31.12.2010", "2010-2=3"));
  EXPECT_TRUE(EndsBeforePeriodEnd("30.03.2011", "2011-1=0"));
  EXPECT_FALSE(EndsBeforePeriodEnd("31.03.2011", "2011-1=0"));
  EXPECT_TRUE(EndsBeforePeriodEnd("29.06.2012", "2012-2=0"));
  EXPECT_TRUE(EndsBeforePeriodEnd("29.09.2013", "2013-3=0"));
  EXPECT_FALSE(EndsBeforePeriodEnd("30.09.2013", "2013-3=0"));
  EXPECT_TRUE(EndsBeforePeriodEnd("30.12.3000", "3000-4=10"));
  EXPECT_FALSE(EndsBeforePeriodEnd("01.01.2012", "2011-4=0"));
  EXPECT_TRUE(EndsBeforePeriodEnd("1.1.2011", "2011-4=0"));
  EXPECT_TRUE(EndsBeforePeriodEnd(" 29.02.2012 ", "2012-1=0"));
  // Periods without an end never read the date.
  for (const char* entry : {"2010-3=0", "2009-4=0", "3001-1=0", "2011-5=0", "2011-=0", "abcd-1=0"})
    EXPECT_FALSE(EndsBeforePeriodEnd("not a date", entry)) << entry;
}

TEST(EndsBeforePeriodEnd, DatesThatAreNotDatesFail) {
  for (const char* bad : {"31.02.2011", "", "2011-03-31", "29.02.2011", "1.1.11", "01.13.2011",
                          "00.01.2011", "01.01.2011x", "111.1.2011"}) {
    try {
      EndsBeforePeriodEnd(bad, "2011-1=0");
      ADD_FAILURE() << bad;
    } catch (const LorviError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + std::string(bad) + "' is not a valid date");
    }
  }
}

TEST_F(ZLReader, ErrorTextsNameThePositionAskedFor) {
  const std::string record = Record("А", Strah("1", "1"));
  struct Case {
    std::string file, error;
  };
  const std::vector<Case> cases = {
      {"<ФАЙЛ>\n</ФАЙЛ>\n", "List index out of bounds (0)"},
      {Head("1"), "List index out of bounds (0)"},
      {Head("2") + record, "List index out of bounds (0)"},
      {Head("1") + "<СВЕДЕНИЯ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ>\n<Фамилия/>\n",
       "List index out of bounds (0)"},
      {Head("1") +
           "<СВЕДЕНИЯ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ>\n<ФИО>\n<Фамилия>А</Фамилия>\n",
       "List index out of bounds (0)"},
      // Missing closing line: the body scan runs past the last line, counted from the patronymic.
      {Head("1") +
           "<СВЕДЕНИЯ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ>\n<ФИО>\n<Фамилия>А</Фамилия>\n"
           "<Имя>Б</Имя>\n<Отчество>В</Отчество>\n</ФИО>\n",
       "List index out of bounds (2)"},
      {Head("1") +
           "<СВЕДЕНИЯ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ>\n<ФИО>\n<Фамилия>А</Фамилия>\n"
           "<Имя>Б</Имя>\n<Отчество>В</Отчество>\n<СуммаВзносовНаСтраховую>\n<Начислено>1</"
           "Начислено>\n",
       "List index out of bounds (3)"},
      {Head(""), "'' is not a valid integer value"},
      {Head("два"), "'два' is not a valid integer value"},
      {Head("1.0"), "'1.0' is not a valid integer value"},
      {Head("99999999999"), "'99999999999' is not a valid integer value"},
      {Head("1") + Record("А", EndDate("31.02.2011")), "'31.02.2011' is not a valid date"},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(Write(c.file), "2011-1"), c.error) << c.file;

  // What was read before the error stays.
  EXPECT_EQ(Cell(info().StrahN, "А ИВАН ИВАНОВИЧ", 0), "1,00");
  EXPECT_EQ(Cell(info().StrahN, "А Б В", 0), "1,00");

  const std::string missing = dir.PathOf("gone.xml");
  EXPECT_EQ(Read(missing, "2012-4"), "Cannot open file " + missing);
  EXPECT_EQ(info().Periods.IndexOfName("2012-4"), 1);  // the column came before the opening
}

TEST_F(ZLReader, FilesWithoutTheLayoutEndCleanly) {
  std::string utf16;
  for (const char c : W(Head("1") + Record("А", "") + kTail)) {
    utf16 += c;
    utf16 += '\0';
  }
  EXPECT_EQ(Read(dir.Write("u16.xml", utf16), "2011-1"), "List index out of bounds (0)");
  EXPECT_EQ(Read(dir.Write("u8.xml", Head("1") + Record("А", "") + kTail), "2011-1"),
            "List index out of bounds (0)");
  EXPECT_EQ(Read(dir.Write("empty.xml", ""), "2011-1"), "List index out of bounds (0)");
  EXPECT_EQ(Read(dir.Write("line.xml", std::string(10 << 20, '<')), "2011-1"),
            "List index out of bounds (0)");
  EXPECT_EQ(Read(Write(Head("2147483647") + Record("А", "") + kTail), "2011-1"),
            "List index out of bounds (0)");
}

TEST_F(ZLReader, ReadingLetsMessagesThroughAfterEachRecord) {
  int calls = 0;
  const std::string path =
      Write(Head("3") + Record("А", "") + Record("Б", "") + Record("В", "") + kTail);
  ReadZLFile(store, 0, path, "2011-1", [&] { ++calls; });
  EXPECT_EQ(calls, 3);
}

// The readers' shortcut for value lines gives what ExtractTagValue gives, on any line made of
// tags, slashes, blanks and the name itself.
TEST(TagValueView, AgreesWithExtractTagValue) {
  const std::string name = W("Начислено");
  const std::string pieces[] = {"<", "</", ">", " ", "\t", "/", "1.5", name, name.substr(0, 4),
                                "x"};
  test::PieceText texts(7);
  for (int n = 0; n < 20000; ++n) {
    std::string line = texts.Next(pieces, n % 9 + 1);
    if (n % 3 == 0) line = " <" + name + ">" + line + "</" + name + ">" + line;
    std::string scratch = "?", slow = "?";
    ExtractTagValue(line, name, slow);
    EXPECT_EQ(TagValueView(line, name, scratch), slow) << line;
  }
}

TEST_F(ZLReader, MorePersonsThanEverBeforeAreReadWhole) {
  std::string body;
  for (int i = 0; i < 6000; ++i) body += Record("П" + std::to_string(i), Strah("1", "1"));
  const std::string path = Write(Head("6000") + body + kTail);
  EXPECT_EQ(Read(path, "2011-1"), "");
  EXPECT_EQ(info().Rows.Count(), 6000u);
  EXPECT_EQ(Cell(info().StrahN, "П5999 ИВАН ИВАНОВИЧ", 0), "1,00");
}

}  // namespace
}  // namespace lorvi
