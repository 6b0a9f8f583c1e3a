// Every case of tests/data/bad/cases.txt through lorvi-check: the exact messages and the grids
// the window would show, the exit status, a good file that still loads afterwards, and input
// files that stay as they were.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "bad_corpus.h"
#include "base/text1251.h"
#include "check_run.h"
#include "support/scratch_dir.h"
#include "support/store_dump.h"

namespace lorvi::bad {
namespace {

namespace fs = std::filesystem;

constexpr int kTimeoutMs = 180000;
// Individual records of one organisation, shipped with the program.
constexpr const char* kGoodSample =
    "PFR-700-Y-2011-ORG-087-101-002040-DCK-00001-DPT-000000-DCK-00000.XML";

struct GridFact {
  std::string grid;
  int cols = 0;
  int rows = 0;
};

struct CellFact {
  std::string grid;
  int col = 0;
  int row = 0;
  std::string text;
};

struct Case {
  std::string name;
  int line = 0;  // in cases.txt
  std::string error;
  std::vector<std::string> load;
  std::vector<std::string> then;
  char separator = ',';
  std::string setup;
  std::string setupFile;
  std::vector<std::string> messages;
  std::vector<std::string> notes;
  std::optional<std::vector<std::string>> tree;
  std::vector<GridFact> grids;
  std::vector<CellFact> cells;
};

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// "grid NAME COLS ROWS" and "cell NAME COL ROW TEXT" carry numbers; the rest is text.
bool ParseFact(const std::string& keyword, const std::string& rest, Case& c) {
  std::istringstream in(rest);
  if (keyword == "grid") {
    GridFact g;
    if (!(in >> g.grid >> g.cols >> g.rows)) return false;
    c.grids.push_back(g);
    return true;
  }
  CellFact f;
  if (!(in >> f.grid >> f.col >> f.row)) return false;
  std::getline(in, f.text);
  if (!f.text.empty() && f.text[0] == ' ') f.text.erase(0, 1);
  c.cells.push_back(f);
  return true;
}

Case NewCase(std::string name, int line, std::string error = {}) {
  Case c;
  c.name = std::move(name);
  c.line = line;
  c.error = std::move(error);
  return c;
}

std::vector<Case> LoadCases() {
  std::vector<Case> cases;
  std::ifstream in(fs::path(LORVI_BAD_DIR) / "cases.txt");
  if (!in) return {NewCase("cases_txt", 0, "cases.txt cannot be read")};
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    const auto space = line.find(' ');
    const std::string keyword = line.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
    if (keyword == "case") {
      cases.push_back(NewCase(rest, number));
      continue;
    }
    if (cases.empty()) return {NewCase("cases_txt", number, "a line before the first case")};
    Case& c = cases.back();
    if (keyword == "load") {
      c.load = Words(rest);
    } else if (keyword == "then") {
      c.then = Words(rest);
    } else if (keyword == "separator" && rest.size() == 1) {
      c.separator = rest[0];
    } else if (keyword == "setup" && Words(rest).size() == 2) {
      c.setup = Words(rest)[0];
      c.setupFile = Words(rest)[1];
    } else if (keyword == "message") {
      c.messages.push_back(rest);
    } else if (keyword == "tree") {
      if (!c.tree) c.tree.emplace();
      c.tree->push_back(Replace(rest, " | ", "\t"));
    } else if (keyword == "note") {
      c.notes.push_back(Replace(rest, " | ", "\t"));
    } else if (keyword == "tree-empty") {
      c.tree.emplace();
    } else if ((keyword == "grid" || keyword == "cell")) {
      if (!ParseFact(keyword, rest, c))
        c.error = "cases.txt line " + std::to_string(number) + ": " + line;
    } else {
      c.error = "cases.txt line " + std::to_string(number) + " not understood: " + line;
    }
  }
  return cases;
}

// One dump of lorvi-check's output, by sections.
struct Dump {
  std::vector<std::string> lines;

