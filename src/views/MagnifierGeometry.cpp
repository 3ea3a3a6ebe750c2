#include "views/MagnifierGeometry.h"

#include <cstdint>

#include "gfx/Rounding.h"

namespace pagora {

namespace {

// Edges as left, top, right, bottom (right and bottom excluded).
QRect Edges(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top)
        return {};
    return QRect(left, top, right - left, bottom - top);
}

int Scale(int64_t value, int64_t to, int64_t from) {
    return int(RoundDivHalfEven(value * to, from));
}

}  // namespace

QPoint LensTopLeft(int x, int y, int lensWidth, int lensHeight) {
    return QPoint(x - lensWidth / 2, y - lensHeight / 2);
}

std::array<QRect, 2> UncoveredStrips(const QRect& oldLens, QPoint newTopLeft, QSize lens) {
    if (oldLens.isEmpty())
        return {};
    const int L = oldLens.left(), T = oldLens.top();
    const int R = L + oldLens.width(), B = T + oldLens.height();
    const int nl = newTopLeft.x(), nt = newTopLeft.y();
    const int right = nl + lens.width(), below = nt + lens.height();
    // A lens that moved far reaches past the old one: only the old one is restored.
    const auto strips = [&](QRect a, QRect b) {
        return std::array<QRect, 2>{a & oldLens, b & oldLens};
    };
    if (nl <= L && nt <= T)
        return strips(Edges(right, T, R, B), Edges(L, below, R, B));
    if (nl > L && nt <= T)
        return strips(Edges(L, T, nl, B), Edges(L, below, R, B));
    if (nl <= L)
        return strips(Edges(L, T, R, nt), Edges(right, T, R, B));
    return strips(Edges(L, T, R, nt), Edges(L, T, nl, B));
}

QSize SourceFrameSize(QSize area, QSize picture) {
    const int64_t W = area.width(), H = area.height();
    const int64_t w = picture.width(), h = picture.height();
    if (W <= 0 || H <= 0 || w <= 0 || h <= 0)
        return QSize(0, 0);
    // W / H >= w / h, compared without a division.
    if (W * h >= w * H)
        return QSize(Scale(h, W, H), int(h));
    return QSize(int(w), Scale(w, H, W));
}

QPoint PictureOffset(QSize frame, QSize picture) {
    return QPoint((frame.width() - picture.width()) / 2, (frame.height() - picture.height()) / 2);
}

QRect SampledArea(int x, int y, int viewWidth, int viewHeight, QSize source, QSize area) {
    if (area.width() <= 0 || area.height() <= 0)
        return {};
    const int SW = source.width(), SH = source.height();
    const int BW = area.width(), BH = area.height();
    return Edges(
        Scale(int64_t(x) - viewWidth / 2, SW, BW), Scale(int64_t(y) - viewHeight / 2, SH, BH),
        Scale(int64_t(x) + viewWidth / 2, SW, BW), Scale(int64_t(y) + viewHeight / 2, SH, BH));
}

}  // namespace pagora
