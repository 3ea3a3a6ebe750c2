#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>
#include <span>
#include <string>

#include "gfx/Bitmap.h"

namespace pagora {

// The picture as it is meant to be seen, given the EXIF orientation its pixels
// were stored with (1..8; any other value leaves the picture as it is). Values
// 5..8 swap width and height. The result is a kBitmapFormat bitmap.
QImage OrientUpright(const QImage& stored, int exifOrientation);

// True for the orientations (5..8) whose upright picture has the stored
// picture's sides swapped.
inline bool SwapsSides(int exifOrientation) {
    return exifOrientation >= 5 && exifOrientation <= 8;
}

// A JPEG stored with the given orientation, decoded into a box of the upright
// picture as DecodeJpegToBox does: the box's sides are swapped for the decode
// where the orientation swaps them, so nothing is scaled twice.
QImage DecodeJpegToBoxUpright(std::span<const uint8_t> bytes, const std::string& what,
                              int exifOrientation, int boxWidth, int boxHeight, bool fast,
                              bool exact, int64_t maxArea = kMaxPictureArea);

// A JPEG as it is meant to be seen, its orientation read from its own EXIF
// block: the whole picture, its size from the header, and the picture in a box.
QImage DecodeUprightJpeg(std::span<const uint8_t> bytes, const std::string& what,
                         int64_t maxArea = kMaxPictureArea);
QSize UprightJpegSize(std::span<const uint8_t> bytes, const std::string& what);
QImage DecodeUprightJpegToBox(std::span<const uint8_t> bytes, const std::string& what, int boxWidth,
                              int boxHeight, bool fast, bool exact,
                              int64_t maxArea = kMaxPictureArea);

}  // namespace pagora
