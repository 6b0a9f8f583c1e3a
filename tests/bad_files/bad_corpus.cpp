#include "bad_corpus.h"

#include <cstdint>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "base/text1251.h"
#include "intake/tag_value.h"

namespace lorvi::bad {
namespace {

namespace fs = std::filesystem;

struct Org {
  std::string regNumber;
  std::string shortName;  // as the file carries it, entities included
};

const Org kOrgA{"087-101-000101", "ООО &quot;ЛОРВИ-ТЕСТ&quot;"};
const Org kOrgB{"087-101-000102", "МУП ВОДОКАНАЛ"};
const Org kOrgC{"087-101-000103", "ЗАО СТРОЙКА"};

struct Person {
  std::string surname;
  std::string firstName = "ИВАН";
  std::string patronymic = "ИВАНОВИЧ";
  std::string strahAccrued = "1000.00";
  std::string strahPaid = "1000.00";
  std::optional<std::string> endDate;  // none: the last day of the period
};

struct Period {
  int year = 2011;
  int quarter = 1;
  std::string LastDay() const {
    static const char* const kEnds2010[] = {"30.06.", "31.12."};
    static const char* const kEnds[] = {"31.03.", "30.06.", "30.09.", "31.12."};
    return std::string(year == 2010 ? kEnds2010[quarter - 1] : kEnds[quarter - 1]) +
           std::to_string(year);
  }
  std::string FirstDay() const {
    const int month = (quarter - 1) * (year == 2010 ? 6 : 3) + 1;
    return (month < 10 ? "01.0" : "01.") + std::to_string(month) + "." + std::to_string(year);
  }
};

Person Named(std::string surname) {
  Person p;
  p.surname = std::move(surname);
  return p;
}

// An individual-records file. `count` replaces the number of records in the header;
// without the count lines the header has no "Количество" at all.
struct RecordsFile {
  Org org = kOrgA;
  Period period;
  std::vector<Person> people;
  std::optional<std::string> count;
  bool countLines = true;
};

std::string Head(const std::string& fileName) {
  return "<?xml version=\"1.0\" encoding=\"Windows-1251\"?>\n"
         "<ФАЙЛ>\n"
         "  <ИмяФайла>" +
         fileName +
         "</ИмяФайла>\n"
         "  <ПачкаВходящихДокументов Окружение=\"В составе файла\" Стадия=\"До обработки\">\n";
}

std::string Insurer(const Org& org) {
  return "      <СоставительПачки>\n"
         "        <РегистрационныйНомер>" +
         org.regNumber +
         "</РегистрационныйНомер>\n"
         "        <НаименованиеКраткое>" +
         org.shortName +
         "</НаименованиеКраткое>\n"
         "      </СоставительПачки>\n";
}

std::string PeriodBlock(const Period& period, const std::string& indent) {
  return indent + "<ОтчетныйПериод>\n" + indent + "  <Квартал>" + std::to_string(period.quarter) +
         "</Квартал>\n" + indent + "  <Год>" + std::to_string(period.year) + "</Год>\n" + indent +
         "</ОтчетныйПериод>\n";
}

std::string Amounts(const std::string& tag, const std::string& accrued, const std::string& paid,
                    const std::string& indent) {
  return indent + "<" + tag + ">\n" + indent + "  <Начислено>" + accrued + "</Начислено>\n" +
         indent + "  <Уплачено>" + paid + "</Уплачено>\n" + indent + "</" + tag + ">\n";
}

std::string Record(const Person& p, const Period& period, int number) {
  return "    <СВЕДЕНИЯ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ>\n"
         "      <НомерВпачке>" +
         std::to_string(number) +
         "</НомерВпачке>\n"
         "      <ФИО>\n"
         "        <Фамилия>" +
         p.surname + "</Фамилия>\n        <Имя>" + p.firstName + "</Имя>\n        <Отчество>" +
         p.patronymic +
         "</Отчество>\n"
         "      </ФИО>\n" +
         PeriodBlock(period, "      ") +
         Amounts("СуммаВзносовНаСтраховую", p.strahAccrued, p.strahPaid, "      ") +
         Amounts("СуммаВзносовНаНакопительную", "0.00", "0.00", "      ") +
         "      <СтажевыйПериод>\n"
         "        <НомерСтроки>1</НомерСтроки>\n"
         "        <ДатаНачалаПериода>" +
         period.FirstDay() + "</ДатаНачалаПериода>\n        <ДатаКонцаПериода>" +
         p.endDate.value_or(period.LastDay()) +
         "</ДатаКонцаПериода>\n"
         "      </СтажевыйПериод>\n"
         "    </СВЕДЕНИЯ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ>\n";
}

// UTF-8, LF.
std::string RecordsText(const RecordsFile& f, const std::string& fileName) {
  const std::string count = f.count.value_or(std::to_string(f.people.size()));
  std::string text = Head(fileName) +
                     "    <ВХОДЯЩАЯ_ОПИСЬ>\n"
                     "      <НомерВпачке>1</НомерВпачке>\n"
                     "      <ТипВходящейОписи>ОПИСЬ ПАЧКИ</ТипВходящейОписи>\n" +
                     Insurer(f.org) + "      <СоставДокументов>\n";
  if (f.countLines) text += "        <Количество>1</Количество>\n";
  text +=
      "        <НаличиеДокументов>\n"
      "          <ТипДокумента>СВЕДЕНИЯ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ</ТипДокумента>\n";
  if (f.countLines) text += "          <Количество>" + count + "</Количество>\n";
  text +=
      "        </НаличиеДокументов>\n"
      "      </СоставДокументов>\n"
      "      <ВидФормы>СЗВ-6-1</ВидФормы>\n" +
      PeriodBlock(f.period, "      ") + "    </ВХОДЯЩАЯ_ОПИСЬ>\n";
  int number = 2;
  for (const Person& p : f.people) text += Record(p, f.period, number++);
  return text + "  </ПачкаВходящихДокументов>\n</ФАЙЛ>\n";
}

struct Category {
  std::string code;
  std::string accrued;
  std::string paid;
};

std::string InventoryRow(const std::string& type, const std::string* code,
                         const std::string& accrued, const std::string& paid) {
  std::string text =
      "      <СведенияОбИсходныхСведениях>\n"
      "        <ТипСтрокиОсведениях>" +
      type + "</ТипСтрокиОсведениях>\n";
  if (code) text += "        <КодКатегории>" + *code + "</КодКатегории>\n";
  return text + Amounts("СуммаВзносовНаСтраховую", accrued, paid, "        ") +
         Amounts("СуммаВзносовНаНакопительную", "0.00", "0.00", "        ") +
         "      </СведенияОбИсходныхСведениях>\n";
}

std::string InventoryText(const Org& org, const Period& period,
                          const std::vector<Category>& categories,
                          const std::string& insurerAccrued, const std::string& insurerPaid,
                          const std::string& fileName, bool closingTag) {
  std::string text =
      Head(fileName) +
      "    <ОПИСЬ_СВЕДЕНИЙ_ПЕРЕДАВАЕМЫХ_СТРАХОВАТЕЛЕМ>\n"
      "      <ТипДокумента>ОПИСЬ_СВЕДЕНИЙ_ПЕРЕДАВАЕМЫХ_СТРАХОВАТЕЛЕМ</ТипДокумента>\n"
      "      <НомерВпачке>1</НомерВпачке>\n" +
      Insurer(org) + PeriodBlock(period, "      ");
  for (const Category& c : categories)
    text += InventoryRow("ПО КАТЕГОРИИ", &c.code, c.accrued, c.paid);
  text += InventoryRow("ПО СТРАХОВАТЕЛЮ", nullptr, insurerAccrued, insurerPaid);
  if (closingTag) text += "    </ОПИСЬ_СВЕДЕНИЙ_ПЕРЕДАВАЕМЫХ_СТРАХОВАТЕЛЕМ>\n";
  return text + "  </ПачкаВходящихДокументов>\n</ФАЙЛ>\n";
}

// The bytes of a fund file: code page 1251, CR LF.
std::string FundBytes(std::string_view utf8) {
  return ReplaceAll(Utf8ToCp1251(utf8), "\n", "\r\n");
}

// The bytes up to the end of the line that holds the `occurrence`-th (from 1) `marker` at or
// after the first `after`; with `midLine`, up to `midLine` bytes into the marker instead.
std::string CutAt(const std::string& bytes, std::string_view markerUtf8, int occurrence,
                  std::string_view afterUtf8 = {}, std::optional<std::size_t> midLine = {}) {
  const std::string marker = Utf8ToCp1251(markerUtf8);
  std::size_t at = afterUtf8.empty() ? 0 : bytes.find(Utf8ToCp1251(afterUtf8));
  for (int n = 0; n < occurrence && at != std::string::npos; ++n)
    at = bytes.find(marker, n == 0 ? at : at + 1);
  if (at == std::string::npos) throw std::logic_error("marker not found");
  if (midLine) return bytes.substr(0, at + *midLine);
  return bytes.substr(0, bytes.find("\r\n", at) + 2);
}

std::string Utf16LeWithBom(std::string_view utf8) {
  std::string out = "\xFF\xFE";
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    char32_t cp = lead;
    std::size_t extra = lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (extra) cp = lead & (extra == 2 ? 0x0Fu : 0x1Fu);
    for (std::size_t k = 1; k <= extra; ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
    i += extra + 1;
    out += static_cast<char>(cp & 0xFF);
    out += static_cast<char>((cp >> 8) & 0xFF);
  }
  return out;
}

void WriteBytes(const fs::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::vector<Person> Staff(int n) {
  static const char* const kSurnames[] = {"АНДРЕЕВ", "БОРИСОВ", "ВАСИЛЬЕВ", "ГРИГОРЬЕВ",
                                          "ДМИТРИЕВ"};
  std::vector<Person> people;
  for (int i = 0; i < n; ++i) people.push_back(Named(kSurnames[i % 5]));
  return people;
}

// 50 surnames x 10 first names x 10 patronymics, all distinct.
std::vector<Person> ManyPersons(int n) {
  static const char* const kSurnames[] = {
      "АБРАМОВ",    "АНДРЕЕВ",  "БАРАНОВ",  "БЕЛОВ",     "БОГДАНОВ", "БОРИСОВ",   "ВАСИЛЬЕВ",
      "ВИНОГРАДОВ", "ВОЛКОВ",   "ВОРОБЬЕВ", "ГЕРАСИМОВ", "ГОЛУБЕВ",  "ГРИГОРЬЕВ", "ГУСЕВ",
      "ДАВЫДОВ",    "ДМИТРИЕВ", "ЕГОРОВ",   "ЕФИМОВ",    "ЖУКОВ",    "ЗАЙЦЕВ",    "ЗАХАРОВ",
      "ИВАНОВ",     "ИЛЬИН",    "КИСЕЛЕВ",  "КОВАЛЕВ",   "КОЗЛОВ",   "КОМАРОВ",   "КУЗНЕЦОВ",
      "ЛЕБЕДЕВ",    "МАКАРОВ",  "МЕДВЕДЕВ", "МИХАЙЛОВ",  "МОРОЗОВ",  "НИКИТИН",   "НИКОЛАЕВ",
      "ОРЛОВ",      "ПАВЛОВ",   "ПЕТРОВ",   "ПОПОВ",     "РОМАНОВ",  "СЕМЕНОВ",   "СЕРГЕЕВ",
      "СМИРНОВ",    "СОКОЛОВ",  "СОРОКИН",  "СТЕПАНОВ",  "ТАРАСОВ",  "ФЕДОРОВ",   "ФРОЛОВ",
      "ЯКОВЛЕВ"};
  static const char* const kFirstNames[] = {"АЛЕКСАНДР", "АЛЕКСЕЙ", "АНДРЕЙ", "ВИКТОР", "ДМИТРИЙ",
                                            "ИВАН",      "ИГОРЬ",   "ОЛЕГ",   "ПАВЕЛ",  "СЕРГЕЙ"};
  static const char* const kPatronymics[] = {
      "АЛЕКСАНДРОВИЧ", "АЛЕКСЕЕВИЧ", "АНДРЕЕВИЧ", "ВИКТОРОВИЧ", "ДМИТРИЕВИЧ",
      "ИВАНОВИЧ",      "ИГОРЕВИЧ",   "ОЛЕГОВИЧ",  "ПАВЛОВИЧ",   "СЕРГЕЕВИЧ"};
  std::vector<Person> people;
  for (int i = 0; i < n; ++i) {
    Person p = Named(kSurnames[i % 50]);
    p.firstName = kFirstNames[(i / 50) % 10];
    p.patronymic = kPatronymics[(i / 500) % 10];
    p.strahAccrued = p.strahPaid = std::to_string(1000 + i % 997) + ".00";
    people.push_back(p);
  }
  return people;
}

}  // namespace

std::vector<std::string> WriteSmallCorpus(const fs::path& dir) {
  fs::create_directories(dir);
  std::vector<std::string> names;
  const auto write = [&](const std::string& name, std::string_view bytes) {
    WriteBytes(dir / name, bytes);
    names.push_back(name);
  };
  const auto records = [&](const std::string& name, const RecordsFile& f) {
    write(name, FundBytes(RecordsText(f, name)));
  };

  RecordsFile three;
  three.people = Staff(3);
  {
    const std::string full = FundBytes(RecordsText(three, "trunc-record.XML"));
    // Cut inside the second person's patronymic line, which then has no line end.
    write("trunc-record.XML", CutAt(full, "<Отчество>", 2, {}, 5));
  }
  {
    const std::string full = FundBytes(RecordsText(three, "trunc-amount.XML"));
    // Accrued is there, paid is not.
    write("trunc-amount.XML", CutAt(full, "<Начислено>", 1, "<Фамилия>" + three.people[1].surname));
  }
  write("trunc-header.XML",
        CutAt(FundBytes(RecordsText(three, "trunc-header.XML")), "</Квартал>", 1));

  RecordsFile counts = three;
  counts.countLines = false;
  records("no-count.XML", counts);
  counts.countLines = true;
  counts.count = "два";
  records("count-word.XML", counts);
  counts.count = "";
  records("count-empty.XML", counts);
  counts.count = "-2";
  records("count-negative.XML", counts);
  counts.count = "5";
  records("count-above.XML", counts);

  write("adv-no-closing.XML",
        FundBytes(InventoryText(kOrgA, {2011, 1},
                                {{"НР", "5000.00", "4000.00"}, {"ВП", "7.00", "7.00"}}, "5007.00",
                                "4007.00", "adv-no-closing.XML", false)));

  RecordsFile amounts;
  for (const auto& [surname, accrued] :
       {std::pair{"АВДЕЕВ", "1 000.00"}, std::pair{"БЕЛОВ", "1,5"}, std::pair{"ВОЛКОВ", ""},
        std::pair{"ГУСЕВ", "???"}, std::pair{"ДЕНИСОВ", "1e400"}, std::pair{"ЕГОРОВ", "1.5E3"},
        std::pair{"ЖУКОВ", " 12.5 "}}) {
    Person p = Named(surname);
    p.strahAccrued = accrued;
    p.strahPaid = "100.00";
    amounts.people.push_back(p);
  }
  records("amounts.XML", amounts);

  for (const auto& [name, date] :
       {std::pair{"date-feb31.XML", "31.02.2011"}, std::pair{"date-empty.XML", ""},
        std::pair{"date-iso.XML", "2011-03-31"}}) {
    RecordsFile dated;
    dated.people = Staff(2);
    dated.people[1].endDate = date;
    records(name, dated);
  }

  const Period periods[] = {{2010, 1}, {2010, 2}, {2011, 1}, {2011, 2}, {2011, 3}, {2011, 4},
                            {2012, 1}, {2012, 2}, {2012, 3}, {2012, 4}, {2013, 1}, {2013, 2}};
  int n = 1;
  for (const Period& period : periods) {
    RecordsFile one;
    one.period = period;
    one.people = Staff(1);
    const std::string number = (n < 10 ? "0" : "") + std::to_string(n);
    ++n;
    records("period-" + number + "-" + std::to_string(period.year) + "-" +
                std::to_string(period.quarter) + ".XML",
            one);
  }

  for (const auto& [name, org] : {std::pair{"org-a.XML", kOrgA}, std::pair{"org-b.XML", kOrgB},
                                  std::pair{"org-c.XML", kOrgC}}) {
    RecordsFile one;
    one.org = org;
    one.people = Staff(1);
    records(name, one);
  }

  RecordsFile encoded;
  encoded.people = Staff(2);
  const std::string utf8 = ReplaceAll(
      ReplaceAll(RecordsText(encoded, "utf8.XML"), "Windows-1251", "UTF-8"), "\n", "\r\n");
  write("utf8.XML", utf8);
  write("utf16.XML", Utf16LeWithBom(ReplaceAll(
                         ReplaceAll(RecordsText(encoded, "utf16.XML"), "Windows-1251", "UTF-16"),
                         "\n", "\r\n")));
  write("empty.XML", "");
  std::string binary;
  std::uint32_t state = 12345;
  for (int i = 0; i < 4096; ++i) {
    state = state * 1103515245u + 12345u;
    binary += static_cast<char>(state >> 24);
  }
  write("binary.XML", binary);
  return names;
}

bool WriteLargeFile(const std::string& name, const fs::path& file) {
  if (name == kLongLine) {
    RecordsFile f;
    f.people = Staff(2);
    std::string line = ReplaceAll(FundBytes(RecordsText(f, name)), "\r\n", "");
    line.resize(std::size_t{50} << 20, ' ');
    WriteBytes(file, line);
    return true;
  }
  if (name == kPersons5000) {
    RecordsFile f;
    f.people = ManyPersons(5000);
    WriteBytes(file, FundBytes(RecordsText(f, name)));
    return true;
  }
  return false;
}

}  // namespace lorvi::bad
