#pragma once

#include <QObject>

#include "session/version_info.h"
#include "widgets/image_list.h"

namespace lorvi {

// The window's non-visual parts: the picture lists and the version items.
class TDM : public QObject {
  Q_OBJECT

 public:
  // `versionBlock` null: the program carries no version block.
  explicit TDM(const VersionBlock* versionBlock, QObject* parent = nullptr);

  TImageList* IL;     // 13 pictures of buttons and tree nodes
  TImageList* TabIL;  // 5 pictures of the filter tabs
  TFreeAppInfo AppInfo;
};

}  // namespace lorvi
