#pragma once

#include <string>
#include <utility>
#include <vector>

namespace lorvi::test {

// One person's record in an individual-records file (UTF-8 texts).
struct Person {
  Person(std::string surname_, std::string strahAccrued_ = "0.00", std::string strahPaid_ = "0.00")
      : surname(std::move(surname_)),
        strahAccrued(std::move(strahAccrued_)),
        strahPaid(std::move(strahPaid_)) {}
  std::string surname;
  std::string strahAccrued = "0.00", strahPaid = "0.00";
  std::string nakopAccrued = "0.00", nakopPaid = "0.00";
  std::string endDate;  // none when empty
  std::string name = "ИВАН";
  std::string patronymic = "ИВАНОВИЧ";
};

// The header of an organisation's file.
struct Org {
  std::string regNumber = "000-000-000001";
  std::string shortName = "ООО &quot;Ромашка&quot;";
};

// A whole individual-records file of `period` ("2011-3"), UTF-8, one element per line.
std::string SzvFile(const Org& org, const std::string& period, const std::vector<Person>& people,
                    const std::string& formKind = "СЗВ-6-1");

// A whole inventory of `period`: one category row per code with the given insurance amounts,
// then the insurer's row.
struct Category {
  std::string code;
  std::string strahAccrued, strahPaid;
};
std::string AdvFile(const Org& org, const std::string& period,
                    const std::vector<Category>& categories);

}  // namespace lorvi::test