  std::vector<std::string> Section(const std::string& header) const {
    std::vector<std::string> out;
    auto at = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
      return l == header || l.starts_with(header + "\t");
    });
    if (at == lines.end()) return out;
    for (++at; at != lines.end() && !at->starts_with("["); ++at) out.push_back(*at);
    return out;
  }
  std::vector<std::string> Fields(const std::string& line) const {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (auto tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
      fields.push_back(line.substr(start, tab - start));
      start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
  }
  std::optional<std::pair<int, int>> Counts(const std::string& grid) const {
    for (const std::string& l : lines)
      if (l.starts_with("[" + grid + "]\t")) {
        const auto f = Fields(l);
        return std::pair{std::stoi(f.at(1)), std::stoi(f.at(2))};
      }
    return std::nullopt;
  }
  std::string Cell(const std::string& grid, int col, int row) const {
    const auto rows = Section("[" + grid + "]");
    if (row >= static_cast<int>(rows.size())) return "(no row " + std::to_string(row) + ")";
    const auto cells = Fields(rows[static_cast<std::size_t>(row)]);
    if (col >= static_cast<int>(cells.size())) return "(no column " + std::to_string(col) + ")";
    return cells[static_cast<std::size_t>(col)];
  }
};

std::vector<Dump> Dumps(const std::string& out) {
  std::vector<Dump> dumps(1);
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) {
    dumps.back().lines.push_back(line);
    if (line == "[end]") dumps.emplace_back();
  }
  dumps.pop_back();
  return dumps;
}

struct RunResult {
  bool finished = false;
  int status = -1;
  std::string out;
  std::string err;
};

RunResult RunCheckTool(const std::vector<std::string>& args) {
  QStringList list;
  for (const std::string& a : args) list << QString::fromStdString(a);
  QProcess program;
  program.start(LORVI_CHECK_EXE, list);
  RunResult result;
  result.finished = program.waitForFinished(kTimeoutMs);
  if (!result.finished) {
    program.kill();
    program.waitForFinished();
  }
  result.status = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
  result.out = program.readAllStandardOutput().toStdString();
  result.err = program.readAllStandardError().toStdString();
  return result;
}

// What happens to a file between the load and the actions after it.
using Between = std::function<void()>;

// The tool's own code in this process, so that a file can change between two actions.
RunResult RunInProcess(const std::vector<std::string>& args, std::size_t splitAfter,
                       const Between& between) {
  RunResult result;
  const std::vector<std::string> first(args.begin(), args.begin() + splitAfter);
  const std::vector<std::string> second(args.begin() + splitAfter, args.end());
  check::CommandLine head = check::ParseCommandLine(first);
  const check::CommandLine tail = check::ParseCommandLine(second);
  check::CheckRun run(*head.decimalSeparator);
  for (const check::Action& action : head.actions) run.Run(action);
  between();
  for (const check::Action& action : tail.actions) run.Run(action);
  result.finished = true;
  result.status = 0;
  result.out = run.Output();
  return result;
}

// What a case leaves in this process: the tool's output, the store (the part read before a
// failure included), and the tooltips of the files not taken ("name<TAB>why").
struct InProcess {
  std::string out;
  std::string store;
  std::vector<std::string> notes;
};

// The case's own actions in this process, with the files of a reading read by `threads` workers.
InProcess RunCaseInProcess(const std::vector<std::string>& args, std::size_t splitAfter,
                           const Between& between, int threads) {
  const std::vector<std::string> first(args.begin(), args.begin() + splitAfter);
  const std::vector<std::string> second(args.begin() + splitAfter, args.end());
  const check::CommandLine head = check::ParseCommandLine(first);
  check::CheckRun run(*head.decimalSeparator);
  run.session().SetReaderThreads(threads);
  for (const check::Action& action : head.actions) run.Run(action);
  if (between) between();
  if (!second.empty())
    for (const check::Action& action : check::ParseCommandLine(second).actions) run.Run(action);
  run.Dump();
  InProcess result{run.Output(), test::DumpStore(run.session().Store()), {}};
  for (const TreeNode* node : run.session().tvLF().DisplayOrder())
    if (!node->note.empty())
      result.notes.push_back(Cp1251ToUtf8(node->caption) + "\t" + Cp1251ToUtf8(node->note));
  return result;
}

std::string Separator(char c) { return std::string("--decimal-separator=") + c; }

