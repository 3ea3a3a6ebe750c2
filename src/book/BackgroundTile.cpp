#include "book/BackgroundTile.h"

#include <QBrush>
#include <QPainter>
#include <string>
#include <utility>

#include "gfx/Bitmap.h"
#include "gfx/PictureError.h"

namespace pagora {

namespace {

constexpr int kMinPatternSide = 64;

void Fill(QImage& target, const QImage& pattern) {
    QPainter painter(&target);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(target.rect(), QBrush(pattern));
}

}  // namespace

void TileBackground(QImage& background, const QImage& tile) {
    if (tile.width() <= 0 || tile.height() <= 0)
        throw PictureError("The background picture is empty (" + std::to_string(tile.width()) +
                           " x " + std::to_string(tile.height()) + " pixels)");
    MakeBitmap24(background);
    if (background.isNull())
        return;
    // One pattern fill. A narrow or short tile is first laid out into a block
    // of whole copies: the same pattern, but the fill then copies long runs.
    QImage pattern = tile.convertToFormat(kBitmapFormat);
    const int across = (kMinPatternSide + pattern.width() - 1) / pattern.width();
    const int down = (kMinPatternSide + pattern.height() - 1) / pattern.height();
    if (across > 1 || down > 1) {
        QImage block = NewBitmap24(pattern.width() * across, pattern.height() * down);
        Fill(block, pattern);
        pattern = std::move(block);
    }
    Fill(background, pattern);
}

}  // namespace pagora
