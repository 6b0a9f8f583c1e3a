#pragma once

namespace lorvi {

// Numbers of the pictures of the image list IL that the tree of loaded files shows; the core puts
// them on the nodes, the window draws them.
enum TreePicture {
  kPictureSZV = 0,
  kPictureUnread = 1,
  kPictureOrganisation = 4,
  kPicturePeriod = 5,
  kPictureADV = 6,
  kPictureFile = 8,
  kPictureSourceMark = 10,
};

}  // namespace lorvi
