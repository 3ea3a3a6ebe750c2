#include "gfx/BlockCopy.h"

#include <cstring>

#include "gfx/Bitmap.h"

namespace pagora {

QRect CopyPixels(QImage& dst, QPoint dstPos, const QImage& src, QRect srcRect) {
    QRect clipped = srcRect.intersected(src.rect());
    if (clipped.isEmpty())
        return {};
    // Where the clipped source lands, then clipped by the destination.
    QPoint origin = dstPos - srcRect.topLeft();  // destination of source pixel (0, 0)
    QRect target = clipped.translated(origin).intersected(dst.rect());
    if (target.isEmpty())
        return {};
    QPoint from = target.topLeft() - origin;
    if (src.format() != kBitmapFormat || dst.format() != kBitmapFormat) {
        for (int y = 0; y < target.height(); ++y)
            for (int x = 0; x < target.width(); ++x)
                dst.setPixel(target.x() + x, target.y() + y, src.pixel(from.x() + x, from.y() + y));
        return target;
    }
    const size_t rowBytes = static_cast<size_t>(target.width()) * 4;
    const bool same = &dst == &src || dst.constBits() == src.constBits();
    for (int i = 0; i < target.height(); ++i) {
        // Overlapping copies inside one bitmap go bottom-up when moving down.
        int y = same && target.y() > from.y() ? target.height() - 1 - i : i;
        const uchar* s = src.constScanLine(from.y() + y) + from.x() * 4;
        uchar* d = dst.scanLine(target.y() + y) + target.x() * 4;
        std::memmove(d, s, rowBytes);
    }
    return target;
}

bool ClipStretch(const QImage& src, QRectF& srcRect, QRectF& dstRect) {
    if (srcRect.width() <= 0 || srcRect.height() <= 0 || dstRect.width() <= 0 ||
        dstRect.height() <= 0)
        return false;
    QRectF clipped = srcRect.intersected(QRectF(src.rect()));
    if (clipped.isEmpty())
        return false;
    double sx = dstRect.width() / srcRect.width();
    double sy = dstRect.height() / srcRect.height();
    QRectF dst(dstRect.x() + (clipped.x() - srcRect.x()) * sx,
               dstRect.y() + (clipped.y() - srcRect.y()) * sy, clipped.width() * sx,
               clipped.height() * sy);
    srcRect = clipped;
    dstRect = dst;
    return true;
}

}  // namespace pagora
