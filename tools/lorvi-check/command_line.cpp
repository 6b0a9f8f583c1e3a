#include "command_line.h"

#include <QFile>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

#include "base/text1251.h"
#include "report/export_formats.h"

namespace lorvi::check {
namespace {

struct Named {
  const char* name;
  ActionKind kind;
};

constexpr Named kActions[] = {
    {"--load", ActionKind::Load},     {"--select", ActionKind::Select},
    {"--tab", ActionKind::Tab},       {"--search", ActionKind::Search},
    {"--view", ActionKind::View},     {"--cell", ActionKind::Cell},
    {"--clear", ActionKind::Clear},   {"--print", ActionKind::Print},
    {"--export", ActionKind::Export}, {"--workbook", ActionKind::Workbook},
    {"--dump", ActionKind::Dump},
};

bool IsOption(std::string_view arg) { return arg.starts_with("--"); }

// True when `text` ends in `suffix` (lower case ASCII), letter case ignored, with a name before.
bool EndsInLowerCase(std::string_view text, std::string_view suffix) {
  if (text.size() <= suffix.size()) return false;
  const std::string_view end = text.substr(text.size() - suffix.size());
  return std::equal(end.begin(), end.end(), suffix.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == b;
  });
}

// Walks the arguments; each action takes what it needs from here.
class Args {
 public:
  explicit Args(const std::vector<std::string>& args) : args_(args) {}

  bool AtEnd() const { return pos_ >= args_.size(); }
  const std::string& Peek() const { return args_[pos_]; }
  const std::string& Next() { return args_[pos_++]; }

  // The next argument for `what` of `action`; an option in its place counts as missing.
  const std::string& Operand(const char* action, const char* what) {
    if (AtEnd() || IsOption(Peek())) throw BadCommandLine(std::string(action) + " needs " + what);
    return Next();
  }

  int Number(const char* action, const char* what) {
    const std::string& text = Operand(action, what);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < 0)
      throw BadCommandLine(std::string(action) + " needs " + what + ", not '" + text + "'");
    return value;
  }

 private:
  const std::vector<std::string>& args_;
  std::size_t pos_ = 0;
};

char ParseSeparator(std::string_view value) {
  if (value.size() == 1) return value[0];
  // One character beyond ASCII (the locale may use one) that code page 1251 holds.
  const std::string cp1251 = Utf8ToCp1251(value);
  if (!value.empty() && cp1251.size() == 1 && cp1251 != "?") return cp1251[0];
  throw BadCommandLine("--decimal-separator needs one character, as in --decimal-separator=,");
}

Action ParseAction(ActionKind kind, Args& args) {
  Action action;
  action.kind = kind;
  const char* name = ActionName(kind);
  switch (kind) {
    case ActionKind::Load:
      while (!args.AtEnd() && !IsOption(args.Peek())) action.files.push_back(args.Next());
      if (action.files.empty()) throw BadCommandLine("--load needs at least one file");
      break;
    case ActionKind::Select:
      action.number = args.Number(name, "a node number from 0");
      break;
    case ActionKind::Tab:
      action.number = args.Number(name, "a tab number from 0 to 4");
      if (action.number > 4)
        throw BadCommandLine("--tab needs a tab number from 0 to 4, not " +
                             std::to_string(action.number));
      break;
    case ActionKind::Search:
      action.text = args.Operand(name, "a text");
      break;
    case ActionKind::View: {
      const std::string& view = args.Operand(name, "zl or adv");
      if (view != "zl" && view != "adv")
        throw BadCommandLine("--view needs zl or adv, not '" + view + "'");
      action.adv = view == "adv";
      break;
    }
    case ActionKind::Cell: {
      const std::string& grid = args.Operand(name, "a grid name, a column and a row");
      const auto named = std::find_if(std::begin(kAllGrids), std::end(kAllGrids),
                                      [&](GridTag tag) { return grid == GridName(tag); });
      if (named == std::end(kAllGrids))
        throw BadCommandLine("--cell needs sgZLStrah, sgZLNakop, sgADVStrah or sgADVNakop, not '" +
                             grid + "'");
      action.grid = *named;
      action.col = args.Number(name, "a column number from 0");
      action.row = args.Number(name, "a row number from 0");
      break;
    }
    case ActionKind::Export: {
      action.text = args.Operand(name, "a file ending in .pdf, .xlsx, .rtf, .jpg or .jpeg");
      // The report's own formats, as the preview offers them.
      if (report::ExportFormatFor(QFile::decodeName(action.text.c_str())) == nullptr)
        throw BadCommandLine(
            "--export needs a file ending in .pdf, .xlsx, .rtf, .jpg or .jpeg, "
            "not '" +
            action.text + "'");
      break;
    }
    case ActionKind::Workbook: {
      action.text = args.Operand(name, "a file ending in .xlsx");
      // Nothing else is a workbook; an input file named by mistake must not become one.
      if (!EndsInLowerCase(action.text, ".xlsx"))
        throw BadCommandLine("--workbook needs a file ending in .xlsx, not '" + action.text + "'");
      break;
    }
    case ActionKind::Clear:
    case ActionKind::Print:
    case ActionKind::Dump:
      break;
  }
  return action;
}

}  // namespace

const char* ActionName(ActionKind kind) {
  for (const Named& named : kActions)
    if (named.kind == kind) return named.name;
  return "?";
}

