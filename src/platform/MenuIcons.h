#pragma once

#include <QIcon>
#include <QImage>
#include <vector>

namespace pagora {

// The image list of the book's popup menu, in its order, and the book view's
// icon that the other views' menus take.
enum MenuIconIndex : int {
    kIconExportBitmap = 0,  // a picture with "B"
    kIconOptions = 1,       // a gear
    kIconExportJpeg = 2,    // a picture with "J"
    kIconExit = 3,          // a door with an arrow leaving it
    kIconBack = 4,          // arrow to the left
    kIconNext = 5,          // arrow to the right
    kIconThumbnails = 6,    // a 2 x 2 grid of pictures
    kIconFullScreen = 7,    // four corner brackets
    kIconAlbumMode = 8,     // an open book
    kMenuIconCount = 9
};

// The nine 16 x 16 icons (with larger forms for scaled screens), drawn on
// first use. UI thread only.
const std::vector<QIcon>& MenuIcons();

// One icon drawn at size x size pixels on a transparent ground; the drawing
// is made for 16 and scales.
QImage DrawMenuIcon(int index, int size);

// Icons 0..count-1 of a drawing made for 16, each drawn at the sizes menus and
// tool buttons ask for on the usual scales and on this screen's, never
// enlarged from 16. UI thread only.
std::vector<QIcon> DrawIconSet(int count, QImage (*draw)(int index, int size));

}  // namespace pagora
