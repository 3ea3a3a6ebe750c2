#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "Elements.h"
#include "PhotoEffects.h"
#include "Scenes.h"

namespace pagora::sample {

namespace {

void DrawBird(QPainter& painter, QPointF at, double span, QColor colour) {
    QPainterPath wings;
    wings.moveTo(at.x() - span / 2, at.y() - span * 0.1);
    wings.quadTo(at.x() - span / 4, at.y() - span * 0.3, at.x(), at.y());
    wings.quadTo(at.x() + span / 4, at.y() - span * 0.3, at.x() + span / 2, at.y() - span * 0.12);
    painter.setPen(QPen(colour, std::max(1.2, span * 0.06), Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(wings);
}

}  // namespace

void DrawSeaSunset(QImage& photo) {
    QSize size = photo.size();
    double w = size.width(), h = size.height(), horizon = h * 0.56;
    QPointF sun(w * 0.58, horizon - h * 0.035);
    QPainter p(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    FillGradient(p, QRectF(0, 0, w, horizon + 2),
                 {{0, QColor(38, 46, 96)},
                  {0.35, QColor(118, 80, 120)},
                  {0.7, QColor(226, 120, 86)},
                  {1, QColor(255, 186, 98)}});
    DrawGlow(p, sun, h * 0.6, QColor(255, 200, 120, 200));
    DrawClouds(p, size, h * 0.04, horizon * 0.8, 0.42, QColor(255, 170, 120), QColor(90, 60, 100),
               31, 360);
    DrawGlow(p, sun, h * 0.12, QColor(255, 236, 190, 230));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 246, 220));
    p.drawEllipse(sun, h * 0.045, h * 0.045);
    // A far island on the horizon.
    Ridge island(horizon + 1, h * 0.05, 90, 32, false, 5);
    QPolygonF land;
    land << QPointF(w * 0.04, horizon + 1);
    for (double x = w * 0.04; x <= w * 0.3; x += 3) {
        double edge = std::sin((x - w * 0.04) / (w * 0.26) * 3.1416);
        land << QPointF(x, horizon + 1 - (horizon + 1 - island.Top(x)) * std::sqrt(edge));
    }
    p.setBrush(QColor(70, 48, 78));
    p.drawPolygon(land);
    p.end();
    Reflect(photo, {.Waterline = static_cast<int>(horizon + 1),
                    .Ripple = 14,
                    .Wavelength = 3,
                    .Tint = QColor(40, 30, 60),
                    .TintNear = 0.25,
                    .TintFar = 0.7,
                    .Seed = 33});
    p.begin(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    // Wave crests: dark troughs and lit edges, finer toward the horizon.
    QImage waves = ComputeLayer(QRect(0, static_cast<int>(horizon), w, h - horizon), 2,
                                [&](double x, double y) -> QColor {
                                    double d = (y - horizon) / (h - horizon);
                                    double n = Fractal(x / (60 + 240 * d), y / (2 + 14 * d), 34, 4);
                                    QColor c = n < 0.5 ? QColor(20, 12, 40) : QColor(255, 190, 120);
                                    c.setAlphaF(std::min(0.55, std::abs(n - 0.5) * (0.8 + d)));
                                    return c;
                                });
    DrawLayer(p, waves, QRectF(0, horizon, w, h - horizon));
    // The sun's path of glitter on the water.
    Rng rng(35);
    for (int i = 0; i < 2200; ++i) {
        double d = std::pow(rng.Unit(), 1.5);
        double y = horizon + 2 + d * (h - horizon);
        double spread = (w * 0.03 + d * w * 0.22) * (rng.Unit() + rng.Unit() - 1);
        double len = 4 + d * 40 * rng.Unit();
        QColor c(255, 226 - rng.Below(40), 160 - rng.Below(60),
                 60 + rng.Below(160) * (1 - d * 0.5));
        p.fillRect(QRectF(sun.x() + spread - len / 2, y, len, 1 + d * 2.5), c);
    }
    DrawGlow(p, QPointF(sun.x(), horizon + 4), h * 0.08, QColor(255, 220, 170, 150));
    // Rocks in the near corner, wet and dark.
    QPolygonF rocks;
    rocks << QPointF(w + 10, h + 10) << QPointF(w * 0.62, h + 10);
    for (double x = w * 0.62; x <= w + 10; x += 5) {
        double t = (x - w * 0.62) / (w * 0.38);
        rocks << QPointF(x, h - h * 0.2 * std::sqrt(t) - Fractal(x / 50, 1, 36, 5) * h * 0.09);
    }
    FillTextured(p, rocks, QColor(46, 30, 40), 0.25, 30, 37);
    p.setPen(QPen(QColor(255, 170, 110, 120), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(rocks.mid(2));
    for (int i = 0; i < 5; ++i)
        DrawBird(p, QPointF(w * rng.Range(0.2, 0.5), h * rng.Range(0.12, 0.3)), rng.Range(16, 32),
                 QColor(40, 26, 44));
}

void DrawCityNight(QImage& photo) {
    QSize size = photo.size();
    double w = size.width(), h = size.height(), river = h * 0.7;
    QPainter p(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    FillGradient(p, QRectF(0, 0, w, river + 2),
                 {{0, QColor(8, 12, 36)},
                  {0.55, QColor(32, 36, 84)},
                  {0.85, QColor(96, 66, 100)},
                  {1, QColor(150, 96, 96)}});
    Rng rng(41);
    DrawStars(p, size, river * 0.5, 120, rng);
    QPointF moon(w * 0.16, h * 0.14);
    DrawGlow(p, moon, h * 0.22, QColor(210, 220, 255, 90));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(244, 240, 222));
    p.drawEllipse(moon, h * 0.035, h * 0.035);
    p.setBrush(QColor(214, 210, 196, 120));
    p.drawEllipse(moon + QPointF(-h * 0.008, -h * 0.005), h * 0.009, h * 0.007);
    p.drawEllipse(moon + QPointF(h * 0.012, h * 0.01), h * 0.007, h * 0.006);
    DrawClouds(p, size, h * 0.05, h * 0.35, 0.25, QColor(70, 70, 110), QColor(24, 24, 50), 42, 320);
    // Two rows of towers: pale far ones, then the near skyline.
    for (int row = 0; row < 2; ++row) {
        double x = -20;
        while (x < w) {
            double bw = rng.Range(50, 150) * (row ? 1.2 : 0.8);
            double centre = std::exp(-std::pow((x - w * 0.55) / (w * 0.3), 2));
            double bh = h * (row ? rng.Range(0.12, 0.28) + 0.28 * centre * rng.Unit()
                                 : rng.Range(0.18, 0.32) + 0.15 * centre);
            QRectF tower(x, river - bh, bw, bh + 2);
            QColor body = row ? QColor(22, 24, 40) : QColor(44, 44, 76);
            QLinearGradient g(tower.topLeft(), tower.topRight());
            g.setColorAt(0, body.lighter(125));
            g.setColorAt(1, body);
            p.fillRect(tower, g);
            if (rng.Below(3) == 0) {  // a spire with a red warning light
                double sx = x + bw / 2, sh = bh * 0.18;
                p.fillRect(QRectF(sx - 1.5, river - bh - sh, 3, sh), body);
                DrawGlow(p, QPointF(sx, river - bh - sh), 10, QColor(255, 60, 50, 230));
            }
            double cell = row ? 11 : 7, gap = row ? 5 : 3.5;
            double warmth = rng.Unit(), share = rng.Range(0.12, 0.45);
            for (double wy = river - bh + cell; wy < river - cell; wy += cell + gap)
                for (double wx = x + cell * 0.6; wx < x + bw - cell; wx += cell + gap * 0.6) {
                    if (rng.Unit() > share)
                        continue;
                    QColor lit = Mix(QColor(255, 214, 140), QColor(200, 226, 255),
                                     std::clamp(warmth + rng.Range(-0.3, 0.3), 0.0, 1.0));
                    lit.setAlpha(row ? 150 + rng.Below(100) : 70 + rng.Below(80));
                    p.fillRect(QRectF(wx, wy, cell, cell * 0.8), lit);
                }
            x += bw + rng.Range(-10, 14);
        }
    }
    // The embankment with its lamps.
    p.fillRect(QRectF(0, river - 8, w, 10), QColor(16, 16, 26));
    for (double x = 12; x < w; x += 48)
        DrawGlow(p, QPointF(x, river - 12), 18, QColor(255, 200, 120, 220));
    DrawGlow(p, QPointF(w * 0.55, river), w * 0.5, QColor(255, 160, 100, 40));
    p.end();
    Reflect(photo, {.Waterline = static_cast<int>(river),
                    .Ripple = 10,
                    .Wavelength = 4,
                    .Tint = QColor(6, 8, 22),
                    .TintNear = 0.3,
                    .TintFar = 0.75,
                    .Seed = 43,
                    .Smear = 9});
}

}  // namespace pagora::sample
