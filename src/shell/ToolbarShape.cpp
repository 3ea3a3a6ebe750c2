#include "shell/ToolbarShape.h"

#include "gfx/EllipseY.h"

namespace pagora {

QPolygon LeftTabOutline() {
    const int h = kImageLeftHeight;
    QPolygon outline;
    outline << QPoint(152, h - 3);
    for (int i = 1; i <= 32; ++i)
        outline << QPoint(152 + i, EllipseY(32, h - 4, i));
    outline << QPoint(0, 0) << QPoint(0, h - 3);
    return outline;
}

QPolygon RightTabOutline(int screenWidth) {
    const int H = kCoolbarRightHeight, W = screenWidth;
    QPolygon outline;
    outline << QPoint(W - 68, 0);
    for (int n = 32; n >= 1; --n)
        outline << QPoint(W - n - 36, EllipseY(32, H - 8, n));
    outline << QPoint(W, H - 8) << QPoint(W, 0);
    return outline;
}

QRegion ToolbarRegion(bool leftTab, bool rightTab, int screenWidth) {
    QRegion region;
    if (leftTab)
        region += QRegion(LeftTabOutline(), Qt::OddEvenFill);
    if (rightTab)
        region += QRegion(RightTabOutline(screenWidth), Qt::OddEvenFill);
    return region;
}

}  // namespace pagora
