#include "report/report_template.h"

namespace lorvi::report {

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
