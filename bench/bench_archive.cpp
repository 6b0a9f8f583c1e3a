// The archive of many employers: organisations of mixed sizes (20, 50 and 80 persons, 50 on
// average) over 12 periods (2011-1 to 2013-4) with inventories, reconciled whole as
// `lorvi-check --archive` does it (every organisation read on its own, the overview written),
// beside `cat FILES | wc -l` over the same files, paired run by run; then the peak memory of the
// whole archive against that of its largest organisation read alone.
//
//   bench_archive [ORGANISATIONS (1000)] [RUNS (3)]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "archive/archive_files.h"
#include "archive/archive_run.h"
#include "base/heap_tuning.h"
#include "generator/corpus.h"
#include "intake/file_list.h"
#include "process_memory.h"
#include "support/scratch_dir.h"

namespace {

using namespace lorvi;
using bench::PeakKb;
using bench::ResetPeak;
using Clock = std::chrono::steady_clock;

template <typename Work>
double Seconds(Work work) {
  const auto start = Clock::now();
  work();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  KeepFreedMemoryForReuse();
  const int organisations = argc > 1 ? std::atoi(argv[1]) : 1000;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  const ScratchDir dir;
  const auto archive = dir.Path() / "archive";

  const int sizes[] = {20, 50, 80};
  std::uintmax_t bytes = 0;
  std::size_t files = 0;
  for (int b = 0, first = 0; b < 3; ++b) {
    corpus::CorpusOptions options;
    options.orgs = organisations / 3 + (b < organisations % 3 ? 1 : 0);
    options.persons = sizes[b];
    options.firstOrg = first;
    options.seed = static_cast<std::uint64_t>(b + 1);
    for (int year = 2011; year <= 2013; ++year)
      for (int q = 1; q <= 4; ++q)
        options.periods.push_back(
            *corpus::ParsePeriod(std::to_string(year) + "-" + std::to_string(q)));
    options.inventories = true;
    options.leavers = 1;
    options.discrepancies = 1;
    for (const corpus::CorpusFile& f : corpus::WriteCorpus(options, archive)) {
      bytes += std::filesystem::file_size(f.path);
      ++files;
    }
    first += options.orgs;
  }

  ArchiveRequest request;
  request.inputs = {archive.string()};
  request.overview = (dir.Path() / "overview.xlsx").string();
  request.separator = ',';
  request.date = "10.12.2026";
  const std::string cat =
      "find '" + archive.string() + "' -type f -print0 | xargs -0 cat | wc -l > /dev/null";
  if (std::system(cat.c_str()) != 0) return 1;  // the files in the page cache for both

  std::vector<double> road;
  std::vector<double> baseline;
  std::vector<double> ratios;
  for (int r = 0; r < runs; ++r) {
    baseline.push_back(Seconds([&] {
      if (std::system(cat.c_str()) != 0) std::exit(1);
    }));
    road.push_back(Seconds([&] { ReconcileArchive(request, {}); }));
    ratios.push_back(road.back() / baseline.back());
  }

  // The largest organisation alone, then the whole archive, each from the memory held now.
  const ArchiveFiles sorted = SortArchive(ExpandFolders(request.inputs), {});
  const auto largest =
      std::max_element(sorted.organisations.begin(), sorted.organisations.end(),
                       [](const ArchiveOrganisation& a, const ArchiveOrganisation& b) {
                         return a.files.size() < b.files.size();
                       });
  ResetPeak();
  ReviewOrganisation(*largest, ',', request.date);
  const double alone = static_cast<double>(PeakKb()) / 1024.0;
  ResetPeak();
  ReconcileArchive(request, {});
  const double whole = static_cast<double>(PeakKb()) / 1024.0;

  std::printf("| What | Figure | Goal |\n|---|---|---|\n");
  std::printf("| archive | %d organisations, %zu files, %.0f MiB | |\n", organisations, files,
              static_cast<double>(bytes) / (1024.0 * 1024.0));
  std::printf("| reconciled whole (median of %d) | %.2f s, %.0f organisations/s, %.0f MiB/s | |\n",
              runs, Median(road), organisations / Median(road),
              static_cast<double>(bytes) / (1024.0 * 1024.0) / Median(road));
  std::printf("| `cat FILES \\| wc -l` (median) | %.2f s | |\n", Median(baseline));
  std::printf("| reconciled / `cat \\| wc -l`, paired (median) | %.2f | ≤ 1.5 |\n", Median(ratios));
  std::printf(
      "| peak memory: whole archive / largest organisation alone | %.0f MB / %.0f MB (%.2f) "
      "| ≤ 2 |\n",
      whole, alone, whole / alone);
  return 0;
}
