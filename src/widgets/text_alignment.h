#pragma once

namespace lorvi {

// Horizontal placement of a caption, shared by the label and the button.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

}  // namespace lorvi
