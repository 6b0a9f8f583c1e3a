#include "generator/corpus.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <unordered_set>

#include "base/text1251.h"
#include "support/fund_file.h"

namespace lorvi::corpus {
namespace {

// Male forms; the female ones are derived.
constexpr std::array<std::string_view, 60> kSurnames = {
    "ИВАНОВ",      "СМИРНОВ",   "КУЗНЕЦОВ",   "ПОПОВ",    "ВАСИЛЬЕВ", "ПЕТРОВ",     "СОКОЛОВ",
    "МИХАЙЛОВ",    "НОВИКОВ",   "ФЕДОРОВ",    "МОРОЗОВ",  "ВОЛКОВ",   "АЛЕКСЕЕВ",   "ЛЕБЕДЕВ",
    "СЕМЕНОВ",     "ЕГОРОВ",    "ПАВЛОВ",     "КОЗЛОВ",   "СТЕПАНОВ", "НИКОЛАЕВ",   "ОРЛОВ",
    "АНДРЕЕВ",     "МАКАРОВ",   "НИКИТИН",    "ЗАХАРОВ",  "ЗАЙЦЕВ",   "СОЛОВЬЕВ",   "БОРИСОВ",
    "ЯКОВЛЕВ",     "ГРИГОРЬЕВ", "РОМАНОВ",    "ВОРОБЬЕВ", "СЕРГЕЕВ",  "КУЗЬМИН",    "ФРОЛОВ",
    "АЛЕКСАНДРОВ", "ДМИТРИЕВ",  "КОРОЛЕВ",    "ГУСЕВ",    "КИСЕЛЕВ",  "ИЛЬИН",      "МАКСИМОВ",
    "ПОЛЯКОВ",     "СОРОКИН",   "ВИНОГРАДОВ", "КОВАЛЕВ",  "БЕЛОВ",    "МЕДВЕДЕВ",   "АНТОНОВ",
    "ТАРАСОВ",     "ЖУКОВ",     "БАРАНОВ",    "ФИЛИППОВ", "КОМАРОВ",  "ВИШНЕВСКИЙ", "ЗАКРЕВСКИЙ",
    "КОВАЛЕНКО",   "ШЕВЧЕНКО",  "ДОЛГИХ",     "ЧЕРНЫХ",
};

constexpr std::array<std::string_view, 20> kMaleNames = {
    "АЛЕКСАНДР", "СЕРГЕЙ", "ДМИТРИЙ", "АНДРЕЙ",   "АЛЕКСЕЙ",    "МАКСИМ",  "ЕВГЕНИЙ",
    "ИВАН",      "МИХАИЛ", "НИКОЛАЙ", "ВЛАДИМИР", "ПАВЕЛ",      "ЮРИЙ",    "ВИКТОР",
    "ОЛЕГ",      "ИГОРЬ",  "РОМАН",   "АНТОН",    "КОНСТАНТИН", "ВАСИЛИЙ",
};

constexpr std::array<std::string_view, 20> kFemaleNames = {
    "ЕЛЕНА",  "ОЛЬГА",  "НАТАЛЬЯ",   "ТАТЬЯНА", "ИРИНА",   "СВЕТЛАНА", "МАРИНА",
    "ЮЛИЯ",   "АННА",   "ЕКАТЕРИНА", "ГАЛИНА",  "ЛЮДМИЛА", "НАДЕЖДА",  "ВАЛЕНТИНА",
    "ОКСАНА", "ЛАРИСА", "МАРИЯ",     "ВЕРА",    "НИНА",    "ЛЮБОВЬ",
};

// Father's names as male and female patronymics.
constexpr std::array<std::array<std::string_view, 2>, 18> kPatronymics = {{
    {"ИВАНОВИЧ", "ИВАНОВНА"},
    {"ПЕТРОВИЧ", "ПЕТРОВНА"},
    {"СЕРГЕЕВИЧ", "СЕРГЕЕВНА"},
    {"АЛЕКСАНДРОВИЧ", "АЛЕКСАНДРОВНА"},
    {"НИКОЛАЕВИЧ", "НИКОЛАЕВНА"},
    {"ВЛАДИМИРОВИЧ", "ВЛАДИМИРОВНА"},
    {"ВИКТОРОВИЧ", "ВИКТОРОВНА"},
    {"МИХАЙЛОВИЧ", "МИХАЙЛОВНА"},
    {"ЮРЬЕВИЧ", "ЮРЬЕВНА"},
    {"АНАТОЛЬЕВИЧ", "АНАТОЛЬЕВНА"},
    {"ВАСИЛЬЕВИЧ", "ВАСИЛЬЕВНА"},
    {"ДМИТРИЕВИЧ", "ДМИТРИЕВНА"},
    {"ГЕННАДЬЕВИЧ", "ГЕННАДЬЕВНА"},
    {"ОЛЕГОВИЧ", "ОЛЕГОВНА"},
    {"ПАВЛОВИЧ", "ПАВЛОВНА"},
    {"ЕВГЕНЬЕВИЧ", "ЕВГЕНЬЕВНА"},
    {"БОРИСОВИЧ", "БОРИСОВНА"},
    {"ГРИГОРЬЕВИЧ", "ГРИГОРЬЕВНА"},
}};

constexpr std::array<std::string_view, 6> kOrgNames = {
    "ООО \"РОМАШКА\"", "МУП ГОРВОДОКАНАЛ",        "ЗАО \"СЕВЕРНЫЙ ВЕТЕР\"",
    "ИП СИДОРОВ А.В.", "ОАО \"ЗАВОД МЕТАЛЛИСТ\"", "ГБУЗ ГОРОДСКАЯ БОЛЬНИЦА N 2",
};

// The inventory's order of the categories.
constexpr std::array<std::string_view, 3> kCategories = {"НР", "ВП", "ИНП"};

constexpr Kopecks kInventorySkew = 100000;  // 1000.00

std::string FemaleSurname(std::string_view male) {
  std::string s(male);
  if (s.ends_with("ИЙ")) return s.substr(0, s.size() - std::string_view("ИЙ").size()) + "АЯ";
  if (s.ends_with("ОВ") || s.ends_with("ЕВ") || s.ends_with("ИН") || s.ends_with("ЫН"))
    return s + "А";
  return s;  // -ЕНКО, -ИХ, -ЫХ do not change
}

std::string Digits(std::int64_t value, int width) {
  std::string s = std::to_string(value);
  if (static_cast<int>(s.size()) < width)
    s.insert(0, static_cast<std::size_t>(width) - s.size(), '0');
  return s;
}

std::string InsuranceNumber(std::int64_t nine) {
  const std::string d = Digits(nine, 9);
  int sum = 0;
  for (int i = 0; i < 9; ++i) sum += (d[static_cast<std::size_t>(i)] - '0') * (9 - i);
  int check = sum < 100 ? sum : sum % 101;
  if (check == 100) check = 0;
  return d.substr(0, 3) + "-" + d.substr(3, 3) + "-" + d.substr(6, 3) + " " + Digits(check, 2);
}

// Percent of the wage to the insurance and the funded part; the funded share is 6% throughout.
std::pair<int, int> Rates(int year, bool funded) {
  const int total = year == 2010 ? 20 : year == 2011 ? 26 : 22;
  return funded ? std::pair{total - 6, 6} : std::pair{total, 0};
}

Kopecks PercentOf(Kopecks base, int percent) { return (base * percent + 50) / 100; }

// `count` distinct positions of 0..n-1, in ascending order.
std::vector<std::size_t> Pick(Rng& rng, std::size_t n, std::size_t count) {
  std::vector<std::size_t> all(n);
  for (std::size_t i = 0; i < n; ++i) all[i] = i;
  count = std::min(count, n);
  for (std::size_t i = 0; i < count; ++i) std::swap(all[i], all[i + rng.Below(n - i)]);
  all.resize(count);
  std::sort(all.begin(), all.end());
  return all;
}

fund::Insurer InsurerOf(const Organisation& org) {
  return {org.regNumber, fund::Escaped(org.shortName)};
}

fund::Amounts AmountsOf(const Money& money) {
  return {FormatKopecks(money.accrued), FormatKopecks(money.paid)};
}

std::string RecordsFile(const Organisation& org, const PeriodReport& report,
                        std::string_view fileName, std::string_view formKind) {
  fund::RecordsFile file{
      std::string(fileName), InsurerOf(org), report.period.Key(), {}, std::string(formKind), {}};
  file.people.reserve(report.records.size());
  for (const Record& r : report.records) {
    const Person& p = org.staff[r.person];
    fund::Person& out = file.people.emplace_back(p.surname);
    out.insuranceNumber = p.insuranceNumber;
    out.firstName = p.firstName;
    out.patronymic = p.patronymic;
    out.insurance = AmountsOf(r.insurance);
    if (r.unknownAccrued) out.insurance.accrued = "???";
    out.funded = AmountsOf(r.funded);
    out.start = FormatDate(r.start);
    out.end = FormatDate(r.end);
  }
  return fund::Bytes(fund::Text(file));
}

// Writes the organisation's records of each period, each followed by its inventory when asked.
void WriteReports(const Organisation& org, const std::vector<PeriodReport>& reports,
                  bool inventories, const std::vector<bool>& skewed,
                  const std::filesystem::path& dir, int& number, std::vector<CorpusFile>& out,
                  int perFile = 0) {
  for (std::size_t p = 0; p < reports.size(); ++p) {
    const Period& period = reports[p].period;
    const std::size_t count = reports[p].records.size();
    const std::size_t chunk = perFile > 0 ? static_cast<std::size_t>(perFile) : count;
    std::string name;
    for (std::size_t from = 0; from < count || from == 0; from += chunk) {
      PeriodReport part{period, {}};
      const auto begin = reports[p].records.begin() + static_cast<std::ptrdiff_t>(from);
      part.records.assign(begin,
                          begin + static_cast<std::ptrdiff_t>(std::min(chunk, count - from)));
      name = FileName(org, period, number++);
      fund::WriteBytes(dir / name, IndividualRecordsFile(org, part, name));
      out.push_back({dir / name, FileKind::kIndividualRecords});
      if (chunk == 0) break;
    }
    if (!inventories) continue;
    InventoryTotals totals = TotalsOf(org, reports[p]);
    if (p < skewed.size() && skewed[p] && !totals.categories.empty()) {
      totals.categories.front().insurance.accrued += kInventorySkew;
      totals.categories.front().insurance.paid += kInventorySkew;
    }
    name = FileName(org, period, number++);
    fund::WriteBytes(dir / name, InventoryFile(org, period, totals, name));
    out.push_back({dir / name, FileKind::kInventory});
  }
}

void WriteUnreadable(const Organisation& org, PeriodReport report, std::size_t keep,
                     const std::filesystem::path& dir, int& number, std::vector<CorpusFile>& out) {
  if (report.records.size() > keep) report.records.resize(keep);
  const std::string name = FileName(org, report.period, number++);
  fund::WriteBytes(dir / name, UnreadableFile(org, report, name));
  out.push_back({dir / name, FileKind::kUnreadable});
}

}  // namespace

std::uint64_t Rng::Next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

std::int64_t Rng::Between(std::int64_t lo, std::int64_t hi) {
  return lo + static_cast<std::int64_t>(Below(static_cast<std::uint64_t>(hi - lo) + 1));
}

long DaysOf(Date date) {
  const int y = date.year - (date.month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int mp = (date.month + 9) % 12;
  const int doy = (153 * mp + 2) / 5 + date.day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return static_cast<long>(era) * 146097 + doe - 719468;
}

Date DateOf(long days) {
  days += 719468;
  const long era = (days >= 0 ? days : days - 146096) / 146097;
  const long doe = days - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day};
}

std::string FormatDate(Date date) {
  return Digits(date.day, 2) + "." + Digits(date.month, 2) + "." + Digits(date.year, 4);
}

std::string Period::Key() const { return std::to_string(year) + "-" + std::to_string(quarter); }

Date Period::First() const { return {year, (quarter - 1) * Months() + 1, 1}; }

Date Period::Last() const {
  const int month = quarter * Months();
  const Date next = month == 12 ? Date{year + 1, 1, 1} : Date{year, month + 1, 1};
  return DateOf(DaysOf(next) - 1);
}

std::optional<Period> ParsePeriod(std::string_view key) {
  const std::size_t dash = key.find('-');
  if (dash != 4 || key.size() != 6) return std::nullopt;
  int year = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    if (key[i] < '0' || key[i] > '9') return std::nullopt;
    year = year * 10 + (key[i] - '0');
  }
  const int quarter = key[5] - '0';
  const int quarters = year == 2010 ? 2 : 4;
  if (year < 2010 || year > 2099 || quarter < 1 || quarter > quarters) return std::nullopt;
  return Period{year, quarter};
}

