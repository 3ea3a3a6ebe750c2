#pragma once

#include <QImage>
#include <cstdint>
#include <string>

// What the decoders share: the size check before allocation, the target
// bitmap, and alpha flattened onto white paper.
namespace pagora {

// Throws PictureError naming `what` unless a width x height picture may be
// allocated and is at most maxArea pixels (never more than kMaxPictureArea).
void CheckPictureSize(int64_t width, int64_t height, int64_t maxArea, const std::string& what);

// An uninitialised kBitmapFormat picture for a decoder to fill; checked as above.
QImage NewPicture(int64_t width, int64_t height, int64_t maxArea, const std::string& what);

// Pixels of Format_ARGB32 (not premultiplied) composited over white; the
// result is the same memory reinterpreted as kBitmapFormat.
QImage FlattenOverWhite(QImage picture);

// One colour byte over white with alpha a (not premultiplied).
inline uint8_t OverWhite(unsigned c, unsigned a) {
    return static_cast<uint8_t>((c * a + 255 * (255 - a) + 127) / 255);
}

}  // namespace pagora
