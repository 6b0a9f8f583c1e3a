#include "bad_corpus.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "base/text1251.h"
#include "intake/tag_value.h"
#include "support/fund_file.h"

namespace lorvi::bad {
namespace {

namespace fs = std::filesystem;

const fund::Insurer kOrgA{"087-101-000101", "ООО &quot;ЛОРВИ-ТЕСТ&quot;"};
const fund::Insurer kOrgB{"087-101-000102", "МУП ВОДОКАНАЛ"};
const fund::Insurer kOrgC{"087-101-000103", "ЗАО СТРОЙКА"};

fund::Person Named(std::string surname) {
  return fund::Person(std::move(surname), "1000.00", "1000.00");
}

fund::RecordsFile Records(std::vector<fund::Person> people, std::string period = "2011-1") {
  return {"", kOrgA, std::move(period), std::move(people), "СЗВ-6-1", {}};
}

// UTF-8, LF.
std::string RecordsText(fund::RecordsFile f, const std::string& fileName) {
  f.name = fileName;
  return fund::Text(f);
}

// The text without the lines that hold `marker`.
std::string WithoutLines(const std::string& text, std::string_view marker) {
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find('\n', at) + 1;
    const std::string_view line(text.data() + at, end - at);
    if (line.find(marker) == std::string_view::npos) out += line;
    at = end;
  }
  return out;
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

std::vector<fund::Person> Staff(int n) {
  static const char* const kSurnames[] = {"АНДРЕЕВ", "БОРИСОВ", "ВАСИЛЬЕВ", "ГРИГОРЬЕВ",
                                          "ДМИТРИЕВ"};
  std::vector<fund::Person> people;
  for (int i = 0; i < n; ++i) people.push_back(Named(kSurnames[i % 5]));
  return people;
}

// 50 surnames x 10 first names x 10 patronymics, all distinct.
std::vector<fund::Person> ManyPersons(int n) {
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
  std::vector<fund::Person> people;
  for (int i = 0; i < n; ++i) {
    fund::Person p = Named(kSurnames[i % 50]);
    p.firstName = kFirstNames[(i / 50) % 10];
    p.patronymic = kPatronymics[(i / 500) % 10];
    p.insurance.accrued = p.insurance.paid = std::to_string(1000 + i % 997) + ".00";
    people.push_back(p);
  }
  return people;
}

}  // namespace

std::vector<std::string> WriteSmallCorpus(const fs::path& dir) {
  fs::create_directories(dir);
  std::vector<std::string> names;
  const auto write = [&](const std::string& name, std::string_view bytes) {
    fund::WriteBytes(dir / name, bytes);
    names.push_back(name);
  };
  const auto records = [&](const std::string& name, const fund::RecordsFile& f) {
    write(name, fund::Bytes(RecordsText(f, name)));
  };

  const fund::RecordsFile three = Records(Staff(3));
  {
    const std::string full = fund::Bytes(RecordsText(three, "trunc-record.XML"));
    // Cut inside the second person's patronymic line, which then has no line end.
    write("trunc-record.XML", CutAt(full, "<Отчество>", 2, {}, 5));
  }
  {
    const std::string full = fund::Bytes(RecordsText(three, "trunc-amount.XML"));
    // Accrued is there, paid is not.
    write("trunc-amount.XML", CutAt(full, "<Начислено>", 1, "<Фамилия>" + three.people[1].surname));
  }
  write("trunc-header.XML",
        CutAt(fund::Bytes(RecordsText(three, "trunc-header.XML")), "</Квартал>", 1));

  write("no-count.XML",
        fund::Bytes(WithoutLines(RecordsText(three, "no-count.XML"), "<Количество>")));
  fund::RecordsFile counts = three;
  for (const auto& [name, count] :
       {std::pair{"count-word.XML", "два"}, std::pair{"count-empty.XML", ""},
        std::pair{"count-negative.XML", "-2"}, std::pair{"count-above.XML", "5"}}) {
    counts.count = count;
    records(name, counts);
  }

  const auto category = [](std::string code, std::string accrued, std::string paid) {
    return fund::Row{std::move(code), {std::move(accrued), std::move(paid)}, fund::Amounts{}};
  };
  const fund::InventoryFile inventory{
      "adv-no-closing.XML",
      kOrgA,
      "2011-1",
      {category("НР", "5000.00", "4000.00"), category("ВП", "7.00", "7.00")},
      category("", "5007.00", "4007.00")};
  write("adv-no-closing.XML",
        fund::Bytes(WithoutLines(fund::Text(inventory), "</ОПИСЬ_СВЕДЕНИЙ_ПЕРЕДАВАЕМЫХ_")));

  fund::RecordsFile amounts = Records({});
  for (const auto& [surname, accrued] :
       {std::pair{"АВДЕЕВ", "1 000.00"}, std::pair{"БЕЛОВ", "1,5"}, std::pair{"ВОЛКОВ", ""},
        std::pair{"ГУСЕВ", "???"}, std::pair{"ДЕНИСОВ", "1e400"}, std::pair{"ЕГОРОВ", "1.5E3"},
        std::pair{"ЖУКОВ", " 12.5 "}})
    amounts.people.emplace_back(surname, accrued, "100.00");
  records("amounts.XML", amounts);

  for (const auto& [name, date] :
       {std::pair{"date-feb31.XML", "31.02.2011"}, std::pair{"date-empty.XML", ""},
        std::pair{"date-iso.XML", "2011-03-31"}}) {
    fund::RecordsFile dated = Records(Staff(2));
    dated.people[1].end = date;
    records(name, dated);
  }

  const char* const periods[] = {"2010-1", "2010-2", "2011-1", "2011-2", "2011-3", "2011-4",
                                 "2012-1", "2012-2", "2012-3", "2012-4", "2013-1", "2013-2"};
  int n = 1;
  for (const std::string period : periods) {
    const std::string number = (n < 10 ? "0" : "") + std::to_string(n);
    ++n;
    records("period-" + number + "-" + period + ".XML", Records(Staff(1), period));
  }

  for (const auto& [name, org] : {std::pair{"org-a.XML", kOrgA}, std::pair{"org-b.XML", kOrgB},
                                  std::pair{"org-c.XML", kOrgC}}) {
    fund::RecordsFile one = Records(Staff(1));
    one.insurer = org;
    records(name, one);
  }

  const fund::RecordsFile encoded = Records(Staff(2));
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
    std::string line = ReplaceAll(fund::Bytes(RecordsText(Records(Staff(2)), name)), "\r\n", "");
    line.resize(std::size_t{50} << 20, ' ');
    fund::WriteBytes(file, line);
    return true;
  }
  if (name == kPersons5000) {
    fund::WriteBytes(file, fund::Bytes(RecordsText(Records(ManyPersons(5000)), name)));
    return true;
  }
  if (name == kHugeNul) {
    fund::WriteBytes(file, "");
    fs::resize_file(file, std::uintmax_t{2} << 30);
    return true;
  }
  return false;
}

}  // namespace lorvi::bad