std::string FormatKopecks(Kopecks value) {
  const bool negative = value < 0;
  const Kopecks magnitude = negative ? -value : value;
  return (negative ? "-" : "") + std::to_string(magnitude / 100) + "." + Digits(magnitude % 100, 2);
}

CategoryTotal InventoryTotals::Insurer() const {
  CategoryTotal sum{"ПО СТРАХОВАТЕЛЮ", {}, {}};
  for (const CategoryTotal& c : categories) {
    sum.insurance += c.insurance;
    sum.funded += c.funded;
  }
  return sum;
}

Organisation MakeOrganisation(Rng& rng, int index, int persons) {
  const std::size_t combinations =
      kSurnames.size() * kPatronymics.size() * (kMaleNames.size() + kFemaleNames.size());
  // Beyond half the single names, persons take double surnames (the first ones drawn stay as
  // they were, so smaller organisations keep their bytes).
  const std::size_t single = combinations / 2;
  const std::size_t most = single * kSurnames.size();
  if (persons < 1 || static_cast<std::size_t>(persons) > most)
    throw std::invalid_argument("persons must lie between 1 and " + std::to_string(most));

  Organisation org;
  const auto listed = static_cast<std::size_t>(index) % kOrgNames.size();
  org.shortName = std::string(kOrgNames[listed]);
  if (static_cast<std::size_t>(index) >= kOrgNames.size())
    org.shortName += " " + std::to_string(index / static_cast<int>(kOrgNames.size()) + 1);
  // 999 organisations to a district code, so that a number keeps its six digits.
  org.regNumber = "087-" + Digits(101 + index / 999, 3) + "-" +
                  Digits(1000L * (index % 999 + 1) + rng.Between(0, 999), 6);

  std::unordered_set<std::string> names;
  std::unordered_set<std::string> numbers;
  org.staff.reserve(static_cast<std::size_t>(persons));
  while (org.staff.size() < static_cast<std::size_t>(persons)) {
    Person p;
    const bool female = rng.Chance(50);
    const std::string_view surname = kSurnames[rng.Below(kSurnames.size())];
    p.surname = female ? FemaleSurname(surname) : std::string(surname);
    if (org.staff.size() >= single) {
      const std::string_view second = kSurnames[rng.Below(kSurnames.size())];
      p.surname += "-" + (female ? FemaleSurname(second) : std::string(second));
    }
    p.firstName = female ? kFemaleNames[rng.Below(kFemaleNames.size())]
                         : kMaleNames[rng.Below(kMaleNames.size())];
    p.patronymic = kPatronymics[rng.Below(kPatronymics.size())][female ? 1 : 0];
    if (!names.insert(p.FullName()).second) continue;
    do {
      p.insuranceNumber = InsuranceNumber(rng.Between(2000000, 199999999));
    } while (!numbers.insert(p.insuranceNumber).second);
    const auto roll = rng.Below(100);
    p.category = std::string(roll < 85   ? kCategories[0]
                             : roll < 95 ? kCategories[1]
                                         : kCategories[2]);
    p.funded = p.category != kCategories[1] && rng.Chance(65);  // ВП: foreigners, no funded part
    p.monthlyWage = rng.Between(8000, 90000) * 100 + rng.Between(0, 99);
    org.staff.push_back(std::move(p));
  }
  return org;
}

