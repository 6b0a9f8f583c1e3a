#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "session/session.h"

namespace lorvi::check {

// Appends the UTF-8 of a 1251 text with backslash, tab, CR and LF escaped, so that the text
// stays one field of one line.
void AppendField(std::string& out, std::string_view text1251);

// What a dump shows of a session.
struct DumpedState {
  const FileTree& tree;
  int tab = 0;
  bool adv = false;
  std::function<const TextGrid&(GridTag)> grid;
};

DumpedState StateOf(const Session& session);

// Appends the state, from "[tree]" to "[end]", with the given message texts (code page 1251) in
// the "[messages]" section.
void AppendDump(std::string& out, const DumpedState& state,
                const std::vector<std::string>& messages1251);

// Appends what the print button would hand the report, from "[print]" to "[end]"; only those
// two lines when the print would do nothing.
void AppendPrint(std::string& out, const std::optional<PrintJob>& job);

}  // namespace lorvi::check
