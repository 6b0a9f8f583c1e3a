// How fast the readers take a full organisation (4501 persons) and its inventory, against the
// floor of reading the same bytes and counting their lines; and how fast one worker reads the
// records file alone (read, split, scan, amounts converted), as an organisation is read. The
// table at the end gives all per MiB so that a slowdown in the readers shows apart from the disk.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "generator/corpus.h"
#include "intake/header_scan.h"
#include "store/adv_reader.h"
#include "store/file_reading.h"
#include "store/org_store.h"
#include "store/zl_reader.h"
#include "support/scratch_dir.h"
#include "table_reporter.h"

namespace {

using namespace lorvi;

constexpr int kPersons = 4501;

struct BenchFile {
  std::string path;
  std::string periodKey;  // from the header, as the window passes it
  std::size_t bytes = 0;
};

std::size_t ReadAndCountLines(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) throw std::runtime_error("cannot open " + path);
  std::fseek(f, 0, SEEK_END);
  const long size = std::ftell(f);
  std::fseek(f, 0, SEEK_SET);
  std::string buffer(static_cast<std::size_t>(size), '\0');
  const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), f);
  std::fclose(f);
  std::size_t lines = 0;
  const char* p = buffer.data();
  const char* const end = p + got;
  while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p))))) {
    ++lines;
    ++p;
  }
  return lines;
}

void SetBytes(benchmark::State& state, const BenchFile& file) {
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.bytes));
}

void BM_ReadZLFile(benchmark::State& state, const BenchFile& file) {
  OrgStore store;
  store.decimalSeparator = '.';
  for (auto _ : state) {
    ClearAllStores(store);
    const int slot = NewOrgSlot(store);
    ReadZLFile(store, slot, file.path, file.periodKey);
    benchmark::DoNotOptimize(store.ZLInfo[slot].Rows.Count());
  }
  // A reader that stops early would look fast.
  if (store.ZLInfo[0].Rows.Count() != kPersons) state.SkipWithError("not every person was read");
  SetBytes(state, file);
}

// What a worker does with a file of an organisation: read, split, scan and convert the amounts,
// without the store.
void BM_ReadAlone(benchmark::State& state, const BenchFile& file) {
  std::size_t steps = 0;
  for (auto _ : state) {
    const FileReading reading = ReadFileAlone(file.path, '.');
    if (reading.failure) state.SkipWithError("the file failed");
    steps = reading.steps.size();
    benchmark::DoNotOptimize(steps);
  }
  if (steps < static_cast<std::size_t>(kPersons)) state.SkipWithError("not every person was read");
  SetBytes(state, file);
}

void BM_ReadADVFile(benchmark::State& state, const BenchFile& file) {
  OrgStore store;
  store.decimalSeparator = '.';
  for (auto _ : state) {
    ClearAllStores(store);
    const int slot = NewOrgSlot(store);
    ReadADVFile(store, slot, file.path, file.periodKey);
    benchmark::DoNotOptimize(store.ADVInfo[slot].Rows.Count());
  }
  if (store.ADVInfo[0].Rows.Count() < 2) state.SkipWithError("inventory rows missing");
  SetBytes(state, file);
}

void BM_Baseline(benchmark::State& state, const BenchFile& file) {
  for (auto _ : state) benchmark::DoNotOptimize(ReadAndCountLines(file.path));
  SetBytes(state, file);
}

void BM_ScanHeader(benchmark::State& state, const BenchFile& file) {
  HeaderInfo info;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ScanHeader(file.path, info));
  }
  if (info.kind.empty()) state.SkipWithError("header not recognised");
  SetBytes(state, file);
}

using lorvi::bench::TableReporter;

void PrintTable(const TableReporter& reporter, const char* title, const BenchFile& file,
                const std::string& reader, const std::string& baseline, const std::string& scan) {
  const double mib = static_cast<double>(file.bytes) / (1024.0 * 1024.0);
  const double r = reporter.MsPerMiB(reader, file.bytes);
  const double b = reporter.MsPerMiB(baseline, file.bytes);
  const double s = reporter.MsPerMiB(scan, file.bytes);
  const auto cell = [](double v) {
    char text[32];
    if (v < 0)
      std::snprintf(text, sizeof text, "%14s", "-");
    else
      std::snprintf(text, sizeof text, "%14.2f", v);
    return std::string(text);
  };
  std::printf("%-20s %8.4f %s %s %s %s\n", title, mib, cell(r).c_str(), cell(b).c_str(),
              (r < 0 || b <= 0 ? cell(-1) : cell(r / b)).c_str(), cell(s).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  ScratchDir dir;
  corpus::CorpusOptions options;
  options.orgs = 1;
  options.persons = kPersons;
  options.periods = {{2011, 3}};
  options.inventories = true;
  options.leavers = 45;
  options.discrepancies = 45;
  BenchFile records;
  BenchFile inventory;
  for (const corpus::CorpusFile& f : corpus::WriteCorpus(options, dir.Path())) {
    BenchFile& target = f.kind == corpus::FileKind::kInventory ? inventory : records;
    target.path = f.path.string();
    target.bytes = static_cast<std::size_t>(std::filesystem::file_size(f.path));
    HeaderInfo info;
    if (!ScanHeader(target.path, info)) {
      std::fprintf(stderr, "generated file not recognised: %s\n", target.path.c_str());
      return 1;
    }
    target.periodKey = info.periodKey;
  }

  const auto unit = benchmark::kMicrosecond;
  benchmark::RegisterBenchmark("BM_ReadZLFile", BM_ReadZLFile, records)->Unit(unit);
  benchmark::RegisterBenchmark("BM_ReadAlone/records", BM_ReadAlone, records)->Unit(unit);
  benchmark::RegisterBenchmark("BM_BaselineReadAndCountLines/records", BM_Baseline, records)
      ->Unit(unit);
  benchmark::RegisterBenchmark("BM_ReadADVFile", BM_ReadADVFile, inventory)->Unit(unit);
  benchmark::RegisterBenchmark("BM_BaselineReadAndCountLines/inventory", BM_Baseline, inventory)
      ->Unit(unit);
  benchmark::RegisterBenchmark("BM_ScanHeader/records", BM_ScanHeader, records)->Unit(unit);
  benchmark::RegisterBenchmark("BM_ScanHeader/inventory", BM_ScanHeader, inventory)->Unit(unit);

  TableReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\n%-20s %8s %14s %14s %14s %14s\n", "file", "MiB", "reader ms/MiB", "base ms/MiB",
              "reader/base", "scan ms/MiB");
  PrintTable(reporter, "individual records", records, "BM_ReadZLFile",
             "BM_BaselineReadAndCountLines/records", "BM_ScanHeader/records");
  PrintTable(reporter, "records read alone", records, "BM_ReadAlone/records",
             "BM_BaselineReadAndCountLines/records", "BM_ScanHeader/records");
  PrintTable(reporter, "inventory", inventory, "BM_ReadADVFile",
             "BM_BaselineReadAndCountLines/inventory", "BM_ScanHeader/inventory");
  benchmark::Shutdown();
  return 0;
}
