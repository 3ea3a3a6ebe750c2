#pragma once

#include <QColor>
#include <QPainter>
#include <QPolygonF>
#include <QSize>
#include <cstdint>
#include <functional>
#include <vector>

#include "procedural/Noise.h"

namespace pagora::sample {

// Drawing pieces the scenes share.

// A vertical gradient over the rectangle through the stops (position 0..1, colour).
void FillGradient(QPainter& painter, const QRectF& rect,
                  const std::vector<std::pair<double, QColor>>& stops);

// A soft disc of light fading to nothing at the radius.
void DrawGlow(QPainter& painter, QPointF centre, double radius, QColor colour);

// A ridge line: its height above `base` at each x, made of fractal noise; with
// `sharp` the peaks are pointed like rock rather than rounded like hills.
class Ridge {
  public:
    Ridge(double base, double amplitude, double scale, uint32_t seed, bool sharp, int octaves = 7);
    double Top(double x) const;
    // Raises the ridge around `centre` by a bell of the given spread and height,
    // so that a range has a summit rather than even teeth.
    Ridge& Lift(double centre, double spread, double height);
    // The ground below the ridge down to `bottom`, traced every `step` pixels.
    QPolygonF Shape(double width, double bottom, double step = 2) const;

  private:
    double base_, amplitude_, scale_;
    uint32_t seed_;
    bool sharp_;
    int octaves_;
    struct Bump {
        double Centre, Spread, Height;
    };
    std::vector<Bump> bumps_;
};

// A conifer: stacked, ragged tiers around a thin trunk, dark on the shaded side.
void DrawPine(QPainter& painter, QPointF foot, double height, QColor colour, Rng& rng,
              QColor snow = Qt::transparent);

// A broad-leaved tree: a trunk under a crown of overlapping leafy clumps.
void DrawLeafyTree(QPainter& painter, QPointF foot, double height, QColor leaves, QColor light,
                   Rng& rng);

// Cumulus-like clouds across the band of the photo between top and bottom,
// lit from above: `coverage` 0..1 says how much of the sky they fill.
void DrawClouds(QPainter& painter, QSize full, double top, double bottom, double coverage,
                QColor light, QColor shade, uint32_t seed, double scale = 300);

// Stars of many sizes and a faint band of the galaxy.
void DrawStars(QPainter& painter, QSize full, double bottom, int count, Rng& rng);

}  // namespace pagora::sample

namespace pagora::sample {

// How a mountain range is painted below its ridge.
struct MountainLook {
    QColor Rock{120, 112, 108};
    QColor Snow{240, 244, 250};
    QColor Forest{46, 70, 52};
    double SnowDepth = 0;      // pixels below the ridge that lie under snow
    double ForestDepth = 1e9;  // pixels below the ridge where the woods begin
    QColor Haze{200, 210, 225};
    double HazeAmount = 0;  // 0..1: how much the air between hides it
};

// A range under the ridge, lit from the upper left: faces turned to the light
// are bright, gullies run down its flanks, snow lies near the top.
void DrawMountain(QPainter& painter, const Ridge& ridge, double width, double bottom,
                  const MountainLook& look, uint32_t seed);

}  // namespace pagora::sample
