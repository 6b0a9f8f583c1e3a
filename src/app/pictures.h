#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>

#include "base/picture_numbers.h"

namespace lorvi {

// The program's own 16 x 16 pictures on a transparent background, drawn from data/pictures/*.svg
// (built into the program). Each one is drawn on first use and kept; call them from the GUI thread
// only.

// The general image list, by index:
//   0 two persons                    7 notepad with a pen
//   1 speech bubble with a "?"       8 sheet with a blue arrow
//   2 green curved arrow             9 magnifier over a person
//   3 sheet with green round arrows 10 green disc with a white arrow
//   4 briefcase                     11 book with a "?"
//   5 calendar sheet                12 printer
//   6 two sheets of paper
// The tree of loaded files names its pictures by these numbers (TreePicture).
inline constexpr int kILCount = 13;
// The pictures of the filter tabs, by index: 0 two persons (the same as IL 0), 1 sheet with a red
// arrow, 2 sheet with a green arrow, 3 person with a red cross, 4 speech bubble with a "?" (the
// same as IL 1).
inline constexpr int kTabILCount = 5;

// A null pixmap when the index is out of range.
QPixmap ILPicture(int index);
QPixmap TabILPicture(int index);
QList<QPixmap> ILPictures();
QList<QPixmap> TabILPictures();

// Shown over the file intake panel.
QPixmap FloppyDiskPicture();
// Shown at the start of the search strip.
QPixmap MagnifierPicture();

// The program's icon, the picture of the installed ru.lorvi.analyser.svg; null when that cannot
// be drawn.
QIcon ProgramIcon();

}  // namespace lorvi
