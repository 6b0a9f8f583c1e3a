// The whole road on generated organisations in packs of 200 records, as the fund's files come:
// the full-size organisation of 4501 persons over 11 periods with its inventories (264 files),
// two of them at once, and 10 000 persons over 14 periods. For each: the load (placing the files,
// reading the organisation and filling the four grids), the same with the files read one after
// another, a tab change, a search keystroke and the print table, beside the time that
// `cat FILES | wc -l` takes over the same files in the same run.
//
//   bench_road [--road-persons=N,N,...] [benchmark options]
//
// With --road-persons only the load and the baseline run, on one organisation of each size over
// 14 periods: the scaling table of the README.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/text1251.h"
#include "generator/corpus.h"
#include "session/session.h"
#include "support/scratch_dir.h"
#include "table_reporter.h"

namespace {

using namespace lorvi;

const char* const kPeriods11[] = {"2010-1", "2010-2", "2011-1", "2011-2", "2011-3", "2011-4",
                                  "2012-1", "2012-2", "2012-3", "2012-4", "2013-1"};
const char* const kPeriods14[] = {"2010-1", "2010-2", "2011-1", "2011-2", "2011-3",
                                  "2011-4", "2012-1", "2012-2", "2012-3", "2012-4",
                                  "2013-1", "2013-2", "2013-3", "2013-4"};

struct Corpus {
  std::string name;
  int persons = 0;
  std::vector<std::string> paths;
  std::size_t bytes = 0;
  std::string catCommand;
};

template <std::size_t N>
Corpus Make(const ScratchDir& dir, int orgs, int persons, const char* const (&periods)[N]) {
  corpus::CorpusOptions options;
  options.orgs = orgs;
  options.persons = persons;
  for (const char* key : periods) options.periods.push_back(*corpus::ParsePeriod(key));
  options.inventories = true;
  options.leavers = 20;
  options.discrepancies = 20;
  options.perFile = 200;
  Corpus result;
  result.persons = persons;
  const std::filesystem::path folder = dir.Path() / std::to_string(result.persons * 100 + orgs);
  for (const corpus::CorpusFile& f : corpus::WriteCorpus(options, folder)) {
    result.paths.push_back(f.path.string());
    result.bytes += std::filesystem::file_size(f.path);
  }
  // The shell expands the folder's files itself: a command line of thousands of paths would be
  // longer than one argument may be.
  result.catCommand = "cat '" + folder.string() + "'/*.XML | wc -l";
  result.name = std::to_string(persons) + "x" + std::to_string(N) +
                (orgs > 1 ? " two organisations" : "") + " (" +
                std::to_string(result.paths.size()) + " files, " +
                std::to_string(result.bytes >> 20) + " MiB)";
  return result;
}

void Load(Session& session, const Corpus& corpus) {
  session.sbLoadFilesClick([&](const std::string&) { return std::optional(corpus.paths); });
}

// A session with the corpus loaded and its first organisation shown.
Session& Loaded(const Corpus& corpus) {
  static std::map<const Corpus*, std::unique_ptr<Session>> sessions;
  auto& session = sessions[&corpus];
  if (!session) {
    session = std::make_unique<Session>(',');
    session->FormCreate();
    session->FormShow();
    Load(*session, corpus);
  }
  return *session;
}

void BM_CatWcL(benchmark::State& state, const Corpus* corpus) {
  for (auto _ : state) {
    std::FILE* pipe = popen(corpus->catCommand.c_str(), "r");
    long lines = 0;
    if (pipe == nullptr || std::fscanf(pipe, "%ld", &lines) != 1) state.SkipWithError("cat failed");
    if (pipe) pclose(pipe);
    benchmark::DoNotOptimize(lines);
  }
}

// The load button with every file chosen: the files placed in the tree, the first organisation
// read and its four grids filled. `threads` as OrgStore::readerThreads.
void BM_Road(benchmark::State& state, const Corpus* corpus, int threads) {
  for (auto _ : state) {
    Session session(',');
    session.SetReaderThreads(threads);
    session.FormCreate();
    session.FormShow();
    Load(session, *corpus);
    if (session.sgZLStrah().RowCount() != corpus->persons + 1)
      state.SkipWithError("not all persons shown");
  }
}

void BM_FirstSelection(benchmark::State& state, const Corpus* corpus) {
  Session& session = Loaded(*corpus);
  const TreeNode* org = session.tvLF().TopLevel().front();
  // The organisation and its first period, in turn: each selection reads it again.
  const TreeNode* nodes[] = {org, org->children.front()};
  int next = 1;
  for (auto _ : state) {
    session.MarkUnread(org->datum);
    session.SelectNode(nodes[next]);
    next = 1 - next;
  }
}

void BM_SecondOrganisation(benchmark::State& state, const Corpus* corpus) {
  Session& session = Loaded(*corpus);
  const TreeNode* first = session.tvLF().TopLevel()[0];
  const TreeNode* second = session.tvLF().TopLevel()[1];
  for (auto _ : state) {
    session.MarkUnread(second->datum);
    session.SelectNode(second);
    session.SelectNode(first);
  }
}

void BM_TabChange(benchmark::State& state, const Corpus* corpus) {
  Session& session = Loaded(*corpus);
  int tab = 1;
  for (auto _ : state) {
    session.SelectTab(tab);
    tab = tab == 1 ? 2 : 1;
  }
  session.SelectTab(0);
}

void BM_SearchKeystroke(benchmark::State& state, const Corpus* corpus) {
  Session& session = Loaded(*corpus);
  const std::string texts[] = {std::string("В"_w), std::string("ВИ"_w), std::string("Я"_w),
                               std::string("ЯК"_w)};
  std::size_t i = 0;
  for (auto _ : state) session.edFindFIOChange(texts[i++ % 4]);
}

void BM_PrintTable(benchmark::State& state, const Corpus* corpus) {
  Session& session = Loaded(*corpus);
  for (auto _ : state) benchmark::DoNotOptimize(session.sbPrintClick());
}

using lorvi::bench::TableReporter;

std::vector<int> ParsePersons(int& argc, char** argv) {
  std::vector<int> persons;
  const std::string flag = "--road-persons=";
  int kept = 1;
  for (int a = 1; a < argc; ++a) {
    const std::string arg = argv[a];
    if (!arg.starts_with(flag)) {
      argv[kept++] = argv[a];
      continue;
    }
    std::size_t from = flag.size();
    while (from < arg.size()) {
      const std::size_t comma = arg.find(',', from);
      persons.push_back(std::atoi(arg.substr(from, comma - from).c_str()));
      if (comma == std::string::npos) break;
      from = comma + 1;
    }
  }
  argc = kept;
  return persons;
}

void Summary(const TableReporter& reporter, const std::vector<const Corpus*>& corpora,
             bool details) {
  std::printf("\n%-48s %9s %9s %9s %11s", "corpus", "road ms", "1 thread", "cat|wc ms",
              "road/cat|wc");
  if (details) std::printf(" %9s %9s %9s %9s", "tab ms", "search µs", "print ms", "select ms");
  std::printf("\n");
  for (const Corpus* c : corpora) {
    const double road = reporter.Ms("Road/" + c->name);
    const double one = reporter.Ms("Road one by one/" + c->name);
    const double cat = reporter.Ms("cat FILES | wc -l/" + c->name);
    std::printf("%-48s %9.1f %9.1f %9.1f %11.2f", c->name.c_str(), road, one, cat,
                cat > 0 ? road / cat : -1.0);
    if (details)
      std::printf(" %9.1f %9.1f %9.1f %9.1f", reporter.Ms("TabChange/" + c->name),
                  reporter.Ms("SearchKeystroke/" + c->name) * 1000.0,
                  reporter.Ms("PrintTable/" + c->name), reporter.Ms("FirstSelection/" + c->name));
    std::printf("\n");
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<int> scaling = ParsePersons(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  ScratchDir dir;
  std::vector<std::unique_ptr<Corpus>> corpora;
  std::vector<const Corpus*> table;
  const auto ms = benchmark::kMillisecond;
  const auto road = [&](const Corpus* c, bool oneByOne) {
    benchmark::RegisterBenchmark(("cat FILES | wc -l/" + c->name).c_str(), BM_CatWcL, c)->Unit(ms);
    benchmark::RegisterBenchmark(("Road/" + c->name).c_str(), BM_Road, c, 0)->Unit(ms);
    if (oneByOne)
      benchmark::RegisterBenchmark(("Road one by one/" + c->name).c_str(), BM_Road, c, 1)->Unit(ms);
    table.push_back(c);
  };

  if (!scaling.empty()) {
    for (const int persons : scaling) {
      corpora.push_back(std::make_unique<Corpus>(Make(dir, 1, persons, kPeriods14)));
      road(corpora.back().get(), false);
    }
  } else {
    corpora.push_back(std::make_unique<Corpus>(Make(dir, 1, 4501, kPeriods11)));
    corpora.push_back(std::make_unique<Corpus>(Make(dir, 1, 10000, kPeriods14)));
    corpora.push_back(std::make_unique<Corpus>(Make(dir, 2, 4501, kPeriods11)));
    for (int i = 0; i < 2; ++i) {
      const Corpus* c = corpora[static_cast<std::size_t>(i)].get();
      road(c, true);
      benchmark::RegisterBenchmark(("FirstSelection/" + c->name).c_str(), BM_FirstSelection, c)
          ->Unit(ms);
      benchmark::RegisterBenchmark(("TabChange/" + c->name).c_str(), BM_TabChange, c)->Unit(ms);
      benchmark::RegisterBenchmark(("SearchKeystroke/" + c->name).c_str(), BM_SearchKeystroke, c)
          ->Unit(benchmark::kMicrosecond);
      benchmark::RegisterBenchmark(("PrintTable/" + c->name).c_str(), BM_PrintTable, c)->Unit(ms);
    }
    const Corpus* pair = corpora[2].get();
    road(pair, false);
    benchmark::RegisterBenchmark(("SelectOtherOrganisation/" + pair->name).c_str(),
                                 BM_SecondOrganisation, pair)
        ->Unit(ms);
  }

  TableReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  Summary(reporter, table, scaling.empty());
  benchmark::Shutdown();
  return 0;
}
