#pragma once

#include <QImage>
#include <cstdint>

namespace pagora {

// Every bitmap and window back buffer: one 32-bit pixel 0xffRRGGBB (B, G, R, X
// in memory), the screen's own format. Colour arithmetic touches B, G and R.
constexpr QImage::Format kBitmapFormat = QImage::Format_RGB32;

// No picture is decoded or made larger than this; a header claiming more is
// refused before anything is allocated.
constexpr int64_t kMaxPictureArea = int64_t(1) << 28;

// True when a picture of this size may be allocated.
inline bool PictureSizeAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxPictureArea && height <= kMaxPictureArea &&
           width * height <= kMaxPictureArea;
}

// A new black bitmap, owned by the caller. Throws PictureError when the size
// is negative or beyond kMaxPictureArea; 0 x 0 gives an empty bitmap.
QImage NewBitmap24(int width, int height);

// Converts a bitmap of any format to kBitmapFormat in place.
void MakeBitmap24(QImage& image);

}  // namespace pagora
