// The reconciliation workbook of a large organisation: 10 000 persons over 14 periods (2010-1 to
// 2013-4), read and shown, then written. Reports the time per workbook and how far the writing
// raised the process's peak memory above what the shown organisation already took.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "generator/corpus.h"
#include "process_memory.h"
#include "session/session.h"
#include "support/scratch_dir.h"
#include "workbook/workbook_xlsx.h"

namespace {

using namespace lorvi;
using bench::PeakKb;

void BM_Workbook10000x14(benchmark::State& state) {
  const ScratchDir dir;
  corpus::CorpusOptions options;
  options.orgs = 1;
  options.persons = 10000;
  for (int year = 2010; year <= 2013; ++year)
    for (int q = 1; q <= 4; ++q) {
      if (year == 2010 && q > 2) break;
      options.periods.push_back(
          *corpus::ParsePeriod(std::to_string(year) + "-" + std::to_string(q)));
    }
  options.inventories = true;
  options.leavers = 20;
  options.discrepancies = 20;
  std::vector<std::string> paths;
  for (const corpus::CorpusFile& f : corpus::WriteCorpus(options, dir.Path()))
    paths.push_back(f.path.string());
  Session session(',');
  session.FormCreate();
  session.FormShow();
  session.sbLoadFilesClick([&](const std::string&) { return std::optional(paths); });
  if (session.sgZLStrah().RowCount() != 10001) {
    state.SkipWithError("the organisation was not read whole");
    return;
  }
  const long before = PeakKb();
  const std::string path = (dir.Path() / "сверка.xlsx").string();
  for (auto _ : state) {
    const auto reconciliation = session.ReconciliationShown("09.12.2026");
    WriteReconciliationWorkbook(*reconciliation, path, 0);
  }
  state.counters["peak_above_MB"] = static_cast<double>(PeakKb() - before) / 1024.0;
}
BENCHMARK(BM_Workbook10000x14)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
