#include "gfx/Bitmap.h"

#include <string>

#include "gfx/PictureError.h"

namespace pagora {

QImage NewBitmap24(int width, int height) {
    if (width == 0 || height == 0)
        return QImage(0, 0, kBitmapFormat);
    if (!PictureSizeAllowed(width, height))
        throw PictureError("Cannot make a bitmap of " + std::to_string(width) + " x " +
                           std::to_string(height) + " pixels");
    QImage image(width, height, kBitmapFormat);
    if (image.isNull())
        throw PictureError("Out of memory for a bitmap of " + std::to_string(width) + " x " +
                           std::to_string(height) + " pixels");
    image.fill(0xff000000u);
    return image;
}

void MakeBitmap24(QImage& image) {
    if (image.format() != kBitmapFormat)
        image = image.convertToFormat(kBitmapFormat);
}

}  // namespace pagora
