#include "support/fund_file.h"

#include <fstream>
#include <stdexcept>

#include "base/text1251.h"
#include "intake/tag_value.h"

namespace lorvi::fund {
namespace {

constexpr std::string_view kRecordTag = "СВЕДЕНИЯ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ";
constexpr std::string_view kInventoryTag = "ОПИСЬ_СВЕДЕНИЙ_ПЕРЕДАВАЕМЫХ_СТРАХОВАТЕЛЕМ";
constexpr std::string_view kBatchTag = "ПачкаВходящихДокументов";

class Lines {
 public:
  Lines() { out_ = "<?xml version=\"1.0\" encoding=\"Windows-1251\"?>\n"; }

  void Open(std::string_view name, std::string_view attributes = {}) {
    Line("<" + std::string(name) + (attributes.empty() ? "" : " ") + std::string(attributes) + ">");
    ++depth_;
  }
  void Close(std::string_view name) {
    --depth_;
    Line("</" + std::string(name) + ">");
  }
  void Leaf(std::string_view name, std::string_view value) {
    Line("<" + std::string(name) + ">" + std::string(value) + "</" + std::string(name) + ">");
  }
  void Leaf(std::string_view name, std::size_t value) { Leaf(name, std::to_string(value)); }

  std::string Text() && { return std::move(out_); }

