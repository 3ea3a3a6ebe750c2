#pragma once

#include <QImage>
#include <QRect>

#include "gfx/Canvas.h"
#include "views/ShowRandom.h"

namespace pagora {

// A transition frame, composed without a window: the old picture first, then
// the new picture's share at the given progress by the style's row. The
// display must be the new picture's size; nothing outside either bitmap is
// read or written at any size.

void DrawOldPicture(Canvas& display, const QImage& oldPic);

// The new picture's share onto a display that holds the old picture. At
// progress 0 nothing is drawn, at 100 the whole picture. Style 0 draws the
// whole picture (custom drawing without a handler). Returns the rectangle of
// the display that changed.
QRect DrawShowStyle(int style, int progress, int step, const QImage& pic, Canvas& display,
                    ShowRandom& random);

QRect ComposeShowFrame(int style, int progress, int step, const QImage& oldPic, const QImage& pic,
                       Canvas& display, ShowRandom& random);

}  // namespace pagora
