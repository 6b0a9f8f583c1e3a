#include "report/report.h"

#include "report/report_layout.h"
#include "report/template_reader.h"

namespace lorvi::report {

TfrxReport::TfrxReport(QObject* parent) : QObject(parent) {}

TfrxReport::~TfrxReport() = default;

void TfrxReport::SetScriptVariable(const QString& name, const QString& value) {
  for (auto& [known, knownValue] : scriptVariables_) {
    if (known.compare(name, Qt::CaseInsensitive) == 0) {
      knownValue = value;
      return;
    }
  }
  scriptVariables_.append({name, value});
}

void TfrxReport::ClearVariables() { design_.variables.clear(); }

void TfrxReport::LoadFromFile(const QString& path) {
  dataSet_ = nullptr;
  prepared_ = PreparedReport();
  design_ = ReportTemplate();
  design_ = ReadTemplateFile(path);
}

void TfrxReport::SetDataSet(const DataSet* data) { dataSet_ = data; }

MasterDataBand* TfrxReport::FindMasterData(const QString& name) {
  return design_.FindMasterData(name);
}

bool TfrxReport::HasObject(const QString& name) const { return design_.HasObject(name); }

const PreparedReport& TfrxReport::Prepare(const ReportProgress& progress) {
  LayoutInput input;
  input.progress = progress;
  input.design = &design_;
  for (const auto& [name, value] : design_.variables) input.variables.insert(name.toLower(), value);
  for (const auto& [name, value] : scriptVariables_) input.variables.insert(name.toLower(), value);
  if (dataSet_) input.dataSets.append(dataSet_);
  input.date = date_.isValid() ? date_ : QDate::currentDate();
  PreparedReport prepared = LayoutReport(input);
  prepared_ = std::move(prepared);
  prepared_.title = documentTitle;
  prepared_.fileName = documentFileName;
  return prepared_;
}

void TfrxReport::ShowReport(QWidget* parent, const ReportProgress& progress) {
  Prepare(progress);
  if (progress) progress(QString(), 1, 1);
  if (ShowPreview) ShowPreview(prepared_, parent);
}

}  // namespace lorvi::report
