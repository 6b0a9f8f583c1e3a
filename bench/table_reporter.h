#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace lorvi::bench {

// Passes everything to the console and keeps the wall time per iteration of each benchmark, for
// the tables the benchmarks print after their runs.
class TableReporter : public benchmark::ConsoleReporter {
 public:
  // Without colour: the output usually ends up in a log.
  TableReporter() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && run.iterations > 0)
        seconds_[run.benchmark_name()] = run.real_accumulated_time / run.iterations;
  }

  // Milliseconds per iteration of `name`, or a negative value when it did not run.
  double Ms(const std::string& name) const {
    const auto it = seconds_.find(name);
    return it == seconds_.end() ? -1 : it->second * 1000.0;
  }

  // Milliseconds per MiB of `name` on a file of `bytes`, or a negative value when it did not run.
  double MsPerMiB(const std::string& name, std::size_t bytes) const {
    const double ms = Ms(name);
    if (ms < 0 || bytes == 0) return -1;
    return ms / (static_cast<double>(bytes) / (1024.0 * 1024.0));
  }

 private:
  std::map<std::string, double> seconds_;
};

}  // namespace lorvi::bench
