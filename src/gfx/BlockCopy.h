#pragma once

#include <QImage>
#include <QRect>

namespace pagora {

// Copies srcRect of src to dst with its top-left at dstPos, one row at a time.
// Both rectangles are clipped against their bitmaps (and each other), so a
// copy reaching past any edge writes only what lies inside. Returns the
// destination rectangle written (empty when nothing was).
QRect CopyPixels(QImage& dst, QPoint dstPos, const QImage& src, QRect srcRect);

// What remains of a stretched copy inside both bitmaps: srcRect is
// clipped to src and dstRect shrunk by the same proportion, so what remains
// maps exactly as before. Returns false when nothing remains.
bool ClipStretch(const QImage& src, QRectF& srcRect, QRectF& dstRect);

}  // namespace pagora
