#include "gfx/PictureDecode.h"

#include <algorithm>

#include "gfx/Bitmap.h"
#include "gfx/PictureError.h"

namespace pagora {

void CheckPictureSize(int64_t width, int64_t height, int64_t maxArea, const std::string& what) {
    std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (width <= 0 || height <= 0)
        throw PictureError(what + ": the picture has no pixels (" + size + ")");
    int64_t limit = std::min(maxArea, kMaxPictureArea);
    if (!PictureSizeAllowed(width, height) || width * height > limit)
        throw PictureError(what + ": a picture of " + size + " pixels is larger than the " +
                           std::to_string(limit) + "-pixel limit");
}

QImage NewPicture(int64_t width, int64_t height, int64_t maxArea, const std::string& what) {
    CheckPictureSize(width, height, maxArea, what);
    QImage picture(static_cast<int>(width), static_cast<int>(height), kBitmapFormat);
    if (picture.isNull())
        throw PictureError(what + ": out of memory for a picture of " + std::to_string(width) +
                           " x " + std::to_string(height) + " pixels");
    return picture;
}

QImage FlattenOverWhite(QImage picture) {
    if (!picture.hasAlphaChannel()) {
        MakeBitmap24(picture);
        return picture;
    }
    if (picture.format() != QImage::Format_ARGB32)
        picture = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            QRgb p = row[x];
            unsigned a = qAlpha(p);
            if (a != 255)
                row[x] =
                    qRgb(OverWhite(qRed(p), a), OverWhite(qGreen(p), a), OverWhite(qBlue(p), a));
        }
    }
    picture.reinterpretAsFormat(kBitmapFormat);
    return picture;
}

}  // namespace pagora
