#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text1251.h"
#include "check_run.h"
#include "command_line.h"
#include "dump.h"

namespace lorvi::check {
namespace {

std::string ParseError(const std::vector<std::string>& args) {
  try {
    ParseCommandLine(args);
  } catch (const BadCommandLine& e) {
    return e.what();
  }
  return "(accepted)";
}

TEST(CheckCommandLine, ReadsEveryActionWithItsArguments) {
  const CommandLine line = ParseCommandLine({"--decimal-separator=,",
                                             "--load",
                                             "a.XML",
                                             "b c.XML",
                                             "-x.XML",
                                             "--select",
                                             "3",
                                             "--cell",
                                             "sgADVNakop",
                                             "2",
                                             "7",
                                             "--view",
                                             "adv",
                                             "--search",
                                             "ив",
                                             "--tab",
                                             "4",
                                             "--clear",
                                             "--print",
                                             "--export",
                                             "Отчет.JPEG",
                                             "--dump"});
  ASSERT_EQ(line.decimalSeparator, ',');
  ASSERT_EQ(line.actions.size(), 10u);
  EXPECT_EQ(line.actions[0].kind, ActionKind::Load);
  // Everything up to the next "--" is a file, even when it begins with one dash.
  EXPECT_EQ(line.actions[0].files, (std::vector<std::string>{"a.XML", "b c.XML", "-x.XML"}));
  EXPECT_EQ(line.actions[1].number, 3);
  EXPECT_EQ(line.actions[2].grid, GridTag::ADVNakop);
  EXPECT_EQ(line.actions[2].col, 2);
  EXPECT_EQ(line.actions[2].row, 7);
  EXPECT_TRUE(line.actions[3].adv);
  EXPECT_EQ(line.actions[4].text, "ив");
  EXPECT_EQ(line.actions[5].number, 4);
  EXPECT_EQ(line.actions[8].text, "Отчет.JPEG");
  EXPECT_EQ(line.actions[9].kind, ActionKind::Dump);
  EXPECT_FALSE(line.archive);

  const CommandLine archive =
      ParseCommandLine({"--overview", "o.XLSX", "--archive", "a", "-b", "--workbooks", "books"});
  ASSERT_TRUE(archive.archive);
  EXPECT_EQ(archive.archive->inputs, (std::vector<std::string>{"a", "-b"}));
  EXPECT_EQ(archive.archive->overview, "o.XLSX");
  EXPECT_EQ(archive.archive->workbooks, "books");

  EXPECT_FALSE(ParseCommandLine({"--dump"}).decimalSeparator);
  // A separator outside ASCII arrives as UTF-8 and goes to the session as its 1251 byte.
  EXPECT_EQ(ParseCommandLine({"--decimal-separator=·", "--dump"}).decimalSeparator, '\xB7');
}

TEST(CheckCommandLine, RefusesWhatItCannotRun) {
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{}, "no action given"},
      {{"--frobnicate"}, "unknown action '--frobnicate'"},
      {{"a.XML"}, "'a.XML' is not an action (actions begin with --)"},
      {{"--load"}, "--load needs at least one file"},
      {{"--load", "--dump"}, "--load needs at least one file"},
      {{"--select"}, "--select needs a node number from 0"},
      {{"--select", "--dump"}, "--select needs a node number from 0"},
      {{"--select", "1x"}, "--select needs a node number from 0, not '1x'"},
      {{"--select", "-1"}, "--select needs a node number from 0, not '-1'"},
      {{"--select", "99999999999"}, "--select needs a node number from 0, not '99999999999'"},
      {{"--tab", "5"}, "--tab needs a tab number from 0 to 4, not 5"},
      {{"--search"}, "--search needs a text"},
      {{"--view", "tree"}, "--view needs zl or adv, not 'tree'"},
      {{"--cell", "sgZL", "1", "1"},
       "--cell needs sgZLStrah, sgZLNakop, sgADVStrah or sgADVNakop, not 'sgZL'"},
      {{"--cell", "sgZLStrah", "1"}, "--cell needs a row number from 0"},
      {{"--dump", "--decimal-separator=,"}, "--decimal-separator must come before the actions"},
      {{"--decimal-separator", "--dump"},
       "--decimal-separator needs one character, as in --decimal-separator=,"},
      {{"--decimal-separator=", "--dump"},
       "--decimal-separator needs one character, as in --decimal-separator=,"},
      {{"--decimal-separator=,.", "--dump"},
       "--decimal-separator needs one character, as in --decimal-separator=,"},
      {{"--export"}, "--export needs a file ending in .pdf, .xlsx, .rtf, .jpg or .jpeg"},
      {{"--workbook", "Сверка.XLSX", "--export", "report.xls"},
       "--export needs a file ending in .pdf, .xlsx, .rtf, .jpg or .jpeg, not 'report.xls'"},
      {{"--export", "pdf"},
       "--export needs a file ending in .pdf, .xlsx, .rtf, .jpg or .jpeg, not 'pdf'"},
      {{"--export", "a.pdf/report"},
       "--export needs a file ending in .pdf, .xlsx, .rtf, .jpg or .jpeg, not 'a.pdf/report'"},
      {{"--help", "--dump"}, "unknown action '--help'"},
      // An input file named by mistake must not become a workbook.
      {{"--workbook"}, "--workbook needs a file ending in .xlsx"},
      {{"--workbook", "PFR-700.XML"}, "--workbook needs a file ending in .xlsx, not 'PFR-700.XML'"},
      {{"--workbook", ".xlsx"}, "--workbook needs a file ending in .xlsx, not '.xlsx'"},
      // An archive is read on its own, not mixed with the window's actions.
      {{"--archive", "a", "--load", "b"},
       "--archive does not go with the window's actions (--load)"},
      {{"--dump", "--archive", "a", "--overview", "o.xlsx"},
       "--archive does not go with the window's actions (--dump)"},
      {{"--archive", "a"}, "--archive needs --overview FILE.xlsx"},
      {{"--archive"}, "--archive needs at least one file"},
      {{"--overview", "o.xlsx"}, "--overview and --workbooks go with --archive FILE|FOLDER..."},
      {{"--archive", "a", "--overview", "a/X.XML"},
       "--overview needs a file ending in .xlsx, not 'a/X.XML'"},
      {{"--archive", "a", "--overview", "o.xlsx", "--workbooks"}, "--workbooks needs a folder"},
      {{"--archive", "a", "--archive", "b", "--overview", "o.xlsx"}, "--archive is given once"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ParseError(c.args), c.message) << testing::PrintToString(c.args);

