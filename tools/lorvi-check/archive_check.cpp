#include "archive_check.h"

#include <QDateTime>

#include "archive/archive_run.h"
#include "base/lorvi_error.h"
#include "base/text1251.h"
#include "check_run.h"

namespace lorvi::check {
namespace {

std::string Amount(Amount4 value, char separator) {
  std::string text;
  FormatAmountInto(text, value, separator);
  return Cp1251ToUtf8(text);
}

std::string Figures(const std::optional<PartFigures>& figures, char separator) {
  if (!figures) return "-";
  return Amount(figures->accrued, separator) + " / " + Amount(figures->paid, separator);
}

std::string Part(const PartTotals& totals, char separator) {
  return Amount(totals.accrued, separator) + " / " + Amount(totals.paid, separator) + " / " +
         Amount(totals.Difference(), separator);
}

// One organisation: a line of its figures, then a line for each period's part whose inventory
// disagrees and each message its reading gave, indented.
std::string Summary(const OrganisationReview& r, char separator) {
  std::string periods =
      r.periods.empty() ? "-"
                        : Cp1251ToUtf8(r.periods.front()) + ".." + Cp1251ToUtf8(r.periods.back());
  std::string missing;
  for (const std::string& key : r.missing) missing += (missing.empty() ? "" : ",") + key;
  std::string out = Cp1251ToUtf8(r.title) + "\tпериоды " + periods + " (" +
                    std::to_string(r.periods.size()) + ")\tпропущены " +
                    (missing.empty() ? "-" : missing) + "\tфайлов " + std::to_string(r.files);
  if (r.Read()) {
    out += "\tлиц " + std::to_string(r.persons) + "\tуволенных " + std::to_string(r.leavers) +
           "\t??? " + std::to_string(r.unreadableCells) + "\tстраховая " +
           Part(r.insurance, separator) + "\tнакопительная " + Part(r.funded, separator) +
           "\tН>У " + std::to_string(r.accruedAbove) + "\tН<У " + std::to_string(r.paidAbove) +
           "\tопись не сходится " + std::to_string(r.disagreeingPeriods);
  } else {
    out += "\tне прочитана";
  }
  out += "\n";
  for (const InventoryCheck& check : r.checks) {
    if (check.Agrees()) continue;
    out += "  опись\t" + Cp1251ToUtf8(check.period) + "\t" +
           (check.insurance ? "страховая" : "накопительная") + "\tстрахователь " +
           Figures(check.insurer, separator) + "\tсведения " + Figures(check.records, separator) +
           "\tкатегории " + Figures(check.categories, separator) + "\t" +
           Cp1251ToUtf8(InventoryRemark(check)) + "\n";
  }
  for (const std::string& message : r.messages) {
    std::string text = Cp1251ToUtf8(message);
    for (char& c : text)
      if (c == '\n') c = ' ';
    out += "  сообщение\t" + text + "\n";
  }
  return out;
}

}  // namespace

int RunArchive(const ArchiveArguments& arguments, char separator, std::string& out,
               std::string& err) {
  ArchiveRequest request;
  for (const std::string& input : arguments.inputs) request.inputs.push_back(AbsolutePath(input));
  request.overview = arguments.overview;
  request.workbooksFolder = arguments.workbooks;
  request.separator = separator;
  const QDateTime now = QDateTime::currentDateTime();
  request.created = now.toSecsSinceEpoch();
  request.date = now.date().toString(QStringLiteral("dd.MM.yyyy")).toStdString();
  out += "[archive]\n";
  try {
    const ArchiveOutcome outcome = ReconcileArchive(
        request, [&](const OrganisationReview& review) { out += Summary(review, separator); });
    out += "[total]\tорганизаций " + std::to_string(outcome.organisations) + "\tне прочитаны " +
           std::to_string(outcome.unreadOrganisations) + "\tфайлов не взято " +
           std::to_string(outcome.untakenFiles) + "\n";
  } catch (const LorviError& e) {
    err += "lorvi-check: " + Cp1251ToUtf8(e.what()) + "\n";
    return 1;
  }
  return 0;
}

}  // namespace lorvi::check
