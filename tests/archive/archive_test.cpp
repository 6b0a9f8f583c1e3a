#include <gtest/gtest.h>

#include <filesystem>

#include "archive/archive_files.h"
#include "archive/archive_run.h"
#include "archive/inventory_check.h"
#include "archive/organisation_review.h"
#include "base/lorvi_error.h"
#include "support/fund_file.h"
#include "support/scratch_dir.h"

namespace lorvi {
namespace {

using fund::Person;
using test::W;

const fund::Insurer kFirst{"087-101-000001", "ООО &quot;ПЕРВАЯ&quot;"};
const fund::Insurer kSecond{"087-101-000002", "ЗАО ВТОРАЯ"};

std::string InventoryText(const fund::Insurer& insurer, const std::string& period,
                          std::vector<fund::Row> categories, fund::Row total) {
  fund::InventoryFile file;
  file.insurer = insurer;
  file.period = period;
  file.categories = std::move(categories);
  file.total = std::move(total);
  return fund::Text(file);
}

Person Leaver(std::string surname, std::string accrued, std::string paid, std::string period) {
  Person p(std::move(surname), std::move(accrued), std::move(paid));
  p.end = fund::FirstDay(period);
  return p;
}

ArchiveOrganisation Only(const ArchiveFiles& archive) {
  EXPECT_EQ(archive.organisations.size(), 1u);
  return archive.organisations.empty() ? ArchiveOrganisation{} : archive.organisations.front();
}

TEST(ArchiveFiles, SortedByOrganisationAsTheTreeWouldWithoutItsLimit) {
  ScratchDir dir;
  const fund::Insurer third{"087-101-000003", "АО ТРЕТЬЯ"};
  const fund::Insurer renamed{"087-101-000001", "ООО ПЕРВАЯ НОВАЯ"};
  const std::vector<std::string> paths = {
      dir.WriteXml("a.xml", fund::Records(third, "2011-1", {Person("А")})),
      dir.WriteXml("b.xml", fund::Records(kFirst, "2011-1", {Person("Б")})),
      dir.WriteXml("c.xml", fund::Records(kSecond, "2011-1", {Person("В")})),
      dir.WriteXml("d.xml", fund::Records(renamed, "2011-2", {Person("Г")})),
      dir.Write("e.xml", "not xml at all"),
      dir.WriteXml("f.xml", fund::Records(kFirst, "2011-3", {Person("Д")}, "СПВ-1"))};
  const ArchiveFiles archive = SortArchive(paths, {});
  ASSERT_EQ(archive.organisations.size(), 3u);
  // In the tree's order of captions; an organisation keeps the title of its first file.
  EXPECT_EQ(archive.organisations[0].title, W("087-101-000001(ООО \"ПЕРВАЯ\")"));
  EXPECT_EQ(archive.organisations[0].files, (std::vector<std::string>{paths[1], paths[3]}));
  EXPECT_EQ(archive.organisations[1].title, W("087-101-000002(ЗАО ВТОРАЯ)"));
  EXPECT_EQ(archive.organisations[2].files, std::vector<std::string>{paths[0]});
  ASSERT_EQ(archive.untaken.size(), 2u);
  EXPECT_EQ(archive.untaken[0].path, paths[4]);
  EXPECT_FALSE(archive.untaken[0].reason.empty());
  EXPECT_NE(archive.untaken[1].reason.find(W("СПВ-1")), std::string::npos);

  EXPECT_THROW(SortArchive(paths, [](std::size_t done, std::size_t) { return done < 2; }),
               Cancelled);
}

TEST(ArchiveFiles, PeriodsFollowHalfYearsIn2010ThenQuarters) {
  const std::pair<const char*, const char*> cases[] = {
      {"2010-1", "2010-2"}, {"2010-2", "2011-1"}, {"2011-3", "2011-4"}, {"2011-4", "2012-1"},
      {"2010-3", ""},       {"2011-5", ""},       {"2011-0", ""},       {"2011", ""},
      {"х-1", ""},          {"2011-1x", ""}};
  for (const auto& [key, next] : cases) EXPECT_EQ(NextPeriod(key).value_or(""), next) << key;
}

// Each period and part: the inventory's line for the insurer against the sum of the records and
// the sum of its categories, by the grids' rule (a difference under 0.01 is none).
TEST(InventoryCheck, TheInsurersLineAgainstRecordsAndCategories) {
  ScratchDir dir;
  const fund::Row zero{"", {"0", "0"}};
  const std::vector<std::string> paths = {
      // Agrees: 150/140 everywhere; a category row's difference of 0.005 is none.
      dir.WriteXml("1r.xml", fund::Records(kFirst, "2011-1",
                                           {Person("А", "100", "100"), Person("Б", "50", "40")})),
      dir.WriteXml("1i.xml", InventoryText(kFirst, "2011-1", {{"НР", {"150.005", "140"}}},
                                           {"", {"150", "140"}})),
      // The records are 1.00 short of the inventory; its categories agree with its line.
      dir.WriteXml("2r.xml", fund::Records(kFirst, "2011-2", {Person("А", "100", "100")})),
      dir.WriteXml("2i.xml",
                   InventoryText(kFirst, "2011-2", {{"НР", {"101", "100"}}}, {"", {"101", "100"}})),
      // Records without an inventory, and an inventory without records.
      dir.WriteXml("3r.xml", fund::Records(kFirst, "2011-3", {Person("А", "1", "1")})),
      dir.WriteXml("4i.xml",
                   InventoryText(kFirst, "2011-4", {{"НР", {"7", "7"}}}, {"", {"7", "7"}})),
      // Categories that do not add up to the insurer's line.
      dir.WriteXml("5r.xml", fund::Records(kFirst, "2012-1", {Person("А", "9", "9")})),
      dir.WriteXml("5i.xml",
                   InventoryText(kFirst, "2012-1", {{"НР", {"8", "9"}}}, {"", {"9", "9"}})),
  };
  const OrganisationReview review =
      ReviewOrganisation(Only(SortArchive(paths, {})), ',', "10.12.2026");
  ASSERT_TRUE(review.Read());
  ASSERT_EQ(review.checks.size(), 10u);  // five periods, two parts each
  struct Expected {
    const char* period;
    bool records;
    bool categories;
    const char* remark;
  };
  const Expected expected[] = {
      {"2011-1", true, true, ""},
      {"2011-2", false, true, "Опись не сходится со сведениями"},
      {"2011-3", false, false, "Нет описи"},
      {"2011-4", false, true, "Нет сведений"},
      {"2012-1", true, false, "Строка страхователя не равна сумме категорий"},
  };
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const InventoryCheck& insurance = review.checks[2 * i];
    SCOPED_TRACE(expected[i].period);
    EXPECT_EQ(insurance.period, expected[i].period);
    EXPECT_TRUE(insurance.insurance);
    EXPECT_EQ(insurance.RecordsAgree(), expected[i].records);
    EXPECT_EQ(insurance.CategoriesAgree(), expected[i].categories);
    EXPECT_EQ(InventoryRemark(insurance), W(expected[i].remark));
  }
  const InventoryCheck& second = review.checks[2];
  ASSERT_TRUE(second.insurer && second.records);
  EXPECT_EQ(second.insurer->accrued - second.records->accrued, 10000);  // 1.00
  // The funded part has no figures anywhere and agrees where both sides are there.
  EXPECT_TRUE(review.checks[1].Agrees());
  EXPECT_EQ(review.disagreeingPeriods, 4);
}

TEST(OrganisationReview, FiguresAsTheWindowShowsTheOrganisationAlone) {
  ScratchDir dir;
  const std::vector<std::string> paths = {
      dir.WriteXml("1.xml",
                   fund::Records(kFirst, "2011-1",
                                 {Person("АНДРЕЕВ", "100", "90"), Person("БЕЛОВ", "5", "5"),
                                  Leaver("ВОЛКОВ", "1", "3", "2011-1")})),
      dir.WriteXml("2.xml", fund::Records(kFirst, "2011-2", {Person("АНДРЕЕВ", "???", "5")})),
      dir.WriteXml("3.xml", fund::Records(kFirst, "2012-1", {Person("БЕЛОВ", "5", "5")})),
  };
  const OrganisationReview r = ReviewOrganisation(Only(SortArchive(paths, {})), ',', "10.12.2026");
  ASSERT_TRUE(r.Read()) << (r.messages.empty() ? "" : r.messages.front());
  EXPECT_EQ(r.registration, "087-101-000001");
  EXPECT_EQ(r.shortName, W("ООО \"ПЕРВАЯ\""));
  EXPECT_EQ(r.periods, (std::vector<std::string>{"2011-1", "2011-2", "2012-1"}));
  EXPECT_EQ(r.missing, (std::vector<std::string>{"2011-3", "2011-4"}));
  EXPECT_EQ(r.files, 3);
  EXPECT_EQ(r.persons, 3);
  EXPECT_EQ(r.leavers, 1);
  EXPECT_EQ(r.unreadableCells, 1);
  // The grids' totals: "???" adds nothing.
  EXPECT_EQ(r.insurance.accrued, 111 * 10000);
  EXPECT_EQ(r.insurance.paid, 103 * 10000);
  EXPECT_EQ(r.accruedAbove, 1);  // АНДРЕЕВ: 100 against 90; the cell with "???" counts for nothing
  EXPECT_EQ(r.paidAbove, 1);  // ВОЛКОВ
  ASSERT_EQ(r.differing.size(), 2u);
  EXPECT_EQ(r.differing[0].name, W("АНДРЕЕВ ИВАН ИВАНОВИЧ"));
  EXPECT_EQ(r.differing[1].insurance, -2 * 10000);
  EXPECT_TRUE(r.messages.empty());
}

TEST(ArchiveRun, AFailedReadingIsListedAndAFailedWriteLeavesNothing) {
  ScratchDir dir;
  const std::string good =
      dir.WriteXml("in/good.xml", fund::Records(kFirst, "2011-1", {Person("А", "1", "1")}));
  std::string broken = fund::Bytes(fund::Records(kSecond, "2011-1", {Person("Б"), Person("В")}));
  broken.resize(broken.rfind(fund::Bytes("<Отчество>")) + 12);
  dir.Write("in/broken.xml", broken);

  ArchiveRequest request;
  request.inputs = {dir.PathOf("in")};
  request.overview = dir.PathOf("overview.xlsx");
  request.workbooksFolder = dir.PathOf("books");
  request.date = "10.12.2026";
  std::vector<std::string> reviewed;
  const ArchiveOutcome outcome = ReconcileArchive(
      request, [&](const OrganisationReview& r) { reviewed.push_back(r.registration); });
  EXPECT_EQ(outcome.organisations, 2u);
  EXPECT_EQ(outcome.unreadOrganisations, 1u);
  EXPECT_EQ(reviewed, (std::vector<std::string>{"087-101-000001", "087-101-000002"}));
  EXPECT_TRUE(std::filesystem::is_regular_file(request.overview));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(request.workbooksFolder),
                          std::filesystem::directory_iterator()),
            1);

  // A cancel leaves the overview as it was and nothing beside it.
  const std::string before = test::ReadAll(request.overview);
  std::vector<std::string> told;
  EXPECT_THROW(ReconcileArchive(request, {},
                                [&](const std::string& status, std::size_t, std::size_t) {
                                  told.push_back(status);
                                  return status.find("организация 2") == std::string::npos;
                                }),
               Cancelled);
  EXPECT_EQ(test::ReadAll(request.overview), before);
  EXPECT_EQ(told.back(), "Сверка архива: организация 2 из 2");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                          std::filesystem::directory_iterator()),
            3);  // in, books, overview.xlsx

  request.overview = dir.PathOf("no such folder/overview.xlsx");
  try {
    ReconcileArchive(request, {});
    ADD_FAILURE() << "no failure";
  } catch (const LorviError& e) {
    EXPECT_NE(std::string(e.what()).find(W("Не удалось записать обзор в файл")), std::string::npos)
        << e.what();
  }
  EXPECT_FALSE(std::filesystem::exists(dir.PathOf("no such folder")));
  (void)good;
}

}  // namespace
}  // namespace lorvi
