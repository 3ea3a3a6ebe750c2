#pragma once

#include <QColor>
#include <QImage>

#include "platform/ScreenScale.h"

namespace pagora {

// The pictures of the skinned dialogs, drawn in code at a screen's scale: the
// sizes below are those of an unscaled screen, each side Scaled once.
// Pictures marked transparent keep kSkinKey in their bottom-left pixel and
// wherever the ground should show through.
struct SkinPictures {
    QImage Title;          // 32 x 28, the title bar tile
    QImage LeftTitle;      // 6 x 28
    QImage RightTitle;     // 7 x 29
    QImage Min;            // 21 x 21, transparent
    QImage Close;          // 21 x 21, transparent
    QImage ButtonUp;       // 73 x 19, transparent: normal and hover
    QImage ButtonDown;     // 73 x 19, transparent: pressed
    QImage ButtonDisable;  // 73 x 19, transparent
    // The radio glyphs, 16 x 16 with an alpha channel: 0 unchecked, 1 checked.
    QImage Glyphs[2];
};

inline const QColor kSkinKey(255, 0, 255);

// Drawn once per scale and kept. UI thread only.
const SkinPictures& Skin(ScreenScale scale);

}  // namespace pagora
