#include "report/report_template.h"

namespace lorvi::report {

ReportTemplate ReportTemplate::Copy() const {
  ReportTemplate copy;
  copy.page = page;
  copy.variables = variables;
  for (const auto& band : bands) {
    std::unique_ptr<Band> made;
    if (band->Kind() == BandKind::MasterData) {
      const auto& from = static_cast<const MasterDataBand&>(*band);
      auto master = std::make_unique<MasterDataBand>();
      master->dataSetName = from.dataSetName;
      master->SetDataSet(from.BoundDataSet());
      made = std::move(master);
    } else {
      made = std::make_unique<Band>(band->Kind());
    }
    made->name = band->name;
    made->height = band->height;
    made->memos = band->memos;
    copy.bands.push_back(std::move(made));
  }
  return copy;
}

const Band* ReportTemplate::FindBand(BandKind kind) const {
  for (const auto& band : bands)
    if (band->Kind() == kind) return band.get();
  return nullptr;
}

bool ReportTemplate::HasObject(const QString& name) const {
  if (name.isEmpty()) return false;
  for (const auto& band : bands) {
    if (band->name.compare(name, Qt::CaseInsensitive) == 0) return true;
    for (const Memo& memo : band->memos)
      if (memo.name.compare(name, Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

MasterDataBand* ReportTemplate::FindMasterData(const QString& name) {
  for (const auto& band : bands)
    if (band->Kind() == BandKind::MasterData && band->name.compare(name, Qt::CaseInsensitive) == 0)
      return static_cast<MasterDataBand*>(band.get());
  return nullptr;
}

}  // namespace lorvi::report
