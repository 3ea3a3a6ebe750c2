#include "Colour.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "Noise.h"

namespace pagora {

QColor Mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto lerp = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()),
                  lerp(a.alpha(), b.alpha()));
}

void AddGrain(QImage& picture, int amount, uint64_t seed) {
    // Premultiplied colour may not rise above its alpha, so only these two.
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32)
        throw std::invalid_argument("AddGrain: the picture is not RGB32 or ARGB32");
    if (amount <= 0)
        return;
    Rng rng(seed);
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            int g = rng.Below(2 * amount + 1) - amount;
            QRgb p = row[x];
            row[x] = qRgba(std::clamp(qRed(p) + g, 0, 255), std::clamp(qGreen(p) + g, 0, 255),
                           std::clamp(qBlue(p) + g, 0, 255), qAlpha(p));
        }
    }
}

}  // namespace pagora
