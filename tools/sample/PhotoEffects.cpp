#include "PhotoEffects.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

namespace pagora::sample {

QImage ComputeLayer(QSize full, int shrink,
                    const std::function<QColor(double x, double y)>& pixel) {
    return ComputeLayer(QRect(QPoint(0, 0), full), shrink, pixel);
}

QImage ComputeLayer(QRect area, int shrink,
                    const std::function<QColor(double x, double y)>& pixel) {
    int w = (area.width() + shrink - 1) / shrink, h = (area.height() + shrink - 1) / shrink;
    QImage layer(std::max(w, 1), std::max(h, 1), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = 0; x < w; ++x) {
            QColor c = pixel(area.x() + (x + 0.5) * shrink, area.y() + (y + 0.5) * shrink);
            row[x] = qPremultiply(c.rgba());
        }
    }
    return layer;
}

void DrawLayer(QPainter& painter, const QImage& layer, QSize full) {
    DrawLayer(painter, layer, QRectF(0, 0, full.width(), full.height()));
}

void DrawLayer(QPainter& painter, const QImage& layer, QRectF area) {
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(area, layer);
    painter.restore();
}

void DrawLayerInside(QPainter& painter, const QImage& layer, QRectF area, const QPolygonF& shape) {
    QPainterPath clip;
    clip.addPolygon(shape);
    painter.save();
    painter.setClipPath(clip, Qt::IntersectClip);
    DrawLayer(painter, layer, area);
    painter.restore();
}

void FillTextured(QPainter& painter, const QPolygonF& shape, QColor colour, double variation,
                  double scale, uint32_t seed, int shrink) {
    QRect area = shape.boundingRect().toAlignedRect();
    area = area.intersected(
        QRect(-50, -50, painter.device()->width() + 100, painter.device()->height() + 100));
    QImage layer = ComputeLayer(area, shrink, [&](double x, double y) {
        double n = Fractal(x / scale, y / scale, seed, 5) * 2 - 1;
        return n < 0 ? Mix(colour, Qt::black, -n * variation * 1.6)
                     : Mix(colour, Qt::white, n * variation);
    });
    DrawLayerInside(painter, layer, QRectF(area), shape);
}

namespace {

// One running-sum box blur along rows (step 1) or columns (step = stride).
void BoxPass(QRgb* data, int count, int lines, int step, int lineStep, int radius) {
    std::vector<QRgb> copy(count);
    int window = 2 * radius + 1;
    for (int line = 0; line < lines; ++line) {
        QRgb* p = data + static_cast<ptrdiff_t>(line) * lineStep;
        for (int i = 0; i < count; ++i)
            copy[i] = p[static_cast<ptrdiff_t>(i) * step];
        int sum[4] = {0, 0, 0, 0};
        auto add = [&](QRgb c, int sign) {
            sum[0] += sign * qAlpha(c);
            sum[1] += sign * qRed(c);
            sum[2] += sign * qGreen(c);
            sum[3] += sign * qBlue(c);
        };
        auto at = [&](int i) { return copy[std::clamp(i, 0, count - 1)]; };
        for (int i = -radius; i <= radius; ++i)
            add(at(i), 1);
        for (int i = 0; i < count; ++i) {
            // Rounded, so that faint light does not drain away pass by pass.
            auto mean = [&](int k) { return (sum[k] + window / 2) / window; };
            p[static_cast<ptrdiff_t>(i) * step] = qRgba(mean(1), mean(2), mean(3), mean(0));
            add(at(i + radius + 1), 1);
            add(at(i - radius), -1);
        }
    }
}

}  // namespace

void Blur(QImage& image, int radius) {
    if (radius < 1)
        return;
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    auto* data = reinterpret_cast<QRgb*>(image.bits());
    int stride = static_cast<int>(image.bytesPerLine() / 4);
    int box = std::max(1, radius / 2);
    for (int pass = 0; pass < 3; ++pass) {
        BoxPass(data, image.width(), image.height(), 1, stride, box);
        BoxPass(data, image.height(), image.width(), stride, 1, box);
    }
}

void DrawSoft(QPainter& painter, QSize full, int shrink, int blurRadius,
              const std::function<void(QPainter&)>& shape) {
    QImage layer((full.width() + shrink - 1) / shrink, (full.height() + shrink - 1) / shrink,
                 QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter p(&layer);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(1.0 / shrink, 1.0 / shrink);
        p.setPen(Qt::NoPen);
        shape(p);
    }
    Blur(layer, std::max(1, blurRadius / shrink));
    DrawLayer(painter, layer, full);
}

void Reflect(QImage& photo, const Water& water) {
    int w = photo.width(), h = photo.height(), line = water.Waterline;
    QImage source = photo.copy(0, 0, w, line);
    int depth = std::max(1, h - line);
    for (int y = line; y < h; ++y) {
        double d = double(y - line) / depth;  // 0 at the shore, 1 at the bottom
        auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
        // Ripples grow and stretch toward the viewer, as perspective makes them.
        double wave = water.Wavelength * (1 + 3 * d);
        double amp = water.Ripple * (0.3 + 1.7 * d);
        double phase = std::sin((y - line) / wave * 6.283) +
                       0.6 * (ValueNoise(0, (y - line) / wave, water.Seed) - 0.5);
        int sy = std::clamp(2 * line - y - 1 + static_cast<int>(phase * amp * 0.3), 0, line - 1);
        const auto* src = reinterpret_cast<const QRgb*>(source.constScanLine(sy));
        double tint = water.TintNear + (water.TintFar - water.TintNear) * d;
        for (int x = 0; x < w; ++x) {
            double wobble =
                amp * (ValueNoise(x / (40.0 + 80 * d), (y - line) / wave, water.Seed) - 0.5) * 2 +
                phase * amp * 0.5;
            QRgb c = src[std::clamp(x + static_cast<int>(wobble), 0, w - 1)];
            auto mix = [tint](int s, int t) { return static_cast<int>(s + (t - s) * tint); };
            row[x] = qRgb(mix(qRed(c), water.Tint.red()), mix(qGreen(c), water.Tint.green()),
                          mix(qBlue(c), water.Tint.blue()));
        }
    }
    if (water.Smear > 0 && line < h) {
        auto* first = reinterpret_cast<QRgb*>(photo.scanLine(line));
        int stride = static_cast<int>(photo.bytesPerLine() / 4);
        for (int pass = 0; pass < 2; ++pass)
            BoxPass(first, h - line, w, stride, 1, water.Smear);
    }
}

void FinishPhoto(QImage& photo, uint32_t seed, int grain, double vignette) {
    int w = photo.width(), h = photo.height();
    double cx = w / 2.0, cy = h / 2.0, reach = std::hypot(cx, cy);
    // A gentle S-curve gives the contrast of a film.
    uint8_t curve[256];
    for (int i = 0; i < 256; ++i) {
        double v = i / 255.0;
        double s = v - 0.035 * std::sin(v * 6.283);
        curve[i] = static_cast<uint8_t>(std::clamp(std::lround(s * 255), 0l, 255l));
    }
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < w; ++x) {
            double r = std::hypot(x - cx, y - cy) / reach;
            double dim = 1 - vignette * r * r * r;
            QRgb c = row[x];
            auto channel = [&](int v) {
                return curve[std::clamp(static_cast<int>(v * dim), 0, 255)];
            };
            row[x] = qRgb(channel(qRed(c)), channel(qGreen(c)), channel(qBlue(c)));
        }
    }
    AddGrain(photo, grain, seed);
}

}  // namespace pagora::sample
