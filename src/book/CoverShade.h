#pragma once

#include <QImage>

namespace pagora {

// Bevels a front cover: shadeDepth rings of one-pixel edges, strongest
// outermost, lit from the top left, and a groove spineShade pixels in from
// the bevel where the cover bends at the spine.
void ShadeCover(QImage& cover, int shadeDepth, int spineShade);

// The same rings on the back cover, without the groove.
void ShadeBackCover(QImage& backCover, int shadeDepth);

}  // namespace pagora