 private:
  void Line(const std::string& text) {
    out_.append(static_cast<std::size_t>(depth_) * 2, ' ');
    out_ += text;
    out_ += '\n';
  }
  std::string out_;
  int depth_ = 0;
};

std::string_view YearOf(std::string_view period) { return period.substr(0, period.find('-')); }

std::string_view QuarterOf(std::string_view period) {
  const std::size_t dash = period.find('-');
  return dash == std::string_view::npos ? std::string_view{} : period.substr(dash + 1);
}

// Both file kinds open alike and differ from the pack's first document on.
void OpenFile(Lines& x, std::string_view name) {
  x.Open("ФАЙЛ");
  x.Leaf("ИмяФайла", name);
  x.Open(kBatchTag, "Окружение=\"В составе файла\" Стадия=\"До обработки\"");
}

void CloseFile(Lines& x) {
  x.Close(kBatchTag);
  x.Close("ФАЙЛ");
}

void PeriodElement(Lines& x, std::string_view period) {
  x.Open("ОтчетныйПериод");
  x.Leaf("Квартал", QuarterOf(period));
  x.Leaf("Год", YearOf(period));
  x.Close("ОтчетныйПериод");
}

void InsurerElement(Lines& x, const Insurer& insurer) {
  x.Open("СоставительПачки");
  x.Leaf("РегистрационныйНомер", insurer.regNumber);
  x.Leaf("НаименованиеКраткое", insurer.shortName);
  x.Close("СоставительПачки");
}

void AmountBlock(Lines& x, std::string_view name, const Amounts& amounts) {
  x.Open(name);
  x.Leaf("Начислено", amounts.accrued);
  x.Leaf("Уплачено", amounts.paid);
  x.Close(name);
}

void RecordElement(Lines& x, const Person& p, std::string_view period, std::size_t number) {
  x.Open(kRecordTag);
  x.Leaf("НомерВпачке", number);
  if (!p.insuranceNumber.empty()) x.Leaf("СтраховойНомер", p.insuranceNumber);
  x.Open("ФИО");
  x.Leaf("Фамилия", p.surname);
  x.Leaf("Имя", p.firstName);
  x.Leaf("Отчество", p.patronymic);
  x.Close("ФИО");
  PeriodElement(x, period);
  AmountBlock(x, "СуммаВзносовНаСтраховую", p.insurance);
  AmountBlock(x, "СуммаВзносовНаНакопительную", p.funded);
  x.Open("СтажевыйПериод");
  x.Leaf("НомерСтроки", 1);
  x.Leaf("ДатаНачалаПериода", p.start ? *p.start : FirstDay(period));
  x.Leaf("ДатаКонцаПериода", p.end ? *p.end : LastDay(period));
  x.Close("СтажевыйПериод");
  x.Close(kRecordTag);
}

void RowElement(Lines& x, const Row& row, bool category) {
  x.Open("СведенияОбИсходныхСведениях");
  x.Leaf("ТипСтрокиОсведениях", category ? "ПО КАТЕГОРИИ" : "ПО СТРАХОВАТЕЛЮ");
  if (category) x.Leaf("КодКатегории", row.code);
  AmountBlock(x, "СуммаВзносовНаСтраховую", row.insurance);
  if (row.funded) AmountBlock(x, "СуммаВзносовНаНакопительную", *row.funded);
  x.Close("СведенияОбИсходныхСведениях");
}

}  // namespace

std::string Text(const RecordsFile& file) {
  Lines x;
  OpenFile(x, file.name);
  x.Open("ВХОДЯЩАЯ_ОПИСЬ");
  x.Leaf("НомерВпачке", 1);
  x.Leaf("ТипВходящейОписи", "ОПИСЬ ПАЧКИ");
  InsurerElement(x, file.insurer);
  x.Open("СоставДокументов");
  x.Leaf("Количество", 1);
  x.Open("НаличиеДокументов");
  x.Leaf("ТипДокумента", kRecordTag);
  x.Leaf("Количество", file.count ? *file.count : std::to_string(file.people.size()));
  x.Close("НаличиеДокументов");
  x.Close("СоставДокументов");
  x.Leaf("ВидФормы", file.formKind);
  PeriodElement(x, file.period);
  x.Close("ВХОДЯЩАЯ_ОПИСЬ");
  // The pack's inventory is its first document.
  std::size_t number = 2;
  for (const Person& p : file.people) RecordElement(x, p, file.period, number++);
  CloseFile(x);
  return std::move(x).Text();
}

std::string Text(const InventoryFile& file) {
  Lines x;
  OpenFile(x, file.name);
  x.Open(kInventoryTag);
  x.Leaf("ТипДокумента", kInventoryTag);
  x.Leaf("НомерВпачке", 1);
  InsurerElement(x, file.insurer);
  PeriodElement(x, file.period);
  for (const Row& row : file.categories) RowElement(x, row, true);
  RowElement(x, file.total, false);
  x.Close(kInventoryTag);
  CloseFile(x);
  return std::move(x).Text();
}

std::string Records(const Insurer& insurer, std::string period, std::vector<Person> people,
                    std::string formKind) {
  return Text(
      RecordsFile{{}, insurer, std::move(period), std::move(people), std::move(formKind), {}});
}

std::string Inventory(const Insurer& insurer, std::string period, std::vector<Row> categories) {
  return Text(
      InventoryFile{{}, insurer, std::move(period), std::move(categories), {"", {"0", "0"}, {}}});
}

std::string Bytes(std::string_view utf8) { return ReplaceAll(Utf8ToCp1251(utf8), "\n", "\r\n"); }

std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string FirstDay(std::string_view period) {
  const int quarter = std::stoi(std::string(QuarterOf(period)));
  const int month = (quarter - 1) * (YearOf(period) == "2010" ? 6 : 3) + 1;
  return (month < 10 ? "01.0" : "01.") + std::to_string(month) + "." + std::string(YearOf(period));
}

std::string LastDay(std::string_view period) {
  static const char* const kEnds2010[] = {"30.06.", "31.12."};
  static const char* const kEnds[] = {"31.03.", "30.06.", "30.09.", "31.12."};
  const int quarter = std::stoi(std::string(QuarterOf(period)));
  const std::string_view year = YearOf(period);
  return std::string(year == "2010" ? kEnds2010[quarter - 1] : kEnds[quarter - 1]) +
         std::string(year);
}

void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace lorvi::fund
