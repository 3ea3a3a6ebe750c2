#pragma once

#include <QImage>

namespace pagora {

// Covers the whole background with copies of the tile laid from (0, 0), the
// last row and column cut at the edges. Throws PictureError for an empty tile.
void TileBackground(QImage& background, const QImage& tile);

}  // namespace pagora
