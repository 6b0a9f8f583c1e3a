#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "base/lorvi_error.h"
#include "base/text1251.h"
#include "session/session.h"
#include "store/file_reading.h"
#include "store/load_organisation.h"
#include "store/zl_reader.h"
#include "support/fund_file.h"
#include "support/scratch_dir.h"
#include "support/store_dump.h"
#include "view/filter_tabs.h"

namespace lorvi {
namespace {

using test::DumpStore;

struct Rng {
  std::uint64_t state;
  std::uint64_t Next() {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
  template <typename T>
  const T& Pick(const std::vector<T>& v) {
    return v[static_cast<std::size_t>(Below(static_cast<int>(v.size())))];
  }
};

const std::vector<std::string> kPeriods = {"2010-1", "2010-2", "2011-1", "2011-2", "2011-3",
                                           "2011-4", "2012-1", "2012-2", "2012-3", "2012-4",
                                           "2013-1", "2013-2", "2013-3", "2013-4", "2014-1"};
// Amount texts a file may carry, the odd ones included: each takes its own way through PutAmount.
const std::vector<std::string> kAmounts = {"1000.00",   "0.00", "12.345", "-5.5", "1.5E3",
                                           "0.005",     "???",  "",       "abc",  "1 000.00",
                                           "999999.99", "7,25", ".5",     "  3  "};
const std::vector<std::string> kSurnames = {"ИВАНОВ", "иванов", "ПЕТРОВ", "СИДОРОВ", "Ёлкин",
                                            "ЁЛКИН",  "ABC",    "abc",    "ЖУКОВ",   ""};

// One organisation's files, good and bad, written into `dir` in a random order: records of many
// periods with the same persons in several files, inventories, and now and then a file that
// stops the reading part-way (cut short, a bad date, a bad count), a file that no longer
// classifies, and one that has gone.
std::vector<std::string> Corpus(const ScratchDir& dir, std::uint64_t seed, int files,
                                bool withFailures) {
  Rng rng{seed};
  std::vector<std::string> paths;
  for (int f = 0; f < files; ++f) {
    const std::string period = rng.Pick(kPeriods);
    const std::string name = "f" + std::to_string(seed) + "-" + std::to_string(f) + ".XML";
    const int kind = rng.Below(withFailures ? 20 : 16);
    if (kind < 3) {
      std::vector<fund::Row> categories;
      for (int c = rng.Below(4); c >= 0; --c)
        categories.push_back({rng.Pick(std::vector<std::string>{"НР", "нр", "ВП", "ИНП", ""}),
                              rng.Pick(kAmounts), rng.Pick(kAmounts)});
      paths.push_back(dir.WriteXml(name, fund::Inventory({}, period, categories)));
      continue;
    }
    std::vector<fund::Person> people;
    for (int p = rng.Below(40); p >= 0; --p) {
      fund::Person person(rng.Pick(kSurnames) + std::to_string(rng.Below(30)), rng.Pick(kAmounts),
                          rng.Pick(kAmounts));
      person.funded.accrued = rng.Pick(kAmounts);
      person.funded.paid = rng.Pick(kAmounts);
      if (rng.Below(4) == 0)
        person.end = rng.Pick(std::vector<std::string>{"15.09.2011", "01.01.2010", "31.12.2013",
                                                       "30.06.2010", "5.3.2012"});
      people.push_back(person);
    }
    std::string text = fund::Records({}, period, people);
    if (kind == 16) text = text.substr(0, text.size() * 2 / 3);  // cut short
    if (kind == 17) people.back().end = "31.02.2011";
    if (kind == 17) text = fund::Records({}, period, people);
    if (kind == 18) text = fund::Records({}, period, people, "СПВ-1");  // no longer classifies
    paths.push_back(dir.WriteXml(name, text));
    if (kind == 19) std::filesystem::remove(paths.back());
  }
  return paths;
}

struct Outcome {
  std::string error;  // with the name of its file
  std::string store;
  std::vector<std::string> files;  // as the progress saw them
  std::vector<std::string> passedOver;
};

// `threadsStarted`: the system refuses the reader threads after this many.
Outcome Load(const std::vector<std::string>& paths, int threads, char separator,
             int threadsStarted = -1) {
  OrgStore store;
  store.decimalSeparator = separator;
  store.readerThreads = threads;
  if (threadsStarted >= 0) {
    store.startReader = [started = 0, threadsStarted](std::function<void()> work) mutable {
      if (started++ == threadsStarted)
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
      return std::thread(std::move(work));
    };
  }
  const int slot = NewOrgSlot(store);
  store.OrgFiles[slot] = paths;
  Outcome outcome;
  ReadingProgress progress;
  progress.file = [&](std::size_t i, std::size_t n, const std::string& path) {
    outcome.files.push_back(std::to_string(i) + "/" + std::to_string(n) + " " + path);
  };
  try {
    outcome.passedOver = LoadOrganisation(store, slot, progress);
  } catch (const LorviError& e) {
    outcome.error = std::string(e.what()) + " in " + e.FileName();
  }
  outcome.store = DumpStore(store);
  return outcome;
}

// Side by side or one after another, the store and the error that stops a reading are the same,
// also for what was stored before the error.
TEST(LoadOrganisation, SideBySideStoresExactlyWhatOneAfterAnotherStores) {
  const ScratchDir dir;
  int failed = 0;
  for (std::uint64_t seed = 1; seed <= 40; ++seed) {
    const auto paths = Corpus(dir, seed, 1 + static_cast<int>(seed % 25), seed % 4 != 0);
    const char separator = seed % 2 ? ',' : '.';
    const Outcome one = Load(paths, 1, separator);
    failed += !one.error.empty();
    // Also when the system will not start the threads, at once or after the first.
    for (const auto& [threads, started] : {std::pair{2, -1}, {3, -1}, {8, -1}, {3, 0}, {3, 1}}) {
      const Outcome side = Load(paths, threads, separator, started);
      SCOPED_TRACE("seed " + std::to_string(seed) + ", " + std::to_string(threads) +
                   " threads, refused after " + std::to_string(started));
      EXPECT_EQ(side.error, one.error);
      EXPECT_EQ(side.files, one.files);
      EXPECT_EQ(side.passedOver, one.passedOver);
      EXPECT_TRUE(side.store == one.store) << side.store.substr(0, 3000);
    }
  }
  // The corpora must exercise both ends.
  EXPECT_GT(failed, 3);
  EXPECT_LT(failed, 35);

  // Files gone or no longer classifying are passed over and returned; a failure names its file.
  const std::string good = dir.WriteXml("good.XML", fund::Records({}, "2011-1", {{"ИВАНОВ"}}));
  const std::string spv =
      dir.WriteXml("spv.XML", fund::Records({}, "2011-1", {{"ИВАНОВ"}}, "СПВ-1"));
  const std::string gone = dir.PathOf("gone.XML");
  std::string cut = fund::Records({}, "2011-2", {{"ПЕТРОВ"}});
  const std::string bad = dir.WriteXml("cut.XML", cut.substr(0, cut.size() * 2 / 3));
  for (const int threads : {1, 3}) {
    const Outcome passed = Load({good, spv, gone, good}, threads, ',');
    EXPECT_EQ(passed.error, "");
    EXPECT_EQ(passed.passedOver, (std::vector<std::string>{spv, gone}));
    EXPECT_TRUE(Load({good, bad, spv}, threads, ',').error.ends_with(" in cut.XML"));
  }
}

// A file read alone and merged gives what the direct reading gives, also when it is merged into a
// slot that already holds other files, so that columns and rows are numbered differently.
TEST(LoadOrganisation, ReadingAloneAndMergingEqualsReadingIntoTheStore) {
  const ScratchDir dir;
  const auto paths = Corpus(dir, 99, 30, true);
  for (std::size_t i = 1; i < paths.size(); ++i) {
    OrgStore direct, merged;
    for (OrgStore* store : {&direct, &merged}) {
      NewOrgSlot(*store);
      try {
        ReadZLFile(*store, 0, paths[i - 1], "2012-4");  // something there already
      } catch (const LorviError&) {
      }
    }
    std::string directError, mergedError;
    try {
      ReadZLFile(direct, 0, paths[i], kPeriods[i % kPeriods.size()]);
    } catch (const LorviError& e) {
      directError = e.what();
    } catch (...) {
    }
    try {
      MergeReading(merged, 0, ReadRecordsAlone(paths[i], kPeriods[i % kPeriods.size()], ','));
    } catch (const LorviError& e) {
      mergedError = e.what();
    } catch (...) {
    }
    EXPECT_EQ(mergedError, directError) << paths[i];
    EXPECT_TRUE(DumpStore(merged) == DumpStore(direct)) << paths[i];
  }
}

TEST(LoadOrganisation, ProgressComesWhileFilesAreReadSideBySide) {
  const ScratchDir dir;
  std::vector<fund::Person> many;
  for (int p = 0; p < 3000; ++p) many.emplace_back("П" + std::to_string(p), "1.00", "1.00");
  std::vector<std::string> paths;
  for (int f = 0; f < 4; ++f)
    paths.push_back(
        dir.WriteXml("m" + std::to_string(f) + ".XML", fund::Records({}, kPeriods[f], many)));
  OrgStore store;
  store.readerThreads = 2;
  NewOrgSlot(store);
  store.OrgFiles[0] = paths;
  int files = 0, ticks = 0;
  LoadOrganisation(
      store, 0, {[&](std::size_t, std::size_t, const std::string&) { ++files; }, [&] { ++ticks; }});
  EXPECT_EQ(files, 4);
  EXPECT_GT(ticks, 0);
  EXPECT_EQ(store.ZLInfo[0].Rows.Count(), 3000u);
  EXPECT_EQ(store.ZLInfo[0].StrahN.Get(2999, 3), "1,00");
}

// More persons and periods than the store ever took before: read, shown, filtered, searched and
// printed like any other organisation.
TEST(LoadOrganisation, LargeOrganisationIsShownFilteredSearchedAndPrinted) {
  const ScratchDir dir;
  std::vector<std::string> paths;
  std::vector<fund::Person> staff;
  for (int p = 0; p < 4600; ++p) {
    staff.emplace_back("Ф" + std::to_string(100000 + p), "10.00",
                       p % 1000 == 599 ? "5.00" : "10.00");
    if (p == 4550) staff.back().end = "01.02.2014";
  }
  paths.push_back(dir.WriteXml("big.XML", fund::Records({}, "2014-1", staff)));
  for (std::size_t i = 0; i + 1 < kPeriods.size(); ++i)
    paths.push_back(
        dir.WriteXml("p" + std::to_string(i) + ".XML",
                     fund::Records({}, kPeriods[i], {fund::Person("Ф104599", "1", "1")})));
  Session session(',');
  std::vector<std::string> messages;
  session.SetMessageSink([&](const std::string& text) { messages.push_back(text); });
  session.FormCreate();
  session.FormShow();
  session.sbLoadFilesClick([&](const std::string&) { return std::optional(paths); });
  ASSERT_EQ(messages, std::vector<std::string>{});
  EXPECT_EQ(session.sgZLStrah().RowCount(), 4601);
  EXPECT_EQ(session.sgZLStrah().ColCount(), 17);  // titles, total, 15 periods
  EXPECT_EQ(session.sgZLStrah().Cell(16, 0), "2014-1 (Н ? У)"_w);
  EXPECT_EQ(session.sgZLStrah().Cell(0, 4600), "Ф104599 ИВАН ИВАНОВИЧ"_w);
  EXPECT_EQ(session.sgZLStrah().Cell(1, 4600), "24 > 19 (5)");
  EXPECT_EQ(session.sgZLStrah().Cell(2, 4600), "1,00 = 1,00");
  EXPECT_EQ(session.sgZLStrah().Cell(16, 4600), "10,00 > 5,00 (5)");

  session.SelectTab(kTabAccruedAbove);
  ASSERT_EQ(session.sgZLStrah().RowCount(), 6);
  EXPECT_EQ(session.sgZLStrah().Cell(0, 5), "Ф104599 ИВАН ИВАНОВИЧ"_w);
  session.SelectTab(kTabLeavers);
  ASSERT_EQ(session.sgZLStrah().RowCount(), 2);
  EXPECT_EQ(session.sgZLStrah().Cell(0, 1), "Ф104550 ИВАН ИВАНОВИЧ (2014-1)"_w);

  session.SelectTab(kTabAll);
  session.edFindFIOChange(std::string("Ф1045"_w));
  EXPECT_EQ(session.sgZLStrah().Row(), 4501);
  EXPECT_EQ(session.sgZLNakop().TopRow(), 4501);

  const auto job = session.sbPrintClick();
  ASSERT_TRUE(job);
  ASSERT_EQ(job->records.size(), 4600u);
  EXPECT_EQ(job->records.back().FIO, "Ф104599 ИВАН ИВАНОВИЧ"_w);
}

}  // namespace
}  // namespace lorvi
