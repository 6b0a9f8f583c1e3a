#include "generator/command_line.h"

#include <charconv>

namespace lorvi::corpus {
namespace {

bool ParseCount(std::string_view text, long long& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value >= 0 &&
         value <= 1000000000;
}

}  // namespace

const char* const kUsage =
    "usage: lorvi-gen --out DIR [--orgs N] [--persons N] [--periods 2011-1,2011-2,...]\n"
    "                 [--seed N] [--inventories] [--discrepancies N] [--leavers N] [--unreadable]\n"
    "                 [--per-file N]\n"
    "       lorvi-gen --out DIR --samples\n"
    "\n"
    "  --orgs N           organisations (default 2)\n"
    "  --persons N        staff of each organisation (default 4501)\n"
    "  --periods LIST     year-quarter keys; 2010 has half-years 1 and 2 (default 2011-1..2011-4)\n"
    "  --seed N           the same seed gives the same files (default 1)\n"
    "  --inventories      an inventory after each file of individual records\n"
    "  --discrepancies N  N records per file paid below or above accrued; every second\n"
    "                     inventory then also disagrees with its records by 1000.00\n"
    "  --leavers N        N persons per file leave before the period ends\n"
    "  --unreadable       one more file, of form kind SPV-1, that the analyser refuses\n"
    "  --per-file N       at most N records per file of individual records (the fund's packs\n"
    "                     hold 200); 0, the default, writes one file per period\n"
    "  --samples          the small set shipped with the sources; takes no other option\n";

std::optional<std::string> ParseCommandLine(const std::vector<std::string_view>& args,
                                            Command& command) {
  command = Command{};
  CorpusOptions& options = command.options;
  bool others = false;  // any option besides --out and --samples
  for (std::size_t a = 0; a < args.size(); ++a) {
    const std::string_view arg = args[a];
    if (arg == "--help" || arg == "-h") {
      command.help = true;
      return std::nullopt;
    }
    if (arg == "--samples") {
      command.samples = true;
      continue;
    }
    if (arg == "--inventories" || arg == "--unreadable") {
      (arg == "--inventories" ? options.inventories : options.unreadable) = true;
      others = true;
      continue;
    }
    if (a + 1 >= args.size()) return "unknown option or missing value: " + std::string(arg);
    const std::string_view value = args[++a];
    if (arg == "--out") {
      command.out = value;
      continue;
    }
    others = true;
    if (arg == "--periods") {
      options.periods.clear();
      std::size_t from = 0;
      for (;;) {
        const std::size_t comma = value.find(',', from);
        const std::string_view key = value.substr(from, comma - from);
        const auto period = ParsePeriod(key);
        if (!period) return "not a period: '" + std::string(key) + "'";
        options.periods.push_back(*period);
        if (comma == std::string_view::npos) break;
        from = comma + 1;
      }
      continue;
    }
    long long n = 0;
    if (!ParseCount(value, n)) return "not a count: " + std::string(value);
    if (arg == "--orgs")
      options.orgs = static_cast<int>(n);
    else if (arg == "--persons")
      options.persons = static_cast<int>(n);
    else if (arg == "--seed")
      options.seed = static_cast<std::uint64_t>(n);
    else if (arg == "--discrepancies")
      options.discrepancies = static_cast<int>(n);
    else if (arg == "--leavers")
      options.leavers = static_cast<int>(n);
    else if (arg == "--per-file")
      options.perFile = static_cast<int>(n);
    else
      return "unknown option: " + std::string(arg);
  }
  if (command.out.empty()) return "--out is required";
  if (command.samples && others) return "--samples takes no other option than --out";
  if (options.periods.empty())
    for (int q = 1; q <= 4; ++q) options.periods.push_back({2011, q});
  return std::nullopt;
}

}  // namespace lorvi::corpus
