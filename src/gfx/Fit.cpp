#include "gfx/Fit.h"

#include <algorithm>
#include <string>

#include "gfx/Bitmap.h"
#include "gfx/PictureError.h"
#include "gfx/Rounding.h"

namespace pagora {

QSize FitSize(int srcWidth, int srcHeight, int boxWidth, int boxHeight, bool exact) {
    if (srcWidth <= 0 || srcHeight <= 0 || boxWidth <= 0 || boxHeight <= 0)
        return QSize(0, 0);
    if (exact)
        return QSize(boxWidth, boxHeight);
    if (srcWidth < boxWidth && srcHeight < boxHeight)
        return QSize(srcWidth, srcHeight);
    double boxRatio = static_cast<double>(boxWidth) / boxHeight;
    double srcRatio = static_cast<double>(srcWidth) / srcHeight;
    if (boxRatio >= srcRatio) {
        int width = RoundHalfEven(static_cast<double>(boxHeight) * srcWidth / srcHeight);
        return QSize(std::clamp(width, 1, boxWidth), boxHeight);
    }
    int height = RoundHalfEven(static_cast<double>(boxWidth) * srcHeight / srcWidth);
    return QSize(boxWidth, std::clamp(height, 1, boxHeight));
}

QImage StretchBitmap(const QImage& source, int width, int height, bool fast) {
    if (source.isNull() || width <= 0 || height <= 0)
        return QImage(0, 0, kBitmapFormat);
    if (source.width() == width && source.height() == height) {
        QImage copy = source.copy();
        MakeBitmap24(copy);
        return copy;
    }
    QImage scaled = source.scaled(width, height, Qt::IgnoreAspectRatio,
                                  fast ? Qt::FastTransformation : Qt::SmoothTransformation);
    MakeBitmap24(scaled);
    return scaled;
}

void FitBitmap(QImage& source, QImage& target, bool fast, int boxHeight, int boxWidth, bool exact) {
    MakeBitmap24(source);
    QSize size = FitSize(source.width(), source.height(), boxWidth, boxHeight, exact);
    if (size.isEmpty()) {
        target = QImage(0, 0, kBitmapFormat);
        return;
    }
    // The box is not trusted: an exact fit may name any size.
    if (!PictureSizeAllowed(size.width(), size.height()))
        throw PictureError("Cannot fit a picture into a box of " + std::to_string(boxWidth) +
                           " x " + std::to_string(boxHeight));
    target = StretchBitmap(source, size.width(), size.height(), fast);
}

}  // namespace pagora