// What the good sample alone shows, per separator.
const Dump& GoodDump(char separator) {
  static std::map<char, Dump> dumps;
  auto found = dumps.find(separator);
  if (found == dumps.end()) {
    const std::string good = std::string(LORVI_SAMPLES_DIR) + "/" + kGoodSample;
    const RunResult run = RunCheckTool({Separator(separator), "--load", good});
    const auto parsed = Dumps(run.out);
    found = dumps.emplace(separator, parsed.empty() ? Dump{} : parsed[0]).first;
  }
  return found->second;
}

bool Readable(const std::string& path) { return std::ifstream(path).good(); }

// Takes read access away from the file at `path`; false where that cannot be done. The superuser
// reads every file whatever its permissions, so for it the file becomes a link to a kernel file
// that takes writes only.
bool MakeUnreadable(const fs::path& path) {
#ifdef _WIN32
  (void)path;
  return false;
#else
  if (geteuid() != 0) {
    fs::permissions(path, fs::perms::none);
  } else {
    fs::remove(path);
    fs::create_symlink("/proc/sys/vm/compact_memory", path);
  }
  return !Readable(path.string());
#endif
}

struct FileState {
  std::string bytes;
  fs::file_time_type time;
};

std::map<std::string, FileState> StateOf(const std::vector<std::string>& paths) {
  std::map<std::string, FileState> states;
  for (const std::string& path : paths) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec) || !Readable(path)) continue;
    // A file of gigabytes is told by its size and time: reading it would take the test's time.
    const auto size = fs::file_size(path);
    states[path] = {
        size > (std::uintmax_t{64} << 20) ? "size " + std::to_string(size) : test::ReadAll(path),
        fs::last_write_time(path)};
  }
  return states;
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class BadFile : public testing::TestWithParam<Case> {};

