// The report of a large organisation, beside the road (placing and reading its files and filling
// the grids) of the same organisation in the same run: the print button's preparation, its first
// page on screen, each export and printing to a PDF printer, on 4 501 persons over 11 periods and
// 10 000 persons over 14. Prints, after the runs, each as a ratio to the road and the peak memory
// each took above the shown organisation.
//
//   bench_report [benchmark options]
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPrinter>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/heap_tuning.h"
#include "generator/corpus.h"
#include "models/dm_rpt.h"
#include "preview/print_report.h"
#include "process_memory.h"
#include "report/exports.h"
#include "report/page_painter.h"
#include "session/session.h"
#include "support/scratch_dir.h"
#include "table_reporter.h"

namespace {

using namespace lorvi;
using bench::PeakKb;
using bench::ResetPeak;

struct Organisation {
  std::string name;
  std::vector<std::string> paths;
  std::unique_ptr<Session> session;
  std::optional<PrintJob> job;
  report::PreparedReport prepared;
  std::map<std::string, double> peakAboveMb;
};

const ScratchDir& Scratch() {
  static const ScratchDir dir;
  return dir;
}

TDMRpt& DataModule() {
  static TDMRpt module{QStringLiteral(LORVI_SOURCE_DIR)};
  return module;
}

std::vector<std::string> Write(int persons, int periods) {
  corpus::CorpusOptions options;
  options.orgs = 1;
  options.persons = persons;
  for (int year = 2010; static_cast<int>(options.periods.size()) < periods; ++year)
    for (int q = 1; q <= 4 && static_cast<int>(options.periods.size()) < periods; ++q) {
      if (year == 2010 && q > 2) break;
      options.periods.push_back(
          *corpus::ParsePeriod(std::to_string(year) + "-" + std::to_string(q)));
    }
  options.inventories = true;
  options.leavers = 20;
  options.discrepancies = 20;
  options.perFile = 200;
  std::vector<std::string> paths;
  const auto folder = Scratch().Path() / (std::to_string(persons) + "x" + std::to_string(periods));
  for (const corpus::CorpusFile& f : corpus::WriteCorpus(options, folder))
    paths.push_back(f.path.string());
  return paths;
}

std::unique_ptr<Session> Load(const std::vector<std::string>& paths) {
  auto session = std::make_unique<Session>(',');
  session->FormCreate();
  session->FormShow();
  session->sbLoadFilesClick([&](const std::string&) { return std::optional(paths); });
  return session;
}

Organisation& Org(int persons, int periods) {
  static std::map<int, Organisation> orgs;
  Organisation& org = orgs[persons * 100 + periods];
  if (org.paths.empty()) {
    org.name = std::to_string(persons) + "x" + std::to_string(periods);
    org.paths = Write(persons, periods);
    org.session = Load(org.paths);
    org.job = org.session->sbPrintClick();
  }
  return org;
}

// The preview's pages: prepared as the print button prepares them.
const report::PreparedReport& Prepared(Organisation& org) {
  if (org.prepared.IsEmpty()) {
    DataModule().Rpt.ShowPreview = [&](const report::PreparedReport& prepared, QWidget*) {
      org.prepared = prepared;
    };
    DataModule().Print(*org.job, nullptr);
  }
  return org.prepared;
}

// Measures `work` once an iteration, and the peak memory it took above what was held before.
template <typename Work>
void Measure(benchmark::State& state, Organisation& org, const std::string& what, Work work) {
  ResetPeak();
  const long before = PeakKb();
  for (auto _ : state) work();
  org.peakAboveMb[what] = static_cast<double>(PeakKb() - before) / 1024.0;
  state.counters["peak_above_MB"] = org.peakAboveMb[what];
}

void Road(benchmark::State& state, int persons, int periods) {
  Organisation& org = Org(persons, periods);
  for (auto _ : state) Load(org.paths);
}

void Prepare(benchmark::State& state, int persons, int periods) {
  Organisation& org = Org(persons, periods);
  Measure(state, org, "prepare", [&] {
    org.prepared = {};
    Prepared(org);
  });
}

void FirstPage(benchmark::State& state, int persons, int periods) {
  Organisation& org = Org(persons, periods);
  Measure(state, org, "first page", [&] {
    org.prepared = {};
    benchmark::DoNotOptimize(report::RenderPage(Prepared(org).Page(0), 96));
  });
}

void Export(benchmark::State& state, int persons, int periods, const char* suffix) {
  Organisation& org = Org(persons, periods);
  const report::PreparedReport& prepared = Prepared(org);
  const QString path = QString::fromStdString((Scratch().Path() / "report.").string() + suffix);
  Measure(state, org, suffix, [&] {
    if (std::string(suffix) == "pdf") report::ExportPdf(prepared, path);
    if (std::string(suffix) == "xlsx") report::ExportXlsx(prepared, path);
    if (std::string(suffix) == "rtf") report::ExportRtf(prepared, path);
  });
}

// Pictures cost by the page: the first twenty, against as many PDF pages.
void JpegPages(benchmark::State& state, int persons, int periods, bool jpeg) {
  Organisation& org = Org(persons, periods);
  QList<report::PreparedPage> pages;
  for (int p = 0; p < 20; ++p) pages.append(Prepared(org).Page(p));
  const report::PreparedReport first(pages);
  const std::string base = (Scratch().Path() / "pages").string();
  Measure(state, org, jpeg ? "jpeg 20 pages" : "pdf 20 pages", [&] {
    if (jpeg)
      report::ExportJpeg(first, QString::fromStdString(base + ".jpg"));
    else
      report::ExportPdf(first, QString::fromStdString(base + ".pdf"));
  });
}

void Print(benchmark::State& state, int persons, int periods) {
  Organisation& org = Org(persons, periods);
  const report::PreparedReport& prepared = Prepared(org);
  Measure(state, org, "print", [&] {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString((Scratch().Path() / "printed.pdf").string()));
    report::PrintReport(prepared, printer);
  });
}