std::vector<PeriodReport> MakeReports(Rng& rng, const Organisation& org,
                                      const std::vector<Period>& periods, int leavers,
                                      int discrepancies) {
  std::vector<PeriodReport> reports;
  std::vector<bool> gone(org.staff.size(), false);
  long long discrepancyCount = 0;  // alternates below and above across the periods
  for (const Period& period : periods) {
    PeriodReport report{period, {}};
    std::vector<std::size_t> present;
    for (std::size_t i = 0; i < org.staff.size(); ++i)
      if (!gone[i]) present.push_back(i);
    const std::vector<std::size_t> leaving =
        Pick(rng, present.size(), static_cast<std::size_t>(std::max(leavers, 0)));

    const long first = DaysOf(period.First());
    const long last = DaysOf(period.Last());
    std::size_t nextLeaver = 0;
    for (std::size_t k = 0; k < present.size(); ++k) {
      const Person& person = org.staff[present[k]];
      Record r;
      r.person = present[k];
      r.start = period.First();
      long end = last;
      if (nextLeaver < leaving.size() && leaving[nextLeaver] == k) {
        ++nextLeaver;
        end = rng.Between(first, last - 1);
        gone[present[k]] = true;
      }
      r.end = DateOf(end);
      // Raises and bonuses: a person's amounts are not the same every period.
      const Kopecks wage = person.monthlyWage * rng.Between(95, 112) / 100;
      const Kopecks base = wage * period.Months() * (end - first + 1) / (last - first + 1);
      const auto [insurance, funded] = Rates(period.year, person.funded);
      r.insurance.accrued = r.insurance.paid = PercentOf(base, insurance);
      r.funded.accrued = r.funded.paid = PercentOf(base, funded);
      report.records.push_back(r);
    }

    for (const std::size_t k :
         Pick(rng, report.records.size(), static_cast<std::size_t>(std::max(discrepancies, 0)))) {
      Record& r = report.records[k];
      Money& part = (discrepancyCount % 3 == 2 && r.funded.accrued > 0) ? r.funded : r.insurance;
      if (discrepancyCount % 2 == 0)
        part.paid = part.accrued * rng.Between(30, 95) / 100;
      else
        part.paid = part.accrued + rng.Between(100, 5000) * 100;
      ++discrepancyCount;
    }
    reports.push_back(std::move(report));
  }
  return reports;
}

