#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The fund's files as its own software writes them: one element per line, two blanks of indent
// per level, code page 1251, CR LF. The readers rely on that layout, so every file the tests,
// the benchmarks and the corpora feed them comes from here; broken files are written whole and
// then broken.
namespace lorvi::fund {

// Texts are UTF-8 and go into the file as they are: entities already written out.
struct Insurer {
  std::string regNumber = "000-000-000001";
  std::string shortName = "ООО &quot;Ромашка&quot;";
};

// As the file carries them: odd texts ("???", "1 000.00") are what some tests are about.
struct Amounts {
  std::string accrued = "0.00";
  std::string paid = "0.00";
};

struct Person {
  Person(std::string surname_, std::string accrued = "0.00", std::string paid = "0.00")
      : surname(std::move(surname_)), insurance{std::move(accrued), std::move(paid)} {}
  std::string insuranceNumber;  // left out when empty
  std::string surname;
  std::string firstName = "ИВАН";
  std::string patronymic = "ИВАНОВИЧ";
  Amounts insurance;
  Amounts funded;
  std::optional<std::string> start;  // none: the period's first day
  std::optional<std::string> end;    // none: the period's last day
};

// A pack of individual records (or of another form kind) for one period, "2011-3".
struct RecordsFile {
  std::string name;  // the file's own name, which it carries
  Insurer insurer;
  std::string period;
  std::vector<Person> people;
  std::string formKind = "СЗВ-6-1";
  std::optional<std::string> count;  // the header's count of records; none: the true one
};

struct Row {
  std::string code;  // a category's code; not written in the insurer's row
  Amounts insurance;
  std::optional<Amounts> funded = std::nullopt;  // none: no funded block at all
};

// An inventory: one row per category, then the insurer's row.
struct InventoryFile {
  std::string name;
  Insurer insurer;
  std::string period;
  std::vector<Row> categories;
  Row total;
};

// The file as UTF-8 text with LF line ends, easier to edit into a broken one than its bytes.
std::string Text(const RecordsFile& file);
std::string Text(const InventoryFile& file);

// Shorthands for the many small files the tests read: no file name, and an inventory whose
// categories carry no funded block and whose insurer's row is zero.
std::string Records(const Insurer& insurer, std::string period, std::vector<Person> people,
                    std::string formKind = "СЗВ-6-1");
std::string Inventory(const Insurer& insurer, std::string period, std::vector<Row> categories);

// The bytes the fund would send for a text: code page 1251, CR LF.
std::string Bytes(std::string_view utf8);

// `<`, `>`, `&` and `"` as entities.
std::string Escaped(std::string_view text);

// "dd.mm.yyyy" of a period's first and last day; 2010 has half-years.
std::string FirstDay(std::string_view period);
std::string LastDay(std::string_view period);

// Throws std::runtime_error when the file cannot be written.
void WriteBytes(const std::filesystem::path& path, std::string_view bytes);

}  // namespace lorvi::fund