TEST_P(BadFile, ShowsWhatItMust) {
  const Case& c = GetParam();
  ASSERT_TRUE(c.error.empty()) << c.error;
  SCOPED_TRACE("cases.txt line " + std::to_string(c.line));
  const ScratchDir temp;
  const fs::path tempDir = fs::path(temp.PathOf("x")).parent_path();
  std::vector<std::string> paths;  // every file loaded, in the first load or a later one
  // Makes the case's own file of `name` when it is not there (again).
  const auto make = [&](const std::string& name) {
    if (!name.starts_with("@")) return (fs::path(LORVI_BAD_DIR) / name).string();
    const std::string own = name.substr(1);
    const fs::path path = tempDir / own;
    const fs::path corpusFile = fs::path(LORVI_BAD_DIR) / own;
    if (!fs::exists(path) && !WriteLargeFile(own, path) && fs::exists(corpusFile))
      fs::copy_file(corpusFile, path);
    return path.string();
  };
  const auto resolve = [&](const std::string& name) {
    paths.push_back(make(name));
    return paths.back();
  };
  const fs::path setupPath = tempDir / c.setupFile;
  const auto remake = [&] {
    // A file taken away after the load comes back for the next run.
    if (c.setup == "revoke") fs::remove(setupPath);
    for (const std::string& name : c.load) make(name);
    for (const std::string& word : c.then)
      if (word.starts_with("@")) make(word);
  };
  std::vector<std::string> args = {Separator(c.separator), "--load"};
  for (const std::string& name : c.load) args.push_back(resolve(name));
  const std::size_t afterLoad = args.size();
  bool loading = false;
  for (const std::string& word : c.then) {
    if (word.starts_with("--")) loading = word == "--load";
    args.push_back(loading && !word.starts_with("--") ? resolve(word) : word);
  }
  if (c.setup == "fifo") {
#ifdef _WIN32
    GTEST_SKIP() << "no named pipes here";
#else
    ASSERT_EQ(mkfifo(setupPath.c_str(), 0644), 0);
#endif
  } else if (c.setup == "folder") {
    fs::create_directory(setupPath);
  } else if (c.setup == "unreadable") {
    if (!MakeUnreadable(setupPath)) GTEST_SKIP() << "no way here to make a file unreadable";
  } else if (!c.setup.empty() && c.setup != "delete" && c.setup != "revoke") {
    FAIL() << "unknown setup " << c.setup;
  }
  // After the load and before the actions that follow it.
  Between between = [] {};
  if (c.setup == "delete") between = [&] { fs::remove(setupPath); };
  if (c.setup == "revoke") {
    const fs::path probe = tempDir / "probe";
    std::ofstream(probe) << "x";
    if (!MakeUnreadable(probe)) GTEST_SKIP() << "no way here to make a file unreadable";
    between = [&] { MakeUnreadable(setupPath); };
  }

  // Read side by side or one after another, the files leave the same screen and the same store.
  {
    const InProcess one = RunCaseInProcess(args, afterLoad, between, 1);
    remake();
    const InProcess side = RunCaseInProcess(args, afterLoad, between, 3);
    remake();
    EXPECT_EQ(side.out, one.out);
    EXPECT_TRUE(side.store == one.store) << "the stores differ";
    EXPECT_EQ(one.notes, c.notes) << "the tooltips of the files not taken";
  }

  const auto before = StateOf(paths);
  const std::string good = std::string(LORVI_SAMPLES_DIR) + "/" + kGoodSample;
  args.insert(args.end(), {"--dump", "--clear", "--load", good, "--dump"});
  const bool changedAfterLoad = c.setup == "delete" || c.setup == "revoke";
  const RunResult run =
      changedAfterLoad ? RunInProcess(args, afterLoad, between) : RunCheckTool(args);

  ASSERT_TRUE(run.finished) << "lorvi-check did not end within " << kTimeoutMs / 1000 << " s";
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  const auto dumps = Dumps(run.out);
  ASSERT_EQ(dumps.size(), 2u) << run.out.substr(0, 2000);
  const Dump& dump = dumps[0];

  std::vector<std::string> messages;
  for (const std::string& m : c.messages) messages.push_back(Replace(m, "@DIR", tempDir.string()));
  EXPECT_EQ(dump.Section("[messages]"), messages);
  if (c.tree) {
    EXPECT_EQ(dump.Section("[tree]"), *c.tree);
  }
  for (const GridFact& g : c.grids)
    EXPECT_EQ(dump.Counts(g.grid), (std::pair{g.cols, g.rows})) << g.grid;
  for (const CellFact& f : c.cells)
    EXPECT_EQ(dump.Cell(f.grid, f.col, f.row), f.text)
        << f.grid << " column " << f.col << " row " << f.row;

  // After the bad files the program goes on as if they had never been there.
  ASSERT_FALSE(GoodDump(c.separator).Section("[tree]").empty()) << "the good sample did not load";
  EXPECT_EQ(dumps[1].lines, GoodDump(c.separator).lines);

  const auto after = StateOf(paths);
  for (const auto& [path, state] : before) {
    if (changedAfterLoad && path == setupPath.string()) continue;
    const auto now = after.find(path);
    ASSERT_NE(now, after.end()) << path << " is gone";
    EXPECT_TRUE(now->second.bytes == state.bytes) << path << " was changed";
    EXPECT_EQ(now->second.time, state.time) << path << " was written";
  }
}

std::string CaseName(const testing::TestParamInfo<Case>& info) {
  std::string name = info.param.name;
  for (char& ch : name)
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, BadFile, testing::ValuesIn(LoadCases()), CaseName);

// The files kept with the sources are exactly what the generator writes, none is left over,
// and each is loaded by some case.
TEST(BadCorpus, MatchesItsGeneratorAndItsCases) {
  const ScratchDir temp;
  const fs::path fresh = fs::path(temp.PathOf("x")).parent_path() / "fresh";
  const auto names = WriteSmallCorpus(fresh);
  std::set<std::string> kept;
  for (const auto& entry : fs::directory_iterator(LORVI_BAD_DIR))
    if (entry.path().filename() != "cases.txt") kept.insert(entry.path().filename().string());
  EXPECT_EQ(kept, std::set<std::string>(names.begin(), names.end()));
  for (const std::string& name : names)
    EXPECT_TRUE(test::ReadAll(fresh / name) == test::ReadAll(fs::path(LORVI_BAD_DIR) / name))
        << name << " differs from what make_bad_corpus writes";

  std::set<std::string> loaded;
  for (const Case& c : LoadCases())
    for (const std::string& name : c.load)
      loaded.insert(name.starts_with("@") ? name.substr(1) : name);
  for (const std::string& name : names) EXPECT_TRUE(loaded.count(name)) << name << " is in no case";
}

}  // namespace
}  // namespace lorvi::bad
