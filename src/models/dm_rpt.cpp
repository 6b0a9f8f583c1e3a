#include "models/dm_rpt.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include "base/lorvi_error.h"
#include "base/text1251.h"
#include "models/qt_text.h"

namespace lorvi {
namespace {

const QString kMasterData = QStringLiteral("MasterData1");

#ifndef LORVI_DATA_FROM_BIN
#define LORVI_DATA_FROM_BIN "../share/lorvi"
#endif

// `text` as a file's name on any system: quotes become apostrophes, the comparison signs of the
// tabs' names angle quotes, other characters a name cannot hold an underscore.
QString FileNameOf(QString text) {
  for (QChar& c : text) {
    if (c == u'"')
      c = u'\'';
    else if (c == u'<')
      c = u'‹';
    else if (c == u'>')
      c = u'›';
    else if (c.unicode() < 0x20 || QStringLiteral("\\/:*?|").contains(c))
      c = u'_';
  }
  return text.trimmed();
}

}  // namespace

TDMRpt::TDMRpt(QString programFolder, QObject* parent)
    : QObject(parent), programFolder_(std::move(programFolder)) {}

bool TDMRpt::LoadTemplate(const QString& name) {
  if (name.isEmpty()) {
    if (ShowMessageBox) ShowMessageBox(QStringLiteral("Ошибка"), MissingTemplateText(name));
    return false;
  }
  const QString path = TemplatePath(name);
  if (!QFileInfo(path).isFile()) return false;
  Rpt.LoadFromFile(path);
  return true;
}

QString TDMRpt::MissingTemplateText(const QString& path) {
  return QStringLiteral("Не найден шаблон отчета") + QChar('\r') + path;
}

QString TDMRpt::TemplatePath(const QString& name) const {
  if (QFileInfo(name).absoluteFilePath() == name) return name;
  const QString relative = name.startsWith('\\') ? name.mid(1) : name;
  QString beside = QDir::cleanPath(programFolder_) + QStringLiteral("/Template/") + relative;
  if (QFileInfo(beside).isFile()) return beside;
  // An installed program keeps its data apart from the executables.
  const QString installed = QDir::cleanPath(
      programFolder_ + QStringLiteral("/" LORVI_DATA_FROM_BIN "/Template/") + relative);
  return QFileInfo(installed).isFile() ? installed : beside;
}

bool TDMRpt::ShowPreparedReport(const QString& name, const report::ReportProgress& progress) {
  if (!name.isEmpty() && !LoadTemplate(name)) return false;
  try {
    Rpt.ShowReport(previewParent, progress);
  } catch (const Cancelled&) {
    // The user stopped the preparation: no preview.
  }
  Rpt.ClearVariables();
  return true;
}

bool TDMRpt::Print(const PrintJob& job, QWidget* parent, const report::ReportProgress& progress) {
  previewParent = parent;
  report::DataSet table;
  table.userName = QStringLiteral("DQuery");
  table.fields = {QStringLiteral("FIO"), QStringLiteral("MoneyS"), QStringLiteral("MoneyN")};
  for (const PrintRecord& record : job.records)
    table.records.append(
        {FromCp1251(record.FIO), FromCp1251(record.MoneyS), FromCp1251(record.MoneyN)});

  // The table is the report's only as long as this print runs.
  struct Release {
    report::TfrxReport& report;
    ~Release() {
      report.SetDataSet(nullptr);
      if (report::MasterDataBand* band = report.FindMasterData(kMasterData))
        band->SetDataSet(nullptr);
    }
  } release{Rpt};

  Rpt.SetScriptVariable(QStringLiteral("FIO"), FromCp1251(job.FIO));
  if (!LoadTemplate(kPrintTemplate)) return false;
  Rpt.SetScriptVariable(QStringLiteral("OrgName"), FromCp1251(job.OrgName));
  Rpt.SetScriptVariable(QStringLiteral("XMLType"), FromCp1251(job.XMLType));
  Rpt.SetScriptVariable(QStringLiteral("TabName"), FromCp1251(job.TabName));
  const QString organisation = FromCp1251(job.OrgName);
  Rpt.documentTitle = QStringLiteral("Анализатор ЛОРВИ — ") + organisation;
  Rpt.documentFileName = FileNameOf(organisation + ' ' + FromCp1251(job.TabName) + ' ' +
                                    QDate::currentDate().toString(Qt::ISODate));
  Rpt.SetDataSet(&table);
  report::MasterDataBand* band = Rpt.FindMasterData(kMasterData);
  if (band == nullptr)
    throw LorviError(std::string(Rpt.HasObject(kMasterData)
                                     ? "В шаблоне отчета MasterData1 не является полосой данных"_w
                                     : "В шаблоне отчета нет полосы данных MasterData1"_w));
  band->SetDataSet(&table);
  return ShowPreparedReport(QString(), progress);
}

}  // namespace lorvi
