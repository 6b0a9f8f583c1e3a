#include "app/data_module.h"

#include "app/pictures.h"

namespace lorvi {

TDM::TDM(const VersionBlock* versionBlock, QObject* parent)
    : QObject(parent),
      IL(new TImageList(this)),
      TabIL(new TImageList(this)),
      AppInfo(versionBlock) {
  for (int i = 0; i < 13; ++i) IL->Add(ILPicture(i));
  for (int i = 0; i < 5; ++i) TabIL->Add(TabILPicture(i));
}

}  // namespace lorvi