const char* const kUsage =
    "usage: lorvi-check [--decimal-separator=C] ACTION...\n"
    "       lorvi-check [--decimal-separator=C] --archive FILE|FOLDER... --overview FILE.xlsx\n"
    "                   [--workbooks FOLDER]\n"
    "       lorvi-check --help | --version\n"
    "actions: --load FILE|FOLDER... | --select N | --tab N | --search TEXT | --view zl|adv |\n"
    "         --cell GRID COL ROW | --clear | --print | --export FILE |\n"
    "         --workbook FILE | --dump\n";

const char* const kHelp =
    "usage: lorvi-check [--decimal-separator=C] ACTION...\n"
    "       lorvi-check [--decimal-separator=C] --archive FILE|FOLDER... --overview FILE.xlsx\n"
    "                   [--workbooks FOLDER]\n"
    "       lorvi-check --help | --version\n"
    "\n"
    "Runs the actions of the analyser's window in the order given, without a window, and prints\n"
    "what the window shows after them.\n"
    "\n"
    "  --decimal-separator=C  the decimal separator of amounts (default: the user's locale)\n"
    "  --load FILE|FOLDER...  load the files, as the button \"Подгрузить файлы\"; a folder stands\n"
    "                         for every .xml file below it\n"
    "  --select N             select node N of the tree (from 0, each node before its children)\n"
    "  --tab N                pick tab N (0 to 4) of the insured persons\n"
    "  --search TEXT          type TEXT into the surname search\n"
    "  --view zl|adv          show the insured persons or the inventory\n"
    "  --cell GRID COL ROW    select a cell of sgZLStrah, sgZLNakop, sgADVStrah or sgADVNakop\n"
    "  --clear                the button \"Очистить список\"\n"
    "  --print                print what the print button hands the report\n"
    "  --export FILE          make the print button's report and export it to FILE: .pdf, .xlsx,\n"
    "                         .rtf, or .jpg/.jpeg (one picture a page, NAME_1.jpg, ...)\n"
    "  --workbook FILE.xlsx   write the reconciliation workbook of the organisation, view and tab\n"
    "                         shown, as the grids' context menu does\n"
    "  --dump                 print the state now (also done after the last action)\n"
    "  --help, --version      this text; the program's version\n"
    "\n"
    "  --archive FILE|FOLDER...  read every organisation of the files one after another, each as\n"
    "                         the window shows it alone, print a summary of each and write the\n"
    "                         overview workbook; not together with the actions above\n"
    "  --overview FILE.xlsx   the overview: organisations, differing persons, inventories that\n"
    "                         disagree with the records, files not read\n"
    "  --workbooks FOLDER     also each organisation's reconciliation workbook, tab \"Все\"\n"
    "\n"
    "Exit status: 1 when an output (--export, --workbook, --overview, --workbooks) could not be\n"
    "written, 2 for a bad command line, 0 otherwise (files that could not be read included).\n";

CommandLine ParseCommandLine(const std::vector<std::string>& argv) {
  CommandLine result;
  Args args(argv);
  constexpr std::string_view kSeparator = "--decimal-separator";
  while (!args.AtEnd()) {
    const std::string& arg = args.Next();
    if (arg.starts_with(kSeparator)) {
      if (!result.actions.empty())
        throw BadCommandLine("--decimal-separator must come before the actions");
      if (arg.size() == kSeparator.size() || arg[kSeparator.size()] != '=')
        throw BadCommandLine(
            "--decimal-separator needs one character, as in --decimal-separator=,");
      result.decimalSeparator = ParseSeparator(std::string_view(arg).substr(kSeparator.size() + 1));
      continue;
    }
    if (arg == "--archive") {
      if (result.archive && !result.archive->inputs.empty())
        throw BadCommandLine("--archive is given once");
      if (!result.archive) result.archive.emplace();
      while (!args.AtEnd() && !IsOption(args.Peek())) result.archive->inputs.push_back(args.Next());
      if (result.archive->inputs.empty()) throw BadCommandLine("--archive needs at least one file");
      continue;
    }
    if (arg == "--overview" || arg == "--workbooks") {
      if (!result.archive) result.archive.emplace();
      std::string& target =
          arg == "--overview" ? result.archive->overview : result.archive->workbooks;
      target =
          args.Operand(arg.c_str(), arg == "--overview" ? "a file ending in .xlsx" : "a folder");
      if (arg == "--overview" && !EndsInLowerCase(target, ".xlsx"))
        throw BadCommandLine("--overview needs a file ending in .xlsx, not '" + target + "'");
      continue;
    }
    const Named* found = nullptr;
    for (const Named& named : kActions)
      if (arg == named.name) found = &named;
    if (found == nullptr) {
      if (IsOption(arg)) throw BadCommandLine("unknown action '" + arg + "'");
      throw BadCommandLine("'" + arg + "' is not an action (actions begin with --)");
    }
    result.actions.push_back(ParseAction(found->kind, args));
  }
  if (result.archive) {
    if (!result.actions.empty())
      throw BadCommandLine(std::string("--archive does not go with the window's actions (") +
                           ActionName(result.actions.front().kind) + ")");
    if (result.archive->inputs.empty())
      throw BadCommandLine("--overview and --workbooks go with --archive FILE|FOLDER...");
    if (result.archive->overview.empty())
      throw BadCommandLine("--archive needs --overview FILE.xlsx");
    return result;
  }
  if (result.actions.empty()) throw BadCommandLine("no action given");
  return result;
}

}  // namespace lorvi::check
