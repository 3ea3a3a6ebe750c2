#include "gfx/Shade.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "gfx/Bitmap.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pagora {

namespace {

// Saturating add of delta to a byte, as a lookup table built once per call.
std::array<uint8_t, 256> ShiftTable(int delta) {
    std::array<uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v)
        table[v] = static_cast<uint8_t>(std::clamp(v + delta, 0, 255));
    return table;
}

}  // namespace

QColor ShiftColor(const QColor& color, int delta) {
    QColor rgb = color.isValid() ? color.toRgb() : QColor(Qt::black);
    auto shift = [delta](int channel) { return std::clamp(channel + delta, 0, 255); };
    return QColor(shift(rgb.red()), shift(rgb.green()), shift(rgb.blue()));
}

void ShiftRect(QImage& bitmap, int delta, QRect rect) {
    MakeBitmap24(bitmap);
    // Edges are given as left, top, right, bottom with right and bottom excluded.
    int left = std::max(rect.left(), 0), top = std::max(rect.top(), 0);
    int right = std::min(rect.left() + rect.width(), bitmap.width());
    int bottom = std::min(rect.top() + rect.height(), bitmap.height());
    if (left >= right || top >= bottom || delta == 0)
        return;
    const auto table = ShiftTable(delta);
    const int amount = std::min(std::abs(delta), 255);
    for (int y = top; y < bottom; ++y) {
        uchar* p = bitmap.scanLine(y) + left * 4;
        uchar* end = bitmap.scanLine(y) + right * 4;
#if defined(__SSE2__)
        // Four pixels at a time with saturating byte arithmetic; the X byte
        // gets a zero delta.
        const __m128i step = _mm_set1_epi32(amount * 0x010101);
        for (; end - p >= 16; p += 16) {
            __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            v = delta > 0 ? _mm_adds_epu8(v, step) : _mm_subs_epu8(v, step);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
        }
#endif
        for (; p < end; p += 4) {
            p[0] = table[p[0]];
            p[1] = table[p[1]];
            p[2] = table[p[2]];
        }
    }
}

void ShadeFrame(QImage& bitmap, int left, int top, int right, int bottom, int thickness,
                int leftDelta, int topDelta, int rightDelta, int bottomDelta) {
    const int t = thickness;
    auto strip = [](int l, int tp, int r, int b) { return QRect(l, tp, r - l, b - tp); };
    ShiftRect(bitmap, bottomDelta, strip(left, bottom - t, right + t, bottom));
    ShiftRect(bitmap, topDelta, strip(left, top, right, top + t));
    ShiftRect(bitmap, leftDelta, strip(left, top, left + t, bottom));
    ShiftRect(bitmap, rightDelta, strip(right - t, top, right + t, bottom));
}

}  // namespace pagora
