#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <functional>

#include "procedural/Colour.h"
#include "procedural/Noise.h"

namespace pagora::sample {

// A premultiplied layer computed at 1/shrink of the photo's size: soft things
// (mist, clouds, glows, texture) need no more, and bilinear scaling smooths them.
// `pixel` takes coordinates of the full photo.
QImage ComputeLayer(QSize full, int shrink, const std::function<QColor(double x, double y)>& pixel);
// The same over one area of the photo only.
QImage ComputeLayer(QRect area, int shrink, const std::function<QColor(double x, double y)>& pixel);

// Draws a layer over the whole photo, or over the area it was computed for, smoothly scaled.
void DrawLayer(QPainter& painter, const QImage& layer, QSize full);
void DrawLayer(QPainter& painter, const QImage& layer, QRectF area);
// The layer drawn over area, but only inside shape.
void DrawLayerInside(QPainter& painter, const QImage& layer, QRectF area, const QPolygonF& shape);

// Fills the shape with a colour that varies with fractal noise of the given
// scale (pixels) by `variation` (0..1 of the colour toward dark and light).
void FillTextured(QPainter& painter, const QPolygonF& shape, QColor colour, double variation,
                  double scale, uint32_t seed, int shrink = 2);

// Three box blurs, close to a Gaussian of the radius; any format is made
// premultiplied ARGB first.
void Blur(QImage& image, int radius);

// A soft shadow or glow: the painter draws the shape at 1/shrink scale, which
// is then blurred and drawn over the photo.
void DrawSoft(QPainter& painter, QSize full, int shrink, int blurRadius,
              const std::function<void(QPainter&)>& shape);

// The rows below the waterline show the rows above it, mirrored, rippled and
// tinted toward the water's colour, the more so the farther from the shore.
struct Water {
    int Waterline = 0;
    double Ripple = 6;      // pixels of sideways wobble near the viewer
    double Wavelength = 9;  // rows per ripple near the shore
    QColor Tint{20, 40, 60};
    double TintNear = 0.15;  // at the shore
    double TintFar = 0.55;   // at the bottom edge
    uint32_t Seed = 1;
    int Smear = 0;  // rows of vertical blur: lights on choppy water become streaks
};
void Reflect(QImage& photo, const Water& water);

// What a camera adds: a vignette, a gentle tone curve and a little grain.
void FinishPhoto(QImage& photo, uint32_t seed, int grain = 2, double vignette = 0.25);

}  // namespace pagora::sample
