#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "Elements.h"
#include "PhotoEffects.h"
#include "Scenes.h"

namespace pagora::sample {

namespace {

// A band of mist lying on the ground at `level`, thinning upward over `depth`.
void DrawMist(QPainter& painter, QSize full, double level, double depth, QColor colour,
              double strength, uint32_t seed) {
    QImage layer = ComputeLayer(full, 4, [&](double x, double y) -> QColor {
        double h = (level - y) / depth;
        if (h > 1 || h < -0.6)
            return Qt::transparent;
        double body = h < 0 ? 1 + h / 0.6 : 1 - h;
        double wisp = Fractal(x / 260, y / 55, seed, 5);
        QColor c = colour;
        c.setAlphaF(std::clamp(strength * body * body * (0.45 + 0.9 * wisp), 0.0, 1.0));
        return c;
    });
    DrawLayer(painter, layer, full);
}

void DrawPagoda(QPainter& painter, QPointF foot, double height, QColor colour) {
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    int floors = 7;
    double floorH = height * 0.8 / floors, base = height * 0.2;
    for (int f = 0; f < floors; ++f) {
        double y = foot.y() - f * floorH;
        double w = base * (1 - 0.07 * f);
        painter.drawRect(QRectF(foot.x() - w / 2, y - floorH, w, floorH));
        // The eaves curl up at the corners.
        QPainterPath eave;
        double e = w * 0.85;
        eave.moveTo(foot.x() - e, y - floorH * 0.95);
        eave.quadTo(foot.x() - e * 0.6, y - floorH * 0.78, foot.x(), y - floorH * 0.82);
        eave.quadTo(foot.x() + e * 0.6, y - floorH * 0.78, foot.x() + e, y - floorH * 0.95);
        eave.lineTo(foot.x() + e * 0.7, y - floorH * 0.7);
        eave.lineTo(foot.x() - e * 0.7, y - floorH * 0.7);
        eave.closeSubpath();
        painter.drawPath(eave);
    }
    double top = foot.y() - floors * floorH;
    painter.drawRect(QRectF(foot.x() - 1.5, top - height * 0.2, 3, height * 0.2));
    painter.restore();
}

void DrawBoat(QPainter& painter, QPointF at, double length, QColor colour) {
    QPainterPath hull;
    hull.moveTo(at.x() - length / 2, at.y() - length * 0.06);
    hull.quadTo(at.x(), at.y() + length * 0.07, at.x() + length / 2, at.y() - length * 0.08);
    hull.quadTo(at.x(), at.y() - length * 0.01, at.x() - length / 2, at.y() - length * 0.06);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(hull);
    // A boatman under a round hat, leaning on his pole.
    QPointF man(at.x() + length * 0.22, at.y() - length * 0.02);
    painter.drawRect(
        QRectF(man.x() - length * 0.025, man.y() - length * 0.16, length * 0.05, length * 0.16));
    QPolygonF hat;
    hat << QPointF(man.x() - length * 0.06, man.y() - length * 0.155)
        << QPointF(man.x(), man.y() - length * 0.21)
        << QPointF(man.x() + length * 0.06, man.y() - length * 0.155);
    painter.drawPolygon(hat);
    painter.setPen(QPen(colour, std::max(1.5, length * 0.008)));
    painter.drawLine(QPointF(man.x() + length * 0.02, man.y() - length * 0.12),
                     QPointF(man.x() + length * 0.25, man.y() + length * 0.12));
    // A low canopy in the middle.
    painter.setPen(Qt::NoPen);
    QPainterPath roof;
    roof.moveTo(at.x() - length * 0.25, at.y() - length * 0.04);
    roof.quadTo(at.x() - length * 0.1, at.y() - length * 0.17, at.x() + length * 0.05,
                at.y() - length * 0.04);
    painter.drawPath(roof);
}

}  // namespace

void DrawMistyLake(QImage& photo) {
    QSize size = photo.size();
    double w = size.width(), h = size.height(), shore = h * 0.6;
    QPainter p(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    FillGradient(
        p, QRectF(0, 0, w, shore + 2),
        {{0, QColor(158, 176, 196)}, {0.55, QColor(214, 212, 208)}, {1, QColor(238, 226, 210)}});
    DrawGlow(p, QPointF(w * 0.3, shore * 0.62), h * 0.5, QColor(255, 236, 200, 170));
    DrawGlow(p, QPointF(w * 0.3, shore * 0.62), h * 0.05, QColor(255, 250, 236, 230));
    DrawClouds(p, size, 0, shore * 0.5, 0.35, QColor(240, 236, 230), QColor(170, 178, 192), 5, 420);
    struct Layer {
        double base, amp, scale;
        QColor colour;
    };
    const Layer layers[] = {{shore - h * 0.05, h * 0.24, 420, QColor(168, 180, 192)},
                            {shore - h * 0.01, h * 0.17, 300, QColor(128, 144, 158)},
                            {shore + 4, h * 0.11, 240, QColor(86, 104, 112)},
                            {shore + 4, h * 0.05, 160, QColor(52, 66, 66)}};
    uint32_t seed = 40;
    for (const Layer& l : layers) {
        Ridge ridge(l.base, l.amp, l.scale, seed++, false);
        p.setPen(Qt::NoPen);
        // Nearer hills show their woods; the far ones are flat with haze.
        double near = (&l - layers) / 3.0;
        FillTextured(p, ridge.Shape(w, shore + 4), l.colour, 0.015 + 0.3 * near * near,
                     14 + 10 * near, seed + 3);
        if (&l == &layers[1]) {
            double x = w * 0.64;
            DrawPagoda(p, QPointF(x, ridge.Top(x) + 6), h * 0.13, l.colour.darker(118));
        }
        DrawMist(p, size, l.base + 6, h * 0.12, QColor(232, 230, 226), 0.85, seed + 7);
    }
    p.end();
    Reflect(photo, {.Waterline = static_cast<int>(shore),
                    .Ripple = 5,
                    .Wavelength = 6,
                    .Tint = QColor(150, 162, 170),
                    .TintNear = 0.25,
                    .TintFar = 0.5,
                    .Seed = 3});
    p.begin(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    DrawMist(p, size, shore + h * 0.02, h * 0.06, QColor(236, 234, 230), 0.7, 77);
    QPointF boat(w * 0.42, shore + h * 0.2);
    DrawBoat(p, boat, w * 0.13, QColor(40, 44, 46));
    p.save();
    p.translate(0, 2 * boat.y() + w * 0.004);
    p.scale(1, -1);
    p.setOpacity(0.35);
    DrawBoat(p, boat, w * 0.13, QColor(40, 44, 46));
    p.restore();
    // Faint streaks where a breeze touches the water.
    Rng rng(9);
    for (int i = 0; i < 40; ++i) {
        double y = rng.Range(shore + 8, h);
        double len = rng.Range(40, 260) * (0.5 + (y - shore) / (h - shore));
        double x = rng.Range(-50, w);
        QLinearGradient g(x, y, x + len, y);
        g.setColorAt(0, QColor(255, 255, 255, 0));
        g.setColorAt(0.5, QColor(255, 255, 255, 38));
        g.setColorAt(1, QColor(255, 255, 255, 0));
        p.fillRect(QRectF(x, y, len, 1.5), g);
    }
    // Willow branches hang into the frame from the top right.
    for (int i = 0; i < 16; ++i) {
        double x0 = w * rng.Range(0.78, 1.05), len = h * rng.Range(0.15, 0.45);
        QPainterPath twig;
        twig.moveTo(x0, -5);
        twig.cubicTo(x0 - 40, len * 0.3, x0 - 60, len * 0.6, x0 - rng.Range(30, 90), len);
        p.setPen(QPen(QColor(58, 66, 48, 200), 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(twig);
        p.setPen(Qt::NoPen);
        for (double t = 0.1; t < 1; t += 0.035) {
            QPointF leaf = twig.pointAtPercent(t);
            p.setBrush(Mix(QColor(60, 82, 44), QColor(132, 152, 96), rng.Unit()));
            p.save();
            p.translate(leaf);
            p.rotate(rng.Range(-40, 40) + (rng.Below(2) ? 60 : -60));
            p.drawEllipse(QPointF(7, 0), 8, 2.2);
            p.restore();
        }
    }
}

void DrawAlpineLake(QImage& photo) {
    QSize size = photo.size();
    double w = size.width(), h = size.height(), shore = h * 0.64;
    QPainter p(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    FillGradient(
        p, QRectF(0, 0, w, shore + 2),
        {{0, QColor(52, 104, 170)}, {0.6, QColor(126, 168, 212)}, {1, QColor(196, 214, 230)}});
    DrawClouds(p, size, h * 0.02, h * 0.36, 0.45, QColor(250, 250, 252), QColor(150, 164, 186), 8,
               330);
    Ridge peaks(h * 0.52, h * 0.2, 300, 61, true);
    peaks.Lift(w * 0.62, w * 0.16, h * 0.2).Lift(w * 0.2, w * 0.1, h * 0.1);
    DrawMountain(p, peaks, w, shore + 4,
                 {.Rock = QColor(104, 100, 106),
                  .SnowDepth = h * 0.1,
                  .ForestDepth = h * 0.3,
                  .Haze = QColor(170, 190, 215),
                  .HazeAmount = 0.28},
                 62);
    DrawClouds(p, size, h * 0.38, h * 0.5, 0.3, QColor(236, 240, 246), QColor(170, 184, 204), 9,
               200);
    Ridge slopes(shore, h * 0.06, 200, 63, false);
    DrawMountain(p, slopes, w, shore + 4,
                 {.Rock = QColor(90, 96, 84),
                  .Forest = QColor(40, 64, 50),
                  .ForestDepth = 0,
                  .Haze = QColor(150, 172, 190),
                  .HazeAmount = 0.08},
                 64);
    // Pines on the near shore, the farther ones paler.
    Rng rng(65);
    for (int row = 0; row < 3; ++row) {
        QColor green = Mix(QColor(24, 48, 36), QColor(120, 150, 160), 0.35 - row * 0.15);
        for (double x = -20; x < w + 20; x += rng.Range(10, 26) + row * 6) {
            if (Fractal(x / 300, row, 66, 2) < 0.42)
                continue;
            double height = h * rng.Range(0.06, 0.12) * (1 + row * 0.4);
            DrawPine(p, QPointF(x, shore + 3 + row * 2), height, green, rng);
        }
    }
    p.end();
    Reflect(photo, {.Waterline = static_cast<int>(shore + 3),
                    .Ripple = 4,
                    .Wavelength = 5,
                    .Tint = QColor(30, 70, 80),
                    .TintNear = 0.2,
                    .TintFar = 0.55,
                    .Seed = 7});
    p.begin(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    // A pale line where the water meets the shore.
    p.fillRect(QRectF(0, shore + 3, w, 1.5), QColor(220, 230, 235, 90));
    // Rocks and grass in the near corner.
    QPolygonF rocks;
    rocks << QPointF(-10, h) << QPointF(-10, h * 0.86);
    for (double x = 0; x <= w * 0.38; x += 6)
        rocks << QPointF(x, h * 0.86 + std::pow(x / (w * 0.38), 2) * h * 0.16 -
                                Fractal(x / 40, 0, 70, 4) * h * 0.05);
    rocks << QPointF(w * 0.4, h);
    FillTextured(p, rocks, QColor(60, 66, 44), 0.3, 12, 71);
    for (int i = 0; i < 900; ++i) {
        double x = rng.Range(-10, w * 0.36), y = h * 0.87 + rng.Range(0, h * 0.14);
        if (y < h * 0.86 + std::pow(std::max(0.0, x) / (w * 0.38), 2) * h * 0.16)
            continue;
        double len = rng.Range(15, 45);
        p.setPen(QPen(Mix(QColor(50, 70, 30), QColor(170, 166, 90), rng.Unit()), 1.6));
        p.drawLine(QPointF(x, y), QPointF(x + rng.Range(-12, 12), y - len));
    }
}

}  // namespace pagora::sample