struct Size {
  int persons;
  int periods;
};
constexpr Size kSizes[] = {{4501, 11}, {10000, 14}};
const char* const kSteps[] = {"Prepare", "FirstPage", "Pdf",    "Xlsx",
                              "Rtf",     "Pdf20",     "Jpeg20", "Print"};

void Register() {
  for (const Size& s : kSizes) {
    const std::string tail = "/" + std::to_string(s.persons) + "x" + std::to_string(s.periods);
    const auto add = [&](const std::string& name, auto function) {
      benchmark::RegisterBenchmark((name + tail).c_str(), function)
          ->Unit(benchmark::kMillisecond)
          ->Iterations(1);
    };
    add("Road", [s](benchmark::State& st) { Road(st, s.persons, s.periods); });
    add("Prepare", [s](benchmark::State& st) { Prepare(st, s.persons, s.periods); });
    add("FirstPage", [s](benchmark::State& st) { FirstPage(st, s.persons, s.periods); });
    add("Pdf", [s](benchmark::State& st) { Export(st, s.persons, s.periods, "pdf"); });
    add("Xlsx", [s](benchmark::State& st) { Export(st, s.persons, s.periods, "xlsx"); });
    add("Rtf", [s](benchmark::State& st) { Export(st, s.persons, s.periods, "rtf"); });
    add("Pdf20", [s](benchmark::State& st) { JpegPages(st, s.persons, s.periods, false); });
    add("Jpeg20", [s](benchmark::State& st) { JpegPages(st, s.persons, s.periods, true); });
    add("Print", [s](benchmark::State& st) { Print(st, s.persons, s.periods); });
  }
}

}  // namespace

int main(int argc, char** argv) {
  // As the programs run.
  lorvi::KeepFreedMemoryForReuse();
  // Pages are painted with Qt's fonts; no window is shown.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  Register();
  lorvi::bench::TableReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  // The exports and printing start from prepared pages: with the preparation they are what the
  // user waits for after "Печать".
  std::printf(
      "\n| Organisation | Road | Step | Time | Ratio to the road | With the preparation |\n"
      "|---|---|---|---|---|---|\n");
  for (const Size& s : kSizes) {
    const std::string tail =
        "/" + std::to_string(s.persons) + "x" + std::to_string(s.periods) + "/iterations:1";
    const double road = reporter.Ms("Road" + tail);
    const double prepare = reporter.Ms("Prepare" + tail);
    for (const char* step : kSteps) {
      const double ms = reporter.Ms(step + tail);
      if (ms < 0 || road <= 0) continue;
      const std::string name = step;
      char withPreparation[32] = "";
      if (name != "Prepare" && name != "FirstPage" && name.find("20") == std::string::npos)
        std::snprintf(withPreparation, sizeof withPreparation, "%.1f ×", (ms + prepare) / road);
      std::printf("| %d × %d | %.2f s | %s | %.2f s | %.1f × | %s |\n", s.persons, s.periods,
                  road / 1000, step, ms / 1000, ms / road, withPreparation);
    }
  }
  benchmark::Shutdown();
  return 0;
}
