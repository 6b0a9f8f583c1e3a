#include "support/xml_files.h"

namespace lorvi::test {
namespace {

std::string Header(const Org& org, const std::string& period) {
  const std::string year = period.substr(0, 4);
  const std::string quarter = period.size() > 5 ? period.substr(5) : "";
  return "<СоставительПачки>\n<РегистрационныйНомер>" + org.regNumber +
         "</РегистрационныйНомер>\n<НаименованиеКраткое>" + org.shortName +
         "</НаименованиеКраткое>\n</СоставительПачки>\n<ОтчетныйПериод>\n<Квартал>" + quarter +
         "</Квартал>\n<Год>" + year + "</Год>\n</ОтчетныйПериод>\n";
}

std::string Amounts(const std::string& tag, const std::string& accrued, const std::string& paid) {
  return "<" + tag + ">\n<Начислено>" + accrued + "</Начислено>\n<Уплачено>" + paid +
         "</Уплачено>\n</" + tag + ">\n";
}

}  // namespace

std::string SzvFile(const Org& org, const std::string& period, const std::vector<Person>& people,
                    const std::string& formKind) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"Windows-1251\"?>\n<ФАЙЛ>\n<ВХОДЯЩАЯ_ОПИСЬ>\n" +
      Header(org, period) +
      "<СоставДокументов>\n<Количество>1</Количество>\n<НаличиеДокументов>\n"
      "<ТипДокумента>СВЕДЕНИЯ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ</ТипДокумента>\n"
      "<Количество>" +
      std::to_string(people.size()) +
      "</Количество>\n</НаличиеДокументов>\n</СоставДокументов>\n<ВидФормы>" + formKind +
      "</ВидФормы>\n</ВХОДЯЩАЯ_ОПИСЬ>\n";
  for (const Person& p : people) {
    text += "<СВЕДЕНИЯ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ>\n<ФИО>\n<Фамилия>" + p.surname +
            "</Фамилия>\n<Имя>" + p.name + "</Имя>\n<Отчество>" + p.patronymic +
            "</Отчество>\n</ФИО>\n" +
            Amounts("СуммаВзносовНаСтраховую", p.strahAccrued, p.strahPaid) +
            Amounts("СуммаВзносовНаНакопительную", p.nakopAccrued, p.nakopPaid);
    if (!p.endDate.empty())
      text += "<СтажевыйПериод>\n<ДатаКонцаПериода>" + p.endDate +
              "</ДатаКонцаПериода>\n</СтажевыйПериод>\n";
    text += "</СВЕДЕНИЯ_О_СТРАХОВЫХ_ВЗНОСАХ_И_СТРАХОВОМ_СТАЖЕ_ЗЛ>\n";
  }
  return text + "</ФАЙЛ>\n";
}

std::string AdvFile(const Org& org, const std::string& period,
                    const std::vector<Category>& categories) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"Windows-1251\"?>\n<ФАЙЛ>\n"
      "<ОПИСЬ_СВЕДЕНИЙ_ПЕРЕДАВАЕМЫХ_СТРАХОВАТЕЛЕМ>\n"
      "<ТипДокумента>ОПИСЬ_СВЕДЕНИЙ_ПЕРЕДАВАЕМЫХ_СТРАХОВАТЕЛЕМ</ТипДокумента>\n" +
      Header(org, period);
  for (const Category& c : categories)
    text +=
        "<СведенияОбИсходныхСведениях>\n<ТипСтрокиОсведениях>ПО КАТЕГОРИИ</ТипСтрокиОсведениях>\n"
        "<КодКатегории>" +
        c.code + "</КодКатегории>\n" +
        Amounts("СуммаВзносовНаСтраховую", c.strahAccrued, c.strahPaid) +
        "</СведенияОбИсходныхСведениях>\n";
  text +=
      "<СведенияОбИсходныхСведениях>\n<ТипСтрокиОсведениях>ПО "
      "СТРАХОВАТЕЛЮ</ТипСтрокиОсведениях>\n" +
      Amounts("СуммаВзносовНаСтраховую", "0", "0") + "</СведенияОбИсходныхСведениях>\n";
  return text + "</ОПИСЬ_СВЕДЕНИЙ_ПЕРЕДАВАЕМЫХ_СТРАХОВАТЕЛЕМ>\n</ФАЙЛ>\n";
}

}  // namespace lorvi::test
