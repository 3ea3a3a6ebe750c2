#pragma once

#include <QIcon>
#include <QImage>
#include <vector>

#include "platform/ScreenScale.h"

namespace pagora {

// The floating toolbar's image list, in its order. Where a menu icon shows
// the same thing, the glyph is that icon.
enum ToolbarGlyphIndex : int {
    kGlyphMinimize = 0,    // a window dropping to a bar
    kGlyphExit = 1,        // the menu's exit door
    kGlyphNext = 2,        // the menu's arrow to the right
    kGlyphPlay = 3,        // a play triangle on a disc
    kGlyphThumbnails = 4,  // the menu's grid of pictures
    kGlyphFullScreen = 5,  // the menu's corner brackets
    kGlyphAlbum = 6,       // an open book
    kGlyphPrevious = 7,    // the menu's arrow to the left
    kGlyphMagnifier = 8,   // a lens with a handle
    kToolbarGlyphCount = 9
};

// One glyph at size x size pixels on a transparent ground, drawn for 16.
QImage DrawToolbarGlyph(int index, int size);

// The nine glyphs as icons of 16 logical pixels, with the forms a scaled
// screen asks for, drawn on first use. UI thread only.
const std::vector<QIcon>& ToolbarGlyphs();

// The toolbar's background pictures: the two cool bars' and the two images'.
enum class ToolbarPicture { CoolBarRight, CoolBarLeft, ImageLeft, ImageRight };
// The picture at its design size (125 x 28, 205 x 26, 168 x 23, 121 x 27)
// at the scale, each side Scaled once.
QImage DrawToolbarPicture(ToolbarPicture which, ScreenScale scale);

}  // namespace pagora
