#include "generator/corpus.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "base/text1251.h"
#include "intake/header_scan.h"
#include "store/adv_reader.h"
#include "store/amount.h"
#include "store/org_store.h"
#include "store/zl_reader.h"
#include "support/scratch_dir.h"

namespace lorvi::corpus {
namespace {

std::string Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Amount4 ColumnSum(const TAAS& cells, std::size_t rows, int column) {
  Amount4 sum = 0;
  for (std::size_t r = 0; r < rows; ++r) {
    const auto value = ParseAmount(cells.Get(static_cast<int>(r), column), '.');
    EXPECT_TRUE(value) << cells.Get(static_cast<int>(r), column);
    sum += value.value_or(0);
  }
  return sum;
}

int ColumnOf(const TInfo& info, const std::string& periodKey) {
  const long at = info.Periods.IndexOfName(periodKey);
  EXPECT_GE(at, 0) << periodKey;
  return at < 0 ? 0 : std::stoi(std::string(ValueOf(info.Periods[static_cast<std::size_t>(at)])));
}

TEST(CorpusRng, SequenceIsPinnedSoCorporaMatchEverywhere) {
  Rng rng(0);
  EXPECT_EQ(rng.Next(), 0xE220A8397B1DCDAFull);
  EXPECT_EQ(rng.Next(), 0x6E789E6AA1B965F4ull);
  Rng a(7);
  for (int i = 0; i < 1000; ++i) {
    const auto v = a.Between(-3, 3);
    ASSERT_GE(v, -3);
    ASSERT_LE(v, 3);
  }
}

TEST(CorpusPeriod, KeysBoundsAndDates) {
  for (const char* bad : {"2010-3", "2011-5", "2011-0", "2009-1", "2011-10", "11-1", "2011_1"})
    EXPECT_FALSE(ParsePeriod(bad)) << bad;

  const auto half1 = ParsePeriod("2010-1");
  const auto half2 = ParsePeriod("2010-2");
  const auto q1 = ParsePeriod("2012-1");
  const auto q2 = ParsePeriod("2011-2");
  ASSERT_TRUE(half1 && half2 && q1 && q2);
  EXPECT_EQ(FormatDate(half1->First()), "01.01.2010");
  EXPECT_EQ(FormatDate(half1->Last()), "30.06.2010");
  EXPECT_EQ(FormatDate(half2->First()), "01.07.2010");
  EXPECT_EQ(FormatDate(half2->Last()), "31.12.2010");
  EXPECT_EQ(FormatDate(q1->Last()), "31.03.2012");
  EXPECT_EQ(FormatDate(q2->First()), "01.04.2011");
  EXPECT_EQ(FormatDate(q2->Last()), "30.06.2011");
  EXPECT_EQ(q2->Key(), "2011-2");

  EXPECT_EQ(FormatDate(DateOf(DaysOf({2012, 2, 28}) + 1)), "29.02.2012");
  EXPECT_EQ(FormatDate(DateOf(DaysOf({2011, 2, 28}) + 1)), "01.03.2011");
  EXPECT_EQ(FormatKopecks(5), "0.05");
  EXPECT_EQ(FormatKopecks(123456), "1234.56");
}

TEST(CorpusOrganisation, FullStaffIsDistinctAndWritable) {
  Rng rng(1);
  const Organisation org = MakeOrganisation(rng, 0, 4501);
  ASSERT_EQ(org.staff.size(), 4501u);
  std::set<std::string> names;
  std::set<std::string> numbers;
  for (const Person& p : org.staff) {
    names.insert(p.FullName());
    numbers.insert(p.insuranceNumber);
    ASSERT_EQ(p.insuranceNumber.size(), 14u);
    ASSERT_EQ(p.insuranceNumber.substr(3, 1) + p.insuranceNumber.substr(7, 1) +
                  p.insuranceNumber.substr(11, 1),
              "-- ");
    // Upper-case Cyrillic only: a Latin look-alike would split one person into two rows.
    for (const std::string& part : {p.surname, p.firstName, p.patronymic})
      for (const char c : Utf8ToCp1251(part))
        ASSERT_GE(static_cast<unsigned char>(c), 0xC0) << part;
  }
  EXPECT_EQ(names.size(), 4501u);
  EXPECT_EQ(numbers.size(), 4501u);

  // Beyond the single surnames come double ones, all still distinct.
  Rng large(2);
  const Organisation big = MakeOrganisation(large, 0, 30000);
  std::set<std::string> bigNames;
  for (const Person& p : big.staff) bigNames.insert(p.FullName());
  EXPECT_EQ(bigNames.size(), 30000u);
  EXPECT_NE(big.staff.back().surname.find('-'), std::string::npos);

  Rng other(1);
  EXPECT_THROW(MakeOrganisation(other, 0, 2000000), std::invalid_argument);
}

TEST(CorpusFiles, SameSeedSameBytesOtherSeedOtherBytes) {
  CorpusOptions options;
  options.orgs = 1;
  options.persons = 40;
  options.periods = {{2011, 1}, {2011, 2}};
  options.inventories = true;
  options.leavers = 2;
  options.discrepancies = 2;
  ScratchDir a, b, c;
  const auto first = WriteCorpus(options, a.Path());
  const auto second = WriteCorpus(options, b.Path());
  options.seed = 2;
  const auto third = WriteCorpus(options, c.Path());
  ASSERT_EQ(first.size(), 4u);
  ASSERT_EQ(second.size(), first.size());
  bool anyDiffers = false;
  for (std::size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(first[i].path.filename(), second[i].path.filename());
    EXPECT_EQ(Bytes(first[i].path), Bytes(second[i].path));
    anyDiffers = anyDiffers || Bytes(first[i].path) != Bytes(third[i].path);
  }
  EXPECT_TRUE(anyDiffers);
}

// The readers find elements by line, so every line must hold one whole element and end in CR LF.
TEST(CorpusFiles, OneElementPerLineWithCrLf) {
  ScratchDir dir;
  for (const CorpusFile& f : WriteSamples(dir.Path())) {
    std::istringstream lines(Bytes(f.path));
    std::string line;
    int n = 0;
    while (std::getline(lines, line)) {
      ++n;
      ASSERT_TRUE(!line.empty() && line.back() == '\r') << f.path << ":" << n;
      line.pop_back();
      const std::size_t start = line.find_first_not_of(' ');
      ASSERT_NE(start, std::string::npos) << f.path << ":" << n;
      EXPECT_EQ(line[start], '<') << f.path << ":" << n;
      EXPECT_EQ(line.back(), '>') << f.path << ":" << n;
      EXPECT_LE(std::count(line.begin(), line.end(), '<'), 2) << f.path << ":" << n;
    }
    const bool hasFormKind = Bytes(f.path).find("<ВидФормы>"_w) != std::string::npos;
    EXPECT_EQ(hasFormKind, f.kind != FileKind::kInventory) << f.path;
  }
}

// What the readers take from a corpus must be what the generator meant to write: sums, leavers,
// discrepancies, and the inventories that were made to disagree.
TEST(CorpusFiles, ReadersSeeWhatWasGenerated) {
  CorpusOptions options;
  options.orgs = 1;
  options.persons = 300;
  options.periods = {{2010, 1}, {2010, 2}, {2011, 1}, {2011, 4}};
  options.inventories = true;
  options.leavers = 5;
  options.discrepancies = 4;
  options.unreadable = true;
  options.perFile = 100;  // 300, 295, 290 and 285 records: three files a period
  ScratchDir dir;
  const auto files = WriteCorpus(options, dir.Path());
  ASSERT_EQ(files.size(), 17u);

  OrgStore store;
  store.decimalSeparator = '.';
  const int slot = NewOrgSlot(store);
  std::string title;
  for (const CorpusFile& f : files) {
    HeaderInfo info;
    const bool readable = ScanHeader(f.path.string(), info);
    ASSERT_EQ(readable, f.kind != FileKind::kUnreadable) << f.path;
    if (!readable) continue;
    if (title.empty()) title = info.orgTitle;
    EXPECT_EQ(info.orgTitle, title);
    if (f.kind == FileKind::kIndividualRecords) {
      EXPECT_EQ(info.kind, kKindSZV);
      ReadZLFile(store, slot, f.path.string(), info.periodKey);
    } else {
      EXPECT_EQ(info.kind, kKindADV);
      ReadADVFile(store, slot, f.path.string(), info.periodKey);
    }
  }
  EXPECT_EQ(title.substr(14), Utf8ToCp1251("(ООО \"РОМАШКА\")"));

  const TInfo& zl = store.ZLInfo[slot];
  const TInfo& adv = store.ADVInfo[slot];
  const std::size_t rows = zl.Rows.Count();
  ASSERT_EQ(rows, 300u);
  std::size_t leavers = 0;
  for (const std::string& mark : zl.Dismissed) leavers += mark.empty() ? 0 : 1;
  EXPECT_EQ(leavers, 20u);

  const int insurer = static_cast<int>(adv.Rows.IndexOfName("ПО СТРАХОВАТЕЛЮ"_w));
  ASSERT_GE(insurer, 0);
  constexpr Amount4 kSkew = 1000 * 10000;
  int below = 0;
  int above = 0;
  for (std::size_t p = 0; p < options.periods.size(); ++p) {
    const std::string key = options.periods[p].Key();
    const int zc = ColumnOf(zl, key);
    const int ac = ColumnOf(adv, key);
    const Amount4 skew = p % 2 == 1 ? kSkew : 0;
    EXPECT_EQ(ParseAmount(adv.StrahN.Get(insurer, ac), '.'), ColumnSum(zl.StrahN, rows, zc) + skew)
        << key;
    EXPECT_EQ(ParseAmount(adv.StrahU.Get(insurer, ac), '.'), ColumnSum(zl.StrahU, rows, zc) + skew)
        << key;
    EXPECT_EQ(ParseAmount(adv.NakopN.Get(insurer, ac), '.'), ColumnSum(zl.NakopN, rows, zc)) << key;
    EXPECT_EQ(ParseAmount(adv.NakopU.Get(insurer, ac), '.'), ColumnSum(zl.NakopU, rows, zc)) << key;

    int differing = 0;
    for (std::size_t r = 0; r < rows; ++r) {
      const int row = static_cast<int>(r);
      for (const auto& [accrued, paid] :
           {std::pair{&zl.StrahN, &zl.StrahU}, std::pair{&zl.NakopN, &zl.NakopU}}) {
        const auto n = ParseAmount(accrued->Get(row, zc), '.');
        const auto u = ParseAmount(paid->Get(row, zc), '.');
        if (*n == *u) continue;
        ++differing;
        (*u < *n ? below : above)++;
      }
    }
    EXPECT_EQ(differing, 4) << key;
  }
  EXPECT_GT(below, 0);
  EXPECT_GT(above, 0);
}

TEST(CorpusSamples, SmallSetCoversTheAwkwardCases) {
  ScratchDir dir;
  const auto files = WriteSamples(dir.Path());
  std::uintmax_t total = 0;
  int unreadable = 0;
  int unknown = 0;
  int quoted = 0;
  std::set<std::string> orgs;
  for (const CorpusFile& f : files) {
    total += std::filesystem::file_size(f.path);
    const std::string bytes = Bytes(f.path);
    const std::string_view unknownAmount = ">\?\?\?<";  // escaped: "??<" is a trigraph
    for (std::size_t at = bytes.find(unknownAmount); at != std::string::npos;
         at = bytes.find(unknownAmount, at + 1))
      ++unknown;
    quoted += bytes.find("&quot;") != std::string::npos ? 1 : 0;
    HeaderInfo info;
    if (ScanHeader(f.path.string(), info))
      orgs.insert(info.orgTitle);
    else
      ++unreadable;
  }
  EXPECT_LT(total, 200u * 1024);
  EXPECT_EQ(unreadable, 1);
  EXPECT_EQ(unknown, 1);
  EXPECT_GT(quoted, 0);
  EXPECT_EQ(orgs.size(), 2u);
}

}  // namespace
}  // namespace lorvi::corpus
