#pragma once

#include <QImage>
#include <cstdint>

#include "gfx/Bitmap.h"

namespace pagora::test {

// Every pixel names its own column and row and which picture it belongs to
// (tag in the high bits of blue), so a frame tells where each pixel came from.
inline QImage CodedPicture(int width, int height, int tag) {
    QImage image = NewBitmap24(width, height);
    for (int y = 0; y < height; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = qRgb(x & 255, y & 255, tag << 4 | (x >> 8 & 3) | (y >> 8 & 3) << 2);
    }
    return image;
}

inline int TagOf(QRgb pixel) {
    return qBlue(pixel) >> 4;
}

// FNV-1a over the colour bytes of every pixel.
inline uint64_t PixelChecksum(const QImage& image) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            for (int shift : {0, 8, 16}) {
                hash ^= (row[x] >> shift) & 0xff;
                hash *= 0x100000001b3ull;
            }
    }
    return hash;
}

inline bool SamePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const QRgb* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if ((ra[x] ^ rb[x]) & 0xffffff)
                return false;
    }
    return true;
}

}  // namespace pagora::test
