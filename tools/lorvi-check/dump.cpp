#include "dump.h"

#include <algorithm>

#include "base/text1251.h"

namespace lorvi::check {
namespace {

void AppendEscapedUtf8(std::string& out, std::string_view utf8) {
  for (const char c : utf8) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
}

void AppendNumber(std::string& out, long value) {
  out += '\t';
  out += std::to_string(value);
}

int Depth(const TreeNode* node) {
  int depth = 0;
  for (const TreeNode* p = node->parent; p != nullptr; p = p->parent) ++depth;
  return depth;
}

void AppendTree(std::string& out, const FileTree& tree) {
  out += "[tree]\n";
  for (const TreeNode* node : tree.DisplayOrder()) {
    out.append(2 * static_cast<std::size_t>(Depth(node)), ' ');
    AppendField(out, node->caption);
    AppendNumber(out, node->picture);
    AppendNumber(out, node->state);
    AppendNumber(out, node->datum);
    if (node == tree.Selected()) out += "\t*";
    out += '\n';
  }
}

void AppendGrid(std::string& out, const char* name, const TextGrid& grid) {
  out += '[';
  out += name;
  out += ']';
  for (const int value :
       {grid.ColCount(), grid.RowCount(), grid.Col(), grid.Row(), grid.LeftCol(), grid.TopRow()})
    AppendNumber(out, value);
  out += '\n';
  for (int row = 0; row < grid.RowCount(); ++row) {
    for (int col = 0; col < grid.ColCount(); ++col) {
      if (col > 0) out += '\t';
      AppendField(out, grid.Cell(col, row));
    }
    out += '\n';
  }
}

}  // namespace

void AppendField(std::string& out, std::string_view text1251) {
  // Most cells are digits; they need no conversion.
  const bool ascii = std::all_of(text1251.begin(), text1251.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii)
    AppendEscapedUtf8(out, text1251);
  else
    AppendEscapedUtf8(out, Cp1251ToUtf8(text1251));
}

DumpedState StateOf(const Session& session) {
  return {session.tvLF(), session.tcZLIndex(), session.AdvShown(),
          [&session](GridTag tag) -> const TextGrid& { return session.Grid(tag); }};
}

void AppendDump(std::string& out, const DumpedState& state,
                const std::vector<std::string>& messages1251) {
  AppendTree(out, state.tree);
  out += "[tab]";
  AppendNumber(out, state.tab);
  out += "\n[view]\t";
  out += state.adv ? "adv\n" : "zl\n";
  for (const GridTag tag : kAllGrids) AppendGrid(out, GridName(tag), state.grid(tag));
  out += "[messages]\n";
  // A message may span lines in its box; escaped, it stays one line here.
  for (const std::string& text : messages1251) {
    AppendField(out, text);
    out += '\n';
  }
  out += "[end]\n";
}

void AppendPrint(std::string& out, const std::optional<PrintJob>& job) {
  out += "[print]\n";
  if (job) {
    const std::pair<const char*, const std::string*> variables[] = {{"FIO", &job->FIO},
                                                                    {"OrgName", &job->OrgName},
                                                                    {"XMLType", &job->XMLType},
                                                                    {"TabName", &job->TabName}};
    for (const auto& [name, value] : variables) {
      out += name;
      out += '\t';
      AppendField(out, *value);
      out += '\n';
    }
    out += "[records]\t" + std::to_string(job->records.size()) + "\n";
    for (const PrintRecord& record : job->records) {
      AppendField(out, record.FIO);
      out += '\t';
      AppendField(out, record.MoneyS);
      out += '\t';
      AppendField(out, record.MoneyN);
      out += '\n';
    }
  }
  out += "[end]\n";
}

}  // namespace lorvi::check
