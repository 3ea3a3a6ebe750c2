#pragma once

#include <QImage>
#include <QRect>
#include <vector>

namespace pagora {

// Copies srcRect of src to dst with its top-left at dstPos, one row at a time.
// Both rectangles are clipped against their bitmaps (and each other), so a
// copy reaching past any edge writes only what lies inside. Returns the
// destination rectangle written (empty when nothing was).
QRect CopyPixels(QImage& dst, QPoint dstPos, const QImage& src, QRect srcRect);

// Copies the pixels of src under the union of the rectangles to the same
// places in dst, clipped to both bitmaps; each pixel is written once however
// many rectangles cover it. With `within`, only pixels also under the union
// of those rectangles. Rows that share the same rectangles are worked out
// once, so thousands of small or overlapping rectangles cost about one pass
// over the area they span.
void CopyRectUnion(QImage& dst, const QImage& src, const std::vector<QRect>& rects,
                   const std::vector<QRect>* within = nullptr);

// What remains of a stretched copy inside both bitmaps: srcRect is
// clipped to src and dstRect shrunk by the same proportion, so what remains
// maps exactly as before. Returns false when nothing remains.
bool ClipStretch(const QImage& src, QRectF& srcRect, QRectF& dstRect);

}  // namespace pagora
