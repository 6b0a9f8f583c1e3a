#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Synthetic individual records and inventories, laid out as the fund's files come: code page 1251,
// CR LF, one element per line. Everything follows from the seed, so a corpus can be named by its
// command line instead of being shipped.
namespace lorvi::corpus {

// splitmix64: the standard distributions give different numbers on different libraries, and a
// corpus must be the same wherever it is generated.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next();
  // 0 <= result < n; n > 0.
  std::uint64_t Below(std::uint64_t n) { return Next() % n; }
  // lo <= result <= hi.
  std::int64_t Between(std::int64_t lo, std::int64_t hi);
  bool Chance(int percent) { return Below(100) < static_cast<std::uint64_t>(percent); }

 private:
  std::uint64_t state_;
};

struct Date {
  int year = 0;
  int month = 0;
  int day = 0;
  auto operator<=>(const Date&) const = default;
};

// Days since 1970-01-01.
long DaysOf(Date date);
Date DateOf(long days);
std::string FormatDate(Date date);  // dd.mm.yyyy

// A reporting period: in 2010 a half-year (1 or 2), from 2011 on a quarter.
struct Period {
  int year = 0;
  int quarter = 0;

  std::string Key() const;  // "2011-3"
  Date First() const;
  Date Last() const;
  int Months() const { return year == 2010 ? 6 : 3; }
};

// "2011-3"; nothing for a quarter the year did not have, or a year outside 2010..2099.
std::optional<Period> ParsePeriod(std::string_view key);

// Kopecks; the files carry two decimals.
using Kopecks = std::int64_t;
std::string FormatKopecks(Kopecks value);  // "1234.56"

struct Money {
  Kopecks accrued = 0;
  Kopecks paid = 0;
  Money& operator+=(const Money& other) {
    accrued += other.accrued;
    paid += other.paid;
    return *this;
  }
};

// Texts are UTF-8 here and become 1251 when a file is written.
struct Person {
  std::string insuranceNumber;  // "123-456-789 01", with its check number
  std::string surname;
  std::string firstName;
  std::string patronymic;
  std::string category;  // code of the insured's category: НР, ВП, ИНП
  bool funded = false;   // young enough to have a funded part
  Kopecks monthlyWage = 0;

  std::string FullName() const { return surname + " " + firstName + " " + patronymic; }
};

struct Organisation {
  std::string regNumber;  // "087-101-000001"
  std::string shortName;  // as shown, quotes not escaped
  std::vector<Person> staff;
};

// One person in one period.
struct Record {
  std::size_t person = 0;  // into Organisation::staff
  Money insurance;
  Money funded;
  Date start;
  Date end;
  bool unknownAccrued = false;  // the insurance accrued text is "???"
};

struct PeriodReport {
  Period period;
  std::vector<Record> records;
};

struct CategoryTotal {
  std::string code;
  Money insurance;
  Money funded;
};

// The inventory's rows: one per category present, in a fixed order; the insurer's row is their sum.
struct InventoryTotals {
  std::vector<CategoryTotal> categories;
  CategoryTotal Insurer() const;
};

// `persons` distinct people (by full name and by insurance number). Fails with
// std::invalid_argument when the name lists cannot give that many.
Organisation MakeOrganisation(Rng& rng, int index, int persons);

// The reports of the organisation's periods, in the given order. Every period `leavers` of the
// staff still there leave before its end and are absent afterwards; `discrepancies` records per
// period pay other than accrued, alternately less and more.
std::vector<PeriodReport> MakeReports(Rng& rng, const Organisation& org,
                                      const std::vector<Period>& periods, int leavers,
                                      int discrepancies);

// Sums the records by category, from the true amounts (an "???" text included).
InventoryTotals TotalsOf(const Organisation& org, const PeriodReport& report);

// Distinct per organisation and `number`; ends in ".XML".
std::string FileName(const Organisation& org, const Period& period, int number);

// The files' bytes, in code page 1251.
std::string IndividualRecordsFile(const Organisation& org, const PeriodReport& report,
                                  std::string_view fileName);
std::string InventoryFile(const Organisation& org, const Period& period,
                          const InventoryTotals& totals, std::string_view fileName);
// Individual records of a form kind the analyser does not take (СПВ-1).
std::string UnreadableFile(const Organisation& org, const PeriodReport& report,
                           std::string_view fileName);

enum class FileKind { kIndividualRecords, kInventory, kUnreadable };

struct CorpusFile {
  std::filesystem::path path;
  FileKind kind;
};

struct CorpusOptions {
  int orgs = 2;
  int persons = 4501;
  std::vector<Period> periods;
  std::uint64_t seed = 1;
  bool inventories = false;
  int discrepancies = 0;  // per individual-records file; when above 0 every second inventory
                          // also disagrees with its records
  int leavers = 0;        // per individual-records file
  bool unreadable = false;
  int perFile = 0;   // records per file of individual records, as the fund's packs hold at most
                     // 200; 0: one file per period
  int firstOrg = 0;  // the first organisation's number, so that corpora written apart differ
};

// Writes the corpus into `dir` (created when missing) and lists the files in writing order.
std::vector<CorpusFile> WriteCorpus(const CorpusOptions& options, const std::filesystem::path& dir);

// The small set shipped with the sources: two organisations, one with quotes in its name, leavers,
// payments above and below accrued, an "???" amount and one file the analyser must refuse.
std::vector<CorpusFile> WriteSamples(const std::filesystem::path& dir);

}  // namespace lorvi::corpus
