#include "command_line.h"

#include <charconv>
#include <string_view>

#include "intake/text1251.h"

namespace lorvi::check {
namespace {

struct Named {
  const char* name;
  ActionKind kind;
};

constexpr Named kActions[] = {
    {"--load", ActionKind::Load},   {"--select", ActionKind::Select},
    {"--tab", ActionKind::Tab},     {"--search", ActionKind::Search},
    {"--view", ActionKind::View},   {"--cell", ActionKind::Cell},
    {"--clear", ActionKind::Clear}, {"--print", ActionKind::Print},
    {"--dump", ActionKind::Dump},
};

bool IsOption(std::string_view arg) { return arg.starts_with("--"); }

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
      action.grid = -1;
      for (int tag = 0; tag < 4; ++tag)
        if (grid == kGridNames[tag]) action.grid = tag;
      if (action.grid < 0)
        throw BadCommandLine("--cell needs sgZLStrah, sgZLNakop, sgADVStrah or sgADVNakop, not '" +
                             grid + "'");
      action.col = args.Number(name, "a column number from 0");
      action.row = args.Number(name, "a row number from 0");
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
    "actions: --load FILE... | --select N | --tab N | --search TEXT | --view zl|adv |\n"
    "         --cell GRID COL ROW | --clear | --print | --dump\n";

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
    const Named* found = nullptr;
    for (const Named& named : kActions)
      if (arg == named.name) found = &named;
    if (found == nullptr) {
      if (IsOption(arg)) throw BadCommandLine("unknown action '" + arg + "'");
      throw BadCommandLine("'" + arg + "' is not an action (actions begin with --)");
    }
    result.actions.push_back(ParseAction(found->kind, args));
  }
  if (result.actions.empty()) throw BadCommandLine("no action given");
  return result;
}

}  // namespace lorvi::check