InventoryTotals TotalsOf(const Organisation& org, const PeriodReport& report) {
  InventoryTotals totals;
  for (const std::string_view code : kCategories) {
    CategoryTotal sum{std::string(code), {}, {}};
    bool any = false;
    for (const Record& r : report.records) {
      if (org.staff[r.person].category != code) continue;
      any = true;
      sum.insurance += r.insurance;
      sum.funded += r.funded;
    }
    if (any) totals.categories.push_back(std::move(sum));
  }
  return totals;
}

std::string FileName(const Organisation& org, const Period& period, int number) {
  return "PFR-700-Y-" + std::to_string(period.year) + "-ORG-" + org.regNumber + "-DCK-" +
         Digits(number, 5) + "-DPT-000000-DCK-00000.XML";
}

std::string IndividualRecordsFile(const Organisation& org, const PeriodReport& report,
                                  std::string_view fileName) {
  return RecordsFile(org, report, fileName, "СЗВ-6-1");
}

std::string UnreadableFile(const Organisation& org, const PeriodReport& report,
                           std::string_view fileName) {
  return RecordsFile(org, report, fileName, "СПВ-1");
}

std::string InventoryFile(const Organisation& org, const Period& period,
                          const InventoryTotals& totals, std::string_view fileName) {
  const auto row = [](const CategoryTotal& total) {
    return fund::Row{total.code, AmountsOf(total.insurance), AmountsOf(total.funded)};
  };
  fund::InventoryFile file{
      std::string(fileName), InsurerOf(org), period.Key(), {}, row(totals.Insurer())};
  for (const CategoryTotal& c : totals.categories) file.categories.push_back(row(c));
  return fund::Bytes(fund::Text(file));
}

