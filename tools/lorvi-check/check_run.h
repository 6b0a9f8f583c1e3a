#pragma once

#include <string>
#include <vector>

#include "command_line.h"
#include "session/session.h"

namespace lorvi::check {

// A session as the window starts it, driven by the actions of the command line. The output of
// the run collects in Output() so that it leaves the process in one write.
class CheckRun {
 public:
  explicit CheckRun(char decimalSeparator);
  CheckRun(const CheckRun&) = delete;
  CheckRun& operator=(const CheckRun&) = delete;

  // Runs one action as the window would. Throws BadCommandLine for an action that cannot run
  // here (a node or cell that does not exist, an action the tool does not offer yet).
  void Run(const Action& action);

  // Appends the state and forgets the messages shown so far.
  void Dump();

  Session& session() { return session_; }
  // True when an --export or --workbook could not write its file.
  bool OutputFailed() const { return outputFailed_; }
  const std::vector<std::string>& Messages() const { return messages_; }
  std::string& Output() { return out_; }

 private:
  void Load(const Action& action);
  void Select(const Action& action);
  void Cell(const Action& action);
  void Export(const Action& action);
  void Workbook(const Action& action);

  Session session_;
  std::vector<std::string> messages_;  // code page 1251
  std::string out_;
  bool outputFailed_ = false;
};

// Runs the whole command line: every action, then the final dump unless the last action was
// one. Returns the exit status (1 when an output could not be written, 2 for a bad command line);
// the dumps go to `out`, complaints to `err`.
int RunCommandLine(const CommandLine& commandLine, std::string& out, std::string& err);

// Parses and runs the arguments after the program's name; also answers --help and --version.
int RunArguments(const std::vector<std::string>& args, std::string& out, std::string& err);

// True when the arguments ask for pages to be painted (an export), which needs a GUI application
// object (fonts); the others run on the core alone.
bool PaintsPages(const std::vector<std::string>& args);

// `path` made absolute, as the window's dialog hands over full paths; as it is when it cannot be.
std::string AbsolutePath(const std::string& path);

// The decimal separator of the user's locale, in code page 1251 ('.' when it holds none).
char SystemDecimalSeparator();

}  // namespace lorvi::check
