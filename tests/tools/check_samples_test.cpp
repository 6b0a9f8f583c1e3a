#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "check_run.h"
#include "support/scratch_dir.h"

namespace lorvi::check {
namespace {

std::vector<std::string> SamplePaths() {
  std::vector<std::string> paths;
  for (const auto& entry : std::filesystem::directory_iterator(LORVI_SAMPLES_DIR))
    if (entry.path().extension() == ".XML") paths.push_back(entry.path().string());
  std::sort(paths.begin(), paths.end());
  return paths;
}

// Every field, the empty ones at either end included.
std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  for (std::size_t start = 0;;) {
    const auto end = text.find(separator, start);
    parts.emplace_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

// One dump, read back: the lines of each section after its header line.
struct Dump {
  std::vector<std::string> lines;

  std::vector<std::string> Section(const std::string& name) const {
    std::vector<std::string> result;
    auto at = std::find_if(lines.begin(), lines.end(),
                           [&](const std::string& l) { return l.starts_with(name); });
    if (at == lines.end()) return result;
    for (++at; at != lines.end() && !at->starts_with("["); ++at) result.push_back(*at);
    return result;
  }
  // The header line of a grid split into its counts and positions.
  std::vector<std::string> GridHeader(const std::string& grid) const {
    for (const std::string& l : lines)
      if (l.starts_with("[" + grid + "]")) return Split(l, '\t');
    return {};
  }
  std::string Cell(const std::string& grid, int col, int row) const {
    const auto rows = Section("[" + grid + "]");
    if (row >= static_cast<int>(rows.size())) return "(no row)";
    const auto cells = Split(rows[row], '\t');
    return col < static_cast<int>(cells.size()) ? cells[col] : "(no column)";
  }
};

std::vector<Dump> Dumps(const std::string& out) {
  std::vector<Dump> dumps(1);
  for (const std::string& line : Split(out, '\n')) {
    dumps.back().lines.push_back(line);
    if (line == "[end]") dumps.emplace_back();
  }
  dumps.pop_back();
  return dumps;
}

struct TreeLine {
  int depth;
  std::vector<std::string> fields;  // caption, picture, state, datum[, *]
};

std::vector<TreeLine> Tree(const Dump& dump) {
  std::vector<TreeLine> tree;
  for (const std::string& line : dump.Section("[tree]")) {
    const auto blanks = line.find_first_not_of(' ');
    tree.push_back({static_cast<int>(blanks / 2), Split(line.substr(blanks), '\t')});
  }
  return tree;
}

std::string RunActions(const std::vector<std::string>& actions) {
  std::vector<std::string> args = {"--decimal-separator=,"};
  args.insert(args.end(), actions.begin(), actions.end());
  std::string out, err;
  EXPECT_EQ(RunArguments(args, out, err), 0) << err;
  EXPECT_EQ(err, "");
  return out;
}

std::vector<std::string> LoadAll() {
  std::vector<std::string> args = {"--load"};
  const auto paths = SamplePaths();
  args.insert(args.end(), paths.begin(), paths.end());
  return args;
}

const std::vector<std::string> kGrids = {"sgZLStrah", "sgZLNakop", "sgADVStrah", "sgADVNakop"};

TEST(CheckSamples, LoadShowsSortedTreeAndFirstOrganisation) {
  const auto dumps = Dumps(RunActions(LoadAll()));
  ASSERT_EQ(dumps.size(), 1u);
  const auto tree = Tree(dumps[0]);
  ASSERT_FALSE(tree.empty());

  std::vector<std::string> orgs;
  std::vector<std::vector<std::string>> periods;
  for (std::size_t i = 0; i < tree.size(); ++i) {
    const TreeLine& node = tree[i];
    ASSERT_GE(node.fields.size(), 4u);
    EXPECT_EQ(node.fields.size() == 5, i == 0) << "only the first node is selected, line " << i;
    if (node.depth == 0 && node.fields[0] != "НЕ СМОГ ПРОЧИТАТЬ") {
      EXPECT_EQ(node.fields[1], "4");
      orgs.push_back(node.fields[0]);
      periods.emplace_back();
    } else if (node.depth == 1 && node.fields[1] == "5") {
      periods.back().push_back(node.fields[0]);
      ASSERT_LT(i + 4, tree.size());
      EXPECT_EQ(tree[i + 1].fields[0], "АДВ:");
      EXPECT_EQ(tree[i + 3].fields[0], "СЗВ:");
    }
  }
  ASSERT_EQ(orgs.size(), 2u);
  EXPECT_TRUE(orgs[0].starts_with("087-101-001885("));
  EXPECT_TRUE(orgs[1].starts_with("087-101-002040("));
  for (const auto& list : periods) {
    EXPECT_FALSE(list.empty());
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
  }
  // The unreadable file comes last, under its own root.
  const auto root = std::find_if(tree.begin(), tree.end(), [](const TreeLine& n) {
    return n.fields[0] == "НЕ СМОГ ПРОЧИТАТЬ";
  });
  ASSERT_NE(root, tree.end());
  EXPECT_EQ(root->depth, 0);
  EXPECT_EQ(root->fields[3], "1000000");
  for (auto it = root + 1; it != tree.end(); ++it) {
    EXPECT_EQ(it->depth, 1);
    EXPECT_EQ(it->fields[3], "1000000");
  }

  for (const std::string& grid : kGrids) {
    const auto header = dumps[0].GridHeader(grid);
    ASSERT_EQ(header.size(), 7u) << grid;
    EXPECT_GT(std::stoi(header[1]), 1) << grid;
    EXPECT_GT(std::stoi(header[2]), 1) << grid;
    EXPECT_EQ(dumps[0].Cell(grid, 1, 0), "Итого: (Н ? У)") << grid;
  }
  // Columns follow the first organisation's periods; amounts carry the chosen separator.
  EXPECT_EQ(dumps[0].Cell("sgZLStrah", 2, 0), periods[0][0] + " (Н ? У)");
  EXPECT_NE(dumps[0].Cell("sgZLStrah", 1, 1).find(','), std::string::npos);
  EXPECT_NE(std::find(dumps[0].lines.begin(), dumps[0].lines.end(), "[tab]\t0"),
            dumps[0].lines.end());
  EXPECT_TRUE(dumps[0].Section("[messages]").empty());
}

TEST(CheckSamples, SelectOtherOrganisationThenClear) {
  const std::string first = RunActions(LoadAll());
  const auto tree = Tree(Dumps(first).at(0));
  const auto other = std::find_if(tree.begin(), tree.end(), [](const TreeLine& n) {
    return n.depth == 0 && n.fields[3] == "1";
  });
  ASSERT_NE(other, tree.end());
  const auto period = std::to_string(other - tree.begin() + 1);

  // A third organisation is refused with a message; the first load stays as it was.
  const ScratchDir dir;
  std::ifstream sample(SamplePaths().front(), std::ios::binary);
  std::string bytes{std::istreambuf_iterator<char>(sample), {}};
  for (auto at = bytes.find("087-101-001885"); at != std::string::npos;
       at = bytes.find("087-101-001885", at))
    bytes.replace(at, 14, "087-101-009999");
  const std::string third = dir.Write("THIRD.XML", bytes);

  auto actions = LoadAll();
  // A figure far right and down scrolls its partner; the clear takes both back to their start.
  actions.insert(actions.end(), {"--select", period, "--dump", "--load", third, "--dump", "--cell",
                                 "sgZLNakop", "3", "4", "--clear", "--dump"});
  for (const std::string& a : LoadAll()) actions.push_back(a);
  const auto dumps = Dumps(RunActions(actions));
  ASSERT_EQ(dumps.size(), 4u);

  const auto selected = Tree(dumps[0]);
  ASSERT_EQ(selected.size(), tree.size());
  EXPECT_EQ(selected[std::stoul(period)].fields.back(), "*");
  EXPECT_EQ(selected[0].fields.size(), 4u);
  EXPECT_EQ(dumps[0].Cell("sgZLStrah", 2, 0), selected[std::stoul(period)].fields[0] + " (Н ? У)");
  EXPECT_NE(dumps[0].Cell("sgZLStrah", 0, 1), Dumps(first)[0].Cell("sgZLStrah", 0, 1));

  EXPECT_EQ(Tree(dumps[1]).size(), tree.size());
  const auto messages = dumps[1].Section("[messages]");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].starts_with("Файл ")) << messages[0];
  EXPECT_NE(messages[0].find("THIRD.XML"), std::string::npos) << messages[0];