  std::string out, err;
  EXPECT_EQ(RunArguments({"--tab"}, out, err), 2);
  EXPECT_EQ(out, "");
  EXPECT_TRUE(err.starts_with("lorvi-check: --tab needs a tab number from 0 to 4\nusage: ")) << err;

  out.clear();
  err.clear();
  EXPECT_EQ(RunArguments({"--version"}, out, err), 0);
  EXPECT_EQ(out, "lorvi-check 1.0.1.0\n");
  out.clear();
  EXPECT_EQ(RunArguments({"--help"}, out, err), 0);
  EXPECT_TRUE(out.starts_with("usage: lorvi-check")) << out;
  EXPECT_NE(out.find("--export FILE"), std::string::npos);
  EXPECT_EQ(err, "");
}

// Actions that parse but cannot run end the run there, keeping what was printed before.
TEST(CheckRunActions, StopAtWhatCannotRunHere) {
  const std::vector<std::vector<std::string>> stoppers = {{"--cell", "sgZLStrah", "1", "1"},
                                                          {"--select", "0"}};
  for (const auto& stopper : stoppers) {
    std::vector<std::string> args = {"--decimal-separator=,", "--dump"};
    args.insert(args.end(), stopper.begin(), stopper.end());
    args.push_back("--clear");
    std::string out, err;
    EXPECT_EQ(RunArguments(args, out, err), 2) << stopper[0];
    const std::string expected =
        stopper[0] == "--select" ? "lorvi-check: --select 0: the tree has 0 nodes\n"
        : stopper[0] == "--cell"
            ? "lorvi-check: --cell sgZLStrah 1 1: the grid has 0 columns and 0 rows\n"
            : "";
    EXPECT_EQ(err, expected);
    EXPECT_TRUE(out.starts_with("[tree]\n[tab]\t0\n")) << out;
    EXPECT_EQ(out.find("[end]"), out.size() - 6) << "one dump only";
  }
}

TEST(CheckDump, ShowsTreeGridsAndMessagesOneLineEach) {
  FileTree tree;
  const TreeNode* org = tree.AddTop(std::string("ОРГ\\1"_w), 4, 0);
  const TreeNode* period = tree.AddChild(org, "2011-3", 5, 0);
  const TreeNode* file = tree.AddChild(period, "a\tb\r\nc.XML", 8, 0);
  tree.SetState(file, 10);
  tree.AddTop(std::string("НЕ СМОГ ПРОЧИТАТЬ"_w), 1, 1000000);
  tree.Select(period);
  TextGrid strah(GridTag::ZLStrah), nakop(GridTag::ZLNakop), advStrah(GridTag::ADVStrah),
      advNakop(GridTag::ADVNakop);
  nakop.SetColCount(2);
  nakop.SetRowCount(3);
  nakop.SetCell(1, 0, std::string("Итого"_w));
  nakop.SetCell(1, 1, "x\ty\\");
  nakop.SetSelection(0, 2);
  nakop.SetTopLeft(5, 7);
  const TextGrid* grids[] = {&strah, &nakop, &advStrah, &advNakop};
  std::string out;
  AppendDump(out,
             {tree, 2, true,
              [&](GridTag tag) -> const TextGrid& { return *grids[static_cast<int>(tag)]; }},
             {"Range check error.", std::string("два\nряда"_w)});

  EXPECT_EQ(out,
            "[tree]\n"
            "ОРГ\\\\1\t4\t-1\t0\n"
            "  2011-3\t5\t-1\t0\t*\n"
            "    a\\tb\\r\\nc.XML\t8\t10\t0\n"
            "НЕ СМОГ ПРОЧИТАТЬ\t1\t-1\t1000000\n"
            "[tab]\t2\n"
            "[view]\tadv\n"
            "[sgZLStrah]\t0\t0\t1\t1\t1\t1\n"
            "[sgZLNakop]\t2\t3\t0\t2\t5\t7\n"
            "\tИтого\n"
            "\tx\\ty\\\\\n"
            "\t\n"
            "[sgADVStrah]\t0\t0\t1\t1\t1\t1\n"
            "[sgADVNakop]\t0\t0\t1\t1\t1\t1\n"
            "[messages]\n"
            "Range check error.\n"
            "два\\nряда\n"
            "[end]\n");

  // Messages of a run are reported once, error box rule applied.
  CheckRun run('.');
  run.session().ShowError("Range check error");
  run.session().ShowMessage(std::string("два\nряда"_w));
  run.Dump();
  EXPECT_TRUE(run.Output().ends_with("[messages]\nRange check error.\nдва\\nряда\n[end]\n"));
  run.Output().clear();
  run.Dump();
  EXPECT_TRUE(run.Output().ends_with("[sgADVNakop]\t0\t0\t1\t1\t1\t1\n[messages]\n[end]\n"));
  EXPECT_TRUE(run.Messages().empty());
}

}  // namespace
}  // namespace lorvi::check
