// The whole road on the largest organisation the program takes (11 periods of 4501 persons with
// their inventories), and on two of them at once: placing the files, the first selection (reading
// and filling the four grids), a tab change, a search keystroke and the print table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "app/session.h"
#include "generator/corpus.h"
#include "intake/text1251.h"

namespace {

using namespace lorvi;

struct Corpus {
  std::vector<std::string> paths;
};

Corpus Make(const corpus::ScratchDir& dir, int orgs) {
  corpus::CorpusOptions options;
  options.orgs = orgs;
  options.persons = kMaxRows;
  for (const char* key : {"2010-1", "2010-2", "2011-1", "2011-2", "2011-3", "2011-4", "2012-1",
                          "2012-2", "2012-3", "2012-4", "2013-1"})
    options.periods.push_back(*corpus::ParsePeriod(key));
  options.inventories = true;
  options.leavers = 20;
  options.discrepancies = 20;
  Corpus result;
  for (const corpus::CorpusFile& f : corpus::WriteCorpus(options, dir.Path()))
    result.paths.push_back(f.path.string());
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

void BM_Load(benchmark::State& state, const Corpus* corpus) {
  for (auto _ : state) {
    Session session(',');
    session.FormCreate();
    session.FormShow();
    Load(session, *corpus);
    if (session.sgZLStrah.RowCount() != kMaxRows + 1) state.SkipWithError("not all persons shown");
  }
}

void BM_FirstSelection(benchmark::State& state, const Corpus* corpus) {
  Session& session = Loaded(*corpus);
  TreeNode* org = session.tvLF.TopLevel().front().get();
  for (auto _ : state) {
    session.store.OrgDirty[org->datum] = true;
    session.tvLFChange(org);
  }
}

void BM_SecondOrganisation(benchmark::State& state, const Corpus* corpus) {
  Session& session = Loaded(*corpus);
  TreeNode* first = session.tvLF.TopLevel()[0].get();
  TreeNode* second = session.tvLF.TopLevel()[1].get();
  for (auto _ : state) {
    session.store.OrgDirty[second->datum] = true;
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
  const std::string texts[] = {"В"_w.data(), "ВИ"_w.data(), "Я"_w.data(), "ЯК"_w.data()};
  std::size_t i = 0;
  for (auto _ : state) session.edFindFIOChange(texts[i++ % 4]);
}

void BM_PrintTable(benchmark::State& state, const Corpus* corpus) {
  Session& session = Loaded(*corpus);
  for (auto _ : state) benchmark::DoNotOptimize(session.sbPrintClick());
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  corpus::ScratchDir one, two;
  static const Corpus single = Make(one, 1);
  static const Corpus pair = Make(two, 2);

  const auto ms = benchmark::kMillisecond;
  benchmark::RegisterBenchmark("Load/1 organisation", BM_Load, &single)->Unit(ms);
  benchmark::RegisterBenchmark("FirstSelection/1 organisation", BM_FirstSelection, &single)->Unit(ms);
  benchmark::RegisterBenchmark("TabChange/1 organisation", BM_TabChange, &single)->Unit(ms);
  benchmark::RegisterBenchmark("SearchKeystroke/1 organisation", BM_SearchKeystroke, &single)
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("PrintTable/1 organisation", BM_PrintTable, &single)->Unit(ms);
  benchmark::RegisterBenchmark("Load/2 organisations", BM_Load, &pair)->Unit(ms);
  benchmark::RegisterBenchmark("SelectOtherOrganisation/2 organisations", BM_SecondOrganisation,
                               &pair)
      ->Unit(ms);
  benchmark::RegisterBenchmark("TabChange/2 organisations", BM_TabChange, &pair)->Unit(ms);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