std::vector<CorpusFile> WriteCorpus(const CorpusOptions& options,
                                    const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  Rng rng(options.seed);
  std::vector<CorpusFile> out;
  std::vector<bool> skewed(options.periods.size(), false);
  for (std::size_t p = 1; p < skewed.size(); p += 2) skewed[p] = options.discrepancies > 0;
  for (int o = 0; o < options.orgs; ++o) {
    const Organisation org = MakeOrganisation(rng, options.firstOrg + o, options.persons);
    const auto reports =
        MakeReports(rng, org, options.periods, options.leavers, options.discrepancies);
    int number = 1;
    WriteReports(org, reports, options.inventories, skewed, dir, number, out, options.perFile);
    if (o == 0 && options.unreadable && !reports.empty())
      WriteUnreadable(org, reports.front(), reports.front().records.size(), dir, number, out);
  }
  return out;
}

std::vector<CorpusFile> WriteSamples(const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  Rng rng(20111);
  std::vector<CorpusFile> out;
  const auto periods = [](std::initializer_list<std::string_view> keys) {
    std::vector<Period> list;
    for (const std::string_view key : keys) list.push_back(*ParsePeriod(key));
    return list;
  };

  const Organisation first = MakeOrganisation(rng, 0, 18);
  auto reports = MakeReports(
      rng, first, periods({"2010-1", "2010-2", "2011-1", "2011-2", "2011-3", "2011-4"}), 1, 1);
  reports[3].records[4].unknownAccrued = true;
  int number = 1;
  WriteReports(first, reports, true, {}, dir, number, out);

  const Organisation second = MakeOrganisation(rng, 1, 14);
  reports = MakeReports(rng, second, periods({"2011-3", "2011-4", "2012-1"}), 0, 1);
  number = 1;
  WriteReports(second, reports, true, {false, true, false}, dir, number, out);
  WriteUnreadable(second, reports.front(), 3, dir, number, out);
  return out;
}

}  // namespace lorvi::corpus
