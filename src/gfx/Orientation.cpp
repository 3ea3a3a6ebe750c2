#include "gfx/Orientation.h"

#include <QTransform>

#include "gfx/Bitmap.h"
#include "gfx/ExifOrientation.h"
#include "gfx/PictureFile.h"

namespace pagora {

QImage OrientUpright(const QImage& stored, int exifOrientation) {
    // Each case is a turn clockwise by a multiple of 90 degrees followed by an
    // optional mirror, so every path goes through Qt's exact rotations.
    int turn = 0;
    bool mirrorH = false, mirrorV = false;
    switch (exifOrientation) {
        case 2:
            mirrorH = true;
            break;
        case 3:
            turn = 180;
            break;
        case 4:
            mirrorV = true;
            break;
        case 5:  // transpose
            turn = 90;
            mirrorH = true;
            break;
        case 6:
            turn = 90;
            break;
        case 7:  // transverse
            turn = 90;
            mirrorV = true;
            break;
        case 8:
            turn = 270;
            break;
        default:
            break;
    }
    QImage upright = turn ? stored.transformed(QTransform().rotate(turn)) : stored;
    if (mirrorH || mirrorV)
        upright = upright.mirrored(mirrorH, mirrorV);
    MakeBitmap24(upright);
    return upright;
}

QImage DecodeJpegToBoxUpright(std::span<const uint8_t> bytes, const std::string& what,
                              int exifOrientation, int boxWidth, int boxHeight, bool fast,
                              bool exact, int64_t maxArea) {
    if (!SwapsSides(exifOrientation))
        return OrientUpright(
            DecodeJpegToBox(bytes, what, boxWidth, boxHeight, fast, exact, maxArea),
            exifOrientation);
    return OrientUpright(DecodeJpegToBox(bytes, what, boxHeight, boxWidth, fast, exact, maxArea),
                         exifOrientation);
}

QImage DecodeUprightJpeg(std::span<const uint8_t> bytes, const std::string& what, int64_t maxArea) {
    return OrientUpright(DecodeJpeg(bytes, what, maxArea), ExifOrientation(bytes));
}

QSize UprightJpegSize(std::span<const uint8_t> bytes, const std::string& what) {
    const QSize stored = JpegSize(bytes, what);
    return SwapsSides(ExifOrientation(bytes)) ? stored.transposed() : stored;
}

QImage DecodeUprightJpegToBox(std::span<const uint8_t> bytes, const std::string& what, int boxWidth,
                              int boxHeight, bool fast, bool exact, int64_t maxArea) {
    return DecodeJpegToBoxUpright(bytes, what, ExifOrientation(bytes), boxWidth, boxHeight, fast,
                                  exact, maxArea);
}

}  // namespace pagora