  EXPECT_TRUE(dumps[2].Section("[tree]").empty());
  for (const std::string& grid : kGrids) {
    const auto header = dumps[2].GridHeader(grid);
    ASSERT_EQ(header.size(), 7u);
    EXPECT_EQ(header[1], "0");
    EXPECT_EQ(header[2], "0");
    EXPECT_EQ(std::vector(header.begin() + 3, header.end()), std::vector<std::string>(4, "1"));
    EXPECT_TRUE(dumps[2].Section("[" + grid + "]").empty());
  }
  // The next load opens every grid at its first cell.
  const auto reloaded = dumps[3].GridHeader("sgZLStrah");
  ASSERT_EQ(reloaded.size(), 7u);
  EXPECT_EQ(reloaded[5], "1");
  EXPECT_EQ(reloaded[6], "1");
}

// Tabs, search, views and cells run as the window runs them, one dump after each.
TEST(CheckSamples, TabsSearchViewsAndCells) {
  auto actions = LoadAll();
  for (const char* a : {"--tab",     "3",      "--dump", "--search", "в",     "--dump", "--view",
                        "adv",       "--dump", "--view", "zl",       "--tab", "0",      "--cell",
                        "sgZLStrah", "2",      "1",      "--dump",   "--tab", "2"})
    actions.push_back(a);
  const auto dumps = Dumps(RunActions(actions));
  ASSERT_EQ(dumps.size(), 5u);

  // Leavers: every title carries its period in brackets, and the funded grid follows.
  const auto header = dumps[0].GridHeader("sgZLStrah");
  ASSERT_EQ(header.size(), 7u);
  const int rows = std::stoi(header[2]);
  ASSERT_GT(rows, 1);
  for (int r = 1; r < rows; ++r) {
    const std::string title = dumps[0].Cell("sgZLStrah", 0, r);
    EXPECT_EQ(title.substr(title.size() - 9, 2), " (") << title;
    EXPECT_EQ(dumps[0].Cell("sgZLNakop", 0, r), title);
  }
  EXPECT_EQ(dumps[0].GridHeader("sgADVStrah")[2], "5");  // never filtered

  // The search upper-cases its text and selects the first title that begins with it.
  const auto searched = dumps[1].GridHeader("sgZLStrah");
  const int found = std::stoi(searched[4]);
  EXPECT_TRUE(dumps[1].Cell("sgZLStrah", 0, found).starts_with("В")) << found;
  EXPECT_EQ(searched[6], searched[4]);

  EXPECT_NE(std::find(dumps[2].lines.begin(), dumps[2].lines.end(), "[view]\tadv"),
            dumps[2].lines.end());

  // A figure marks its file: one tree line ends in the state picture 10.
  int marked = 0;
  for (const auto& line : Tree(dumps[3])) marked += line.fields[2] == "10";
  EXPECT_EQ(marked, 1);
  EXPECT_EQ(dumps[3].GridHeader("sgZLNakop")[3], "2");  // the partner followed

  // The last action's dump: the tab of accrued above paid.
  EXPECT_NE(std::find(dumps[4].lines.begin(), dumps[4].lines.end(), "[tab]\t2"),
            dumps[4].lines.end());
}

TEST(CheckProgram, PrintsDumpAndExitStatus) {
  const auto paths = SamplePaths();
  ASSERT_GE(paths.size(), 2u);
  QProcess program;
  // Relative names, as typed in a shell in the samples' folder.
  program.setWorkingDirectory(LORVI_SAMPLES_DIR);
  program.start(LORVI_CHECK_EXE,
                {"--decimal-separator=.", "--load",
                 QString::fromStdString(std::filesystem::path(paths[0]).filename().string()),
                 QString::fromStdString(std::filesystem::path(paths[1]).filename().string())});
  ASSERT_TRUE(program.waitForFinished(60000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);
  const QByteArray out = program.readAllStandardOutput();
  EXPECT_TRUE(out.startsWith("[tree]\n"));
  EXPECT_TRUE(out.endsWith("[messages]\n[end]\n"));
  EXPECT_FALSE(out.contains("НЕ СМОГ ПРОЧИТАТЬ"));
  EXPECT_TRUE(program.readAllStandardError().isEmpty());

  // The samples' folder stands for its files, in the order of their names.
  QStringList all = {"--decimal-separator=.", "--load"};
  for (const std::string& path : paths) all << QString::fromStdString(path);
  program.start(LORVI_CHECK_EXE, all);
  ASSERT_TRUE(program.waitForFinished(60000));
  const QByteArray files = program.readAllStandardOutput();
  program.start(LORVI_CHECK_EXE, {"--decimal-separator=.", "--load", LORVI_SAMPLES_DIR});
  ASSERT_TRUE(program.waitForFinished(60000));
  EXPECT_EQ(program.readAllStandardOutput(), files);

  program.start(LORVI_CHECK_EXE, {"--load"});
  ASSERT_TRUE(program.waitForFinished(60000));
  EXPECT_EQ(program.exitCode(), 2);
  EXPECT_TRUE(program.readAllStandardOutput().isEmpty());
  EXPECT_TRUE(program.readAllStandardError().startsWith("lorvi-check: --load needs"));
}

// The print button's report through the preview's exports, without a display.
TEST(CheckProgram, ExportsThePrintButtonsReport) {
  ScratchDir dir;
  const QString folder = QString::fromStdString(dir.PathOf(""));
  struct Result {
    int code;
    QString out;
  };
  const auto run = [](const QString& program, const QStringList& args) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process.setProcessEnvironment(environment);
    process.start(program, args);
    EXPECT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.readAllStandardError(), "");
    return Result{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput())};
  };
  const auto messages = [](const QString& out) {
    return out.section(QStringLiteral("[messages]\n"), 1).section(QStringLiteral("[end]"), 0, 0);
  };
  QStringList load = {"--decimal-separator=,", "--load"};
  for (const std::string& path : SamplePaths()) load << QString::fromStdString(path);
  const Result print = run(LORVI_CHECK_EXE, load + QStringList{"--print"});
  const QString orgName = print.out.section(QStringLiteral("OrgName\t"), 1).section('\n', 0, 0);
  ASSERT_FALSE(orgName.isEmpty());

  for (const QString name : {"отчет.pdf", "отчет.XLSX", "отчет.rtf", "стр.jpeg"}) {
    const Result result = run(LORVI_CHECK_EXE, load + QStringList{"--export", folder + name});
    EXPECT_EQ(result.code, 0) << name.toStdString();
    EXPECT_EQ(messages(result.out), "") << name.toStdString();
  }
  const auto bytes = [&](const QString& name) {
    QFile file(folder + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  };
  EXPECT_TRUE(bytes("отчет.pdf").startsWith("%PDF"));
  // The PDF is titled after the organisation (poppler's pdfinfo reads it).
  QProcess info;
  info.start("pdfinfo", {folder + "отчет.pdf"});
  ASSERT_TRUE(info.waitForFinished(20000)) << "pdfinfo (poppler-utils) is missing";
  EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput())
                  .contains(QStringLiteral("Title:           Анализатор ЛОРВИ — ") + orgName));
  EXPECT_TRUE(bytes("отчет.XLSX").startsWith("PK"));
  EXPECT_TRUE(bytes("отчет.rtf").startsWith("{\\rtf1"));
  EXPECT_TRUE(bytes("стр_1.jpeg").startsWith("\xFF\xD8"));
  QProcess unzip;
  unzip.start("unzip", {"-p", folder + "отчет.XLSX", "xl/sharedStrings.xml"});
  ASSERT_TRUE(unzip.waitForFinished(20000));
  EXPECT_TRUE(QString::fromUtf8(unzip.readAllStandardOutput()).contains(orgName));

  // Nothing selected: nothing written. A file that cannot be written: the message.
  run(LORVI_CHECK_EXE, {"--export", folder + "пусто.pdf"});
  EXPECT_FALSE(QFile::exists(folder + "пусто.pdf"));
  Result result = run(LORVI_CHECK_EXE, load + QStringList{"--export", folder + "нет/a.rtf"});
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(messages(result.out),
            "Не удалось записать отчет в файл " + folder + "нет/a.rtf: нет такой папки\n");

  // The reconciliation workbook of what is shown; nothing shown, nothing written.
  result =
      run(LORVI_CHECK_EXE, load + QStringList{"--tab", "3", "--workbook", folder + "сверка.xlsx"});
  EXPECT_EQ(messages(result.out), "");
  EXPECT_TRUE(bytes("сверка.xlsx").startsWith("PK"));
  unzip.start("unzip", {"-p", folder + "сверка.xlsx", "xl/worksheets/sheet1.xml"});
  ASSERT_TRUE(unzip.waitForFinished(20000));
  EXPECT_TRUE(QString::fromUtf8(unzip.readAllStandardOutput()).contains("Уволенные"));
  run(LORVI_CHECK_EXE, {"--workbook", folder + "пусто.xlsx"});
  EXPECT_FALSE(QFile::exists(folder + "пусто.xlsx"));
  result = run(LORVI_CHECK_EXE, load + QStringList{"--workbook", folder + "нет/a.xlsx"});
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(messages(result.out),
            "Не удалось записать сверку в файл " + folder + "нет/a.xlsx: нет такой папки.\n");

  // A copy of the program without its template says so; with the template where an installed
  // program keeps it, it exports.
  ASSERT_TRUE(QDir(folder).mkpath("bin"));
  ASSERT_TRUE(QFile::copy(LORVI_CHECK_EXE, folder + "bin/lorvi-check"));
  result = run(folder + "bin/lorvi-check", load + QStringList{"--export", folder + "b.pdf"});
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(messages(result.out),
            "Не найден шаблон отчета\\r" + folder + "bin/Template/Print.fr3\n");
  EXPECT_FALSE(QFile::exists(folder + "b.pdf"));
  ASSERT_TRUE(QDir(folder).mkpath("share/lorvi/Template"));
  ASSERT_TRUE(QFile::copy(QFileInfo(LORVI_CHECK_EXE).absolutePath() + "/Template/Print.fr3",
                          folder + "share/lorvi/Template/Print.fr3"));
  result = run(folder + "bin/lorvi-check", load + QStringList{"--export", folder + "b.pdf"});
  EXPECT_EQ(messages(result.out), "");
  EXPECT_TRUE(QFile::exists(folder + "b.pdf"));
}

}  // namespace
}  // namespace lorvi::check
