#pragma once

#include <QImage>

namespace pagora {

// The picture as it is meant to be seen, given the EXIF orientation its pixels
// were stored with (1..8; any other value leaves the picture as it is). Values
// 5..8 swap width and height. The result is a kBitmapFormat bitmap.
QImage OrientUpright(const QImage& stored, int exifOrientation);

}  // namespace pagora
