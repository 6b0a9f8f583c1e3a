#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "view/text_grid.h"

namespace lorvi::check {

enum class ActionKind {
  Load,
  Select,
  Tab,
  Search,
  View,
  Cell,
  Clear,
  Print,
  Export,
  Workbook,
  Dump
};

// One action of the command line with its arguments; only the fields of its kind are used.
struct Action {
  ActionKind kind = ActionKind::Dump;
  std::vector<std::string> files;  // --load, as given (UTF-8)
  int number = 0;                  // --select node, --tab index
  std::string text;  // --search (UTF-8, not yet upper-cased), --export, --workbook: the file
  bool adv = false;  // --view adv
  GridTag grid = GridTag::ZLStrah;  // --cell: the grid
  int col = 0;
  int row = 0;
};

// --archive: the organisations of an archive one after another, instead of the window's actions.
struct ArchiveArguments {
  std::vector<std::string> inputs;  // files and folders, as given (UTF-8)
  std::string overview;             // --overview FILE.xlsx
  std::string workbooks;            // --workbooks FOLDER; empty for none
};

struct CommandLine {
  std::optional<char> decimalSeparator;  // code page 1251; none: the user's locale
  std::vector<Action> actions;
  std::optional<ArchiveArguments> archive;
};

// A command line the tool cannot run; what() is the message for the user.
class BadCommandLine : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The arguments after the program's name. Throws BadCommandLine.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// "--load", "--select", ... for messages.
const char* ActionName(ActionKind kind);

// The command line in short, for complaints; the whole help for --help.
extern const char* const kUsage;
extern const char* const kHelp;

}  // namespace lorvi::check
