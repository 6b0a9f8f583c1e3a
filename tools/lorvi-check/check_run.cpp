#include "check_run.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <filesystem>

#include "archive_check.h"
#include "base/lorvi_error.h"
#include "base/text1251.h"
#include "dump.h"
#include "intake/file_list.h"
#include "models/dm_rpt.h"
#include "models/qt_text.h"
#include "report/export_formats.h"
#include "session/version_items.h"
#include "workbook/workbook_xlsx.h"

namespace lorvi::check {
namespace {

std::string Complaint(const std::string& message) { return "lorvi-check: " + message + "\n"; }

// The preview's export of the prepared pages, in the format of the file's extension (the command
// line accepts no other). Throws LorviError.
void ExportPrepared(const report::PreparedReport& prepared, const QString& path) {
  report::ExportFormatFor(path)->write(prepared, path, {});
}

}  // namespace

std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.string();
}

CheckRun::CheckRun(char decimalSeparator) : session_(decimalSeparator) {
  session_.SetMessageSink([this](const std::string& text) { messages_.push_back(text); });
  session_.FormCreate();
  session_.FormShow();
}

void CheckRun::Run(const Action& action) {
  switch (action.kind) {
    case ActionKind::Load:
      Load(action);
      return;
    case ActionKind::Select:
      Select(action);
      return;
    case ActionKind::Clear:
      session_.sbClearFilesClick();
      return;
    case ActionKind::Dump:
      Dump();
      return;
    case ActionKind::Tab:
      session_.SelectTab(action.number);
      return;
    case ActionKind::Search:
      // The edit upper-cases what is typed.
      session_.edFindFIOChange(UpperCase1251(Utf8ToCp1251(action.text)));
      return;
    case ActionKind::View:
      if (action.adv)
        session_.sbADVClick();
      else
        session_.sbZLClick();
      return;
    case ActionKind::Cell:
      Cell(action);
      return;
    case ActionKind::Print:
      AppendPrint(out_, session_.sbPrintClick());
      return;
    case ActionKind::Export:
    case ActionKind::Workbook: {
      // Every message of these tells of a file that was not written.
      const std::size_t shown = messages_.size();
      if (action.kind == ActionKind::Export)
        Export(action);
      else
        Workbook(action);
      if (messages_.size() != shown) outputFailed_ = true;
      return;
    }
  }
}

void CheckRun::Dump() {
  AppendDump(out_, StateOf(session_), messages_);
  messages_.clear();
}

void CheckRun::Load(const Action& action) {
  std::vector<std::string> paths;
  for (const std::string& file : action.files) paths.push_back(AbsolutePath(file));
  session_.sbLoadFilesClick([&](const std::string&) -> std::optional<std::vector<std::string>> {
    return ExpandFolders(paths);
  });
}

void CheckRun::Export(const Action& action) {
  const std::optional<PrintJob> job = session_.sbPrintClick();
  if (!job) return;
  const QString path = QFile::decodeName(action.text.c_str());
  TDMRpt dmRpt(QCoreApplication::applicationDirPath());
  dmRpt.ShowMessageBox = [this](const QString&, const QString& text) {
    session_.ShowMessage(ToCp1251(text));
  };
  // The preview is where the user exports; here the export takes its place.
  dmRpt.Rpt.ShowPreview = [&](const report::PreparedReport& prepared, QWidget*) {
    // The preview's box shows the text as it is, without the error box's full stop.
    try {
      ExportPrepared(prepared, path);
    } catch (const LorviError& e) {
      session_.ShowMessage(e.what());
    }
  };
  session_.Guarded([&] {
    // The window prints nothing then; here the user would wait for a file that never comes.
    if (!dmRpt.Print(*job, nullptr))
      session_.ShowMessage(
          ToCp1251(TDMRpt::MissingTemplateText(dmRpt.TemplatePath(TDMRpt::kPrintTemplate))));
  });
}

void CheckRun::Workbook(const Action& action) {
  const QDateTime now = QDateTime::currentDateTime();
  session_.Guarded([&] {
    const auto reconciliation =
        session_.ReconciliationShown(ToCp1251(now.date().toString(QStringLiteral("dd.MM.yyyy"))));
    if (reconciliation)
      WriteReconciliationWorkbook(*reconciliation, action.text, now.toSecsSinceEpoch());
  });
}

void CheckRun::Select(const Action& action) {
  const TreeNode* node = session_.tvLF().NodeAt(static_cast<std::size_t>(action.number));
  if (node == nullptr)
    throw BadCommandLine("--select " + std::to_string(action.number) + ": the tree has " +
                         std::to_string(session_.tvLF().Count()) + " nodes");
  session_.SelectNode(node);
}

void CheckRun::Cell(const Action& action) {
  const TextGrid& grid = session_.Grid(action.grid);
  if (action.col >= grid.ColCount() || action.row >= grid.RowCount())
    throw BadCommandLine(std::string("--cell ") + GridName(action.grid) + " " +
                         std::to_string(action.col) + " " + std::to_string(action.row) +
                         ": the grid has " + std::to_string(grid.ColCount()) + " columns and " +
                         std::to_string(grid.RowCount()) + " rows");
  session_.SelectCell(action.grid, action.col, action.row);
}

int RunCommandLine(const CommandLine& commandLine, std::string& out, std::string& err) {
  const char separator =
      commandLine.decimalSeparator ? *commandLine.decimalSeparator : SystemDecimalSeparator();
  if (commandLine.archive) return RunArchive(*commandLine.archive, separator, out, err);
  CheckRun run(separator);
  int status = 0;
  try {
    for (const Action& action : commandLine.actions) run.Run(action);
    if (commandLine.actions.back().kind != ActionKind::Dump) run.Dump();
    if (run.OutputFailed()) status = 1;
  } catch (const BadCommandLine& e) {
    err += Complaint(e.what());
    status = 2;
  }
  // What the earlier actions printed still goes out.
  out += run.Output();
  return status;
}

int RunArguments(const std::vector<std::string>& args, std::string& out, std::string& err) {
  if (args.size() == 1 && args[0] == "--help") {
    out += kHelp;
    return 0;
  }
  if (args.size() == 1 && args[0] == "--version") {
    out += std::string("lorvi-check ") + kVersionFileVersion + "\n";
    return 0;
  }
  CommandLine commandLine;
  try {
    commandLine = ParseCommandLine(args);
  } catch (const BadCommandLine& e) {
    err += Complaint(e.what()) + kUsage;
    return 2;
  }
  return RunCommandLine(commandLine, out, err);
}

bool PaintsPages(const std::vector<std::string>& args) {
  for (const std::string& arg : args)
    if (arg == "--export") return true;
  return false;
}

char SystemDecimalSeparator() {
  const QByteArray utf8 = QLocale::system().decimalPoint().toUtf8();
  const std::string cp1251 = Utf8ToCp1251(std::string_view(utf8.constData(), utf8.size()));
  return cp1251.size() == 1 && cp1251 != "?" ? cp1251[0] : '.';
}

}  // namespace lorvi::check
