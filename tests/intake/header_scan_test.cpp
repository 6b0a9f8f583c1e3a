#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/lorvi_error.h"
#include "base/text1251.h"
#include "intake/header_scan.h"
#include "support/scratch_dir.h"

namespace lorvi {
namespace {

using test::W;

struct Scan {
  bool ok;
  std::string title, period, kind;
  bool operator==(const Scan&) const = default;
};

Scan ScanOf(const std::string& path) {
  HeaderInfo info{"x", "y", "z", "w"};
  const bool ok = ScanHeader(path, info);
  return {ok, info.orgTitle, info.periodKey, info.kind};
}

std::string Header(const std::string& docType, const std::string& formKindLine,
                   const std::string& quarter = "<Квартал>2</Квартал>") {
  return "<?xml version=\"1.0\" encoding=\"Windows-1251\"?>\n"
         "  <НаименованиеКраткое>ООО &quot;Ромашка&quot;</НаименованиеКраткое>\n"
         "  <РегистрационныйНомер>000-000-000001</РегистрационныйНомер>\n"
         "  " +
         quarter +
         "\n"
         "  <Год>2010</Год>\n"
         "  <ТипДокумента>" +
         docType + "</ТипДокумента>\n" + formKindLine + "\n<Тело>\n</Тело>\n";
}

const Scan kFailed{false, "", "", ""};

// Why the scan does not take the file (UTF-8), as the tree's tooltip says it.
std::string WhyNot(const std::string& path) {
  HeaderInfo info;
  return ScanHeader(path, info) ? "(classified)" : Cp1251ToUtf8(info.reason);
}

TEST(ScanHeader, ClassifiesRecordsAndInventories) {
  ScratchDir dir;
  EXPECT_EQ(ScanOf(dir.WriteXml("a.xml", Header("СВЕДЕНИЯ", "<ВидФормы>СЗВ-6-1</ВидФормы>"))),
            (Scan{true, W("000-000-000001(ООО \"Ромашка\")"), "2010-2", W("СЗВ:")}));
  EXPECT_EQ(ScanOf(dir.WriteXml("b.xml", Header("ОПИСЬ_СВЕДЕНИЙ_ПЕРЕДАВАЕМЫХ_СТРАХОВАТЕЛЕМ", ""))),
            (Scan{true, W("000-000-000001(ООО \"Ромашка\")"), "2010-2", W("АДВ:")}));
  // An inventory that carries a form kind counts as records; СПВ-1 is never readable.
  EXPECT_EQ(ScanOf(dir.WriteXml("c.xml", Header("ОПИСЬ_СВЕДЕНИЙ_ПЕРЕДАВАЕМЫХ_СТРАХОВАТЕЛЕМ",
                                                "<ВидФормы>СЗВ-6-2</ВидФормы>")))
                .kind,
            W("СЗВ:"));
  EXPECT_EQ(ScanOf(dir.WriteXml("d.xml", Header("СВЕДЕНИЯ", "<ВидФормы>СПВ-1</ВидФормы>"))),
            kFailed);
  EXPECT_EQ(ScanOf(dir.WriteXml("e.xml", Header("СВЕДЕНИЯ", ""))), kFailed);
  // Five elements with the inventory's type, whichever is missing.
  EXPECT_EQ(ScanOf(dir.WriteXml("f.xml", Header("ОПИСЬ_СВЕДЕНИЙ_ПЕРЕДАВАЕМЫХ_СТРАХОВАТЕЛЕМ",
                                                "<ВидФормы>СЗВ-6-1</ВидФормы>", "")))
                .kind,
            W("АДВ:"));
}

TEST(ScanHeader, CountsFindsNotValues) {
  ScratchDir dir;
  // An empty quarter counts as found: the period key is the year and "-".
  EXPECT_EQ(ScanOf(dir.WriteXml("a.xml", Header("СВЕДЕНИЯ", "<ВидФормы>СЗВ-6-1</ВидФормы>",
                                                "<Квартал></Квартал>")))
                .period,
            "2010-");
  // An empty value is looked for again and counts again: six finds without a form kind are
  // records, seven are not readable.
  const std::string repeated =
      "<НаименованиеКраткое>A</НаименованиеКраткое>\n"
      "<РегистрационныйНомер>1</РегистрационныйНомер>\n"
      "<Квартал></Квартал>\n"
      "<Квартал></Квартал>\n"
      "<Год>2011</Год>\n";
  EXPECT_EQ(ScanOf(dir.WriteXml("b.xml", repeated + "<ТипДокумента>T</ТипДокумента>\n")),
            (Scan{true, "1(A)", "2011-", W("СЗВ:")}));
  EXPECT_EQ(ScanOf(dir.WriteXml(
                "b2.xml", repeated + "<ТипДокумента>T</ТипДокумента><ВидФормы>Ф</ВидФормы>\n")),
            kFailed);
  // Two finds on one line take the count from 5 to 7 at once.
  EXPECT_EQ(ScanOf(dir.WriteXml("c.xml",
                                "<НаименованиеКраткое>A</НаименованиеКраткое>\n"
                                "<РегистрационныйНомер>1</РегистрационныйНомер>\n"
                                "<Квартал>1</Квартал>\n"
                                "<Год></Год>\n"
                                "<ТипДокумента>T</ТипДокумента>\n"
                                "<Год>2011</Год><ВидФормы>СЗВ-6-1</ВидФормы>\n")),
            kFailed);
  // Values come from the first lines that carry them; the scan stops at the sixth find.
  const Scan first =
      ScanOf(dir.WriteXml("d.xml", Header("СВЕДЕНИЯ", "<ВидФормы>СЗВ-6-1</ВидФормы>") +
                                       "<Год>2099</Год>\n<Квартал>9</Квартал>\n"));
  EXPECT_EQ(first.period, "2010-2");
}

// Large files classify as small ones do, wherever their header elements stand: before, across
// or after the first 16 KiB, and with a NUL that ends the text among them.
TEST(ScanHeader, LargeFilesScanAsSmallOnes) {
  ScratchDir dir;
  const std::string records = Header("СВЕДЕНИЯ", "<ВидФормы>СЗВ-6-1</ВидФормы>");
  const std::string inventory = Header("ОПИСЬ_СВЕДЕНИЙ_ПЕРЕДАВАЕМЫХ_СТРАХОВАТЕЛЕМ", "");
  // A tag in the filler: without one in the first 16 KiB a file is not XML (tested below).
  const std::string filler = "<x>" + std::string(30, 'x');
  std::string lines;
  while (lines.size() < 20000) lines += filler + "\r\n";
  const std::string late = records + "<Год>2099</Год>\n";
  int n = 0;
  for (const std::string& text : {records, inventory, late}) {
    const Scan small = ScanOf(dir.WriteXml("s" + std::to_string(n) + ".xml", text));
    ASSERT_TRUE(small.ok);
    const std::size_t third = text.find('\n', text.find('\n', text.find('\n') + 1) + 1) + 1;
    for (const std::string& big :
         {text + lines, lines + text, lines.substr(0, 16370) + text + lines,
          text.substr(0, third) + lines + text.substr(third)}) {
      const std::string name = "b" + std::to_string(n++) + ".xml";
      EXPECT_EQ(ScanOf(dir.WriteXml(name, big)), small) << name;
    }
  }
  // The form kind beyond a NUL is not there: the file reads as an inventory-less record set.
  const std::string cut = records.substr(0, records.find("<ВидФормы>"));
  EXPECT_EQ(ScanOf(dir.Write("nul.xml", test::W(cut) + lines + std::string(1, '\0') +
                                            test::W("<ВидФормы>СЗВ-6-1</ВидФормы>\n"))),
            kFailed);
  EXPECT_TRUE(ScanOf(dir.Write("nul2.xml", test::W(records) + lines + std::string(1, '\0'))).ok);
}

TEST(ScanHeader, UnreadableFiles) {
  ScratchDir dir;
  const std::string records = Header("СВЕДЕНИЯ", "<ВидФормы>СЗВ-6-1</ВидФормы>");
  const std::string inventory = Header("ОПИСЬ_СВЕДЕНИЙ_ПЕРЕДАВАЕМЫХ_СТРАХОВАТЕЛЕМ", "");
  const auto without = [](std::string text, const std::string& element) {
    const auto at = text.find("<" + element + ">");
    return text.erase(at, text.find('\n', at) - at);
  };
  std::filesystem::create_directory(dir.PathOf("folder.xml"));
  const struct {
    std::string path;
    const char* why;
  } cases[] = {
      {dir.PathOf("deleted.xml"), "Файл не найден"},
      {dir.PathOf("folder.xml"), "Это папка, а не файл"},
      {dir.Write("empty.xml", ""), "Файл пуст"},
      {dir.Write("utf8.xml", records),
       "Нет ни одного элемента заголовка: это не сведения ПФР или файл не в кодировке "
       "Windows-1251"},
      {dir.WriteXml("spv.xml", Header("СВЕДЕНИЯ", "<ВидФормы>СПВ-1</ВидФормы>")),
       "Форма СПВ-1: такие сведения программа не читает"},
      {dir.WriteXml("year.xml", without(records, "Год")), "Нет элемента «Год»"},
      {dir.WriteXml("two.xml", without(without(records, "Год"), "Квартал")),
       "Нет элементов «Квартал», «Год»"},
      // An inventory has no form kind to miss.
      {dir.WriteXml("inv.xml", without(inventory, "РегистрационныйНомер")),
       "Нет элемента «РегистрационныйНомер»"},
      {dir.WriteXml("form.xml", Header("СВЕДЕНИЯ", "")), "Нет элемента «ВидФормы»"},
      // Not one "<" in the first 16 KiB: not XML, and nothing further is read.
      {dir.WriteXml("late.xml", std::string(kHeaderHead, ' ') + records),
       "В начале файла нет ни одного тега: это не XML-файл"},
      {dir.WriteXml("in-time.xml", std::string(kHeaderHead - 1, ' ') + records), "(classified)"},
  };
  for (const auto& c : cases) EXPECT_EQ(WhyNot(c.path), c.why) << c.path;

  EXPECT_EQ(ScanOf(dir.PathOf("deleted.xml")), kFailed);
  EXPECT_EQ(ScanOf(dir.Write("empty.xml", "")), kFailed);
  EXPECT_EQ(ScanOf(dir.Write("binary.xml", std::string("\x01\x02\xFF\0<Год>", 9))), kFailed);
  // The same header in UTF-8 or UTF-16 holds none of the 1251 tags.
  const std::string& utf8 = records;
  EXPECT_EQ(ScanOf(dir.Write("utf8.xml", utf8)), kFailed);
  std::string utf16;
  for (const char c : utf8) {
    utf16 += c;
    utf16 += '\0';
  }
  EXPECT_EQ(ScanOf(dir.Write("utf16.xml", utf16)), kFailed);
  // The short name as written: the five predefined entities decoded in one pass, others kept.
  EXPECT_EQ(ScanOf(dir.WriteXml("amp.xml",
                                "<НаименованиеКраткое>A &amp; B &quot;&apos;&lt;&gt; &amp;quot; "
                                "&nbsp;&amp</НаименованиеКраткое>\n"
                                "<РегистрационныйНомер>1</РегистрационныйНомер>\n"
                                "<Квартал>1</Квартал>\n<Год>2011</Год>\n"
                                "<ТипДокумента>T</ТипДокумента>\n<ВидФормы>Ф</ВидФормы>\n"))
                .title,
            W("1(A & B \"'<> &quot; &nbsp;&amp)"));
}

}  // namespace
}  // namespace lorvi
