#include "Elements.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "PhotoEffects.h"

namespace pagora::sample {

void FillGradient(QPainter& painter, const QRectF& rect,
                  const std::vector<std::pair<double, QColor>>& stops) {
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    for (const auto& [at, colour] : stops)
        g.setColorAt(at, colour);
    painter.fillRect(rect, g);
}

void DrawGlow(QPainter& painter, QPointF centre, double radius, QColor colour) {
    QRadialGradient g(centre, radius);
    QColor clear = colour;
    clear.setAlpha(0);
    g.setColorAt(0, colour);
    QColor mid = colour;
    mid.setAlphaF(colour.alphaF() * 0.35);
    g.setColorAt(0.3, mid);
    QColor low = colour;
    low.setAlphaF(colour.alphaF() * 0.08);
    g.setColorAt(0.65, low);
    g.setColorAt(1, clear);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(g);
    painter.drawEllipse(centre, radius, radius);
    painter.restore();
}

Ridge::Ridge(double base, double amplitude, double scale, uint32_t seed, bool sharp, int octaves)
    : base_(base),
      amplitude_(amplitude),
      scale_(scale),
      seed_(seed),
      sharp_(sharp),
      octaves_(octaves) {}

double Ridge::Top(double x) const {
    double sum = 0, weight = 1, total = 0, f = 1 / scale_;
    for (int i = 0; i < octaves_; ++i) {
        double v = ValueNoise(x * f, 0.37 * i, seed_ + 31 * i);
        if (sharp_)
            v = 1 - std::abs(2 * v - 1);
        sum += weight * v;
        total += weight;
        weight *= sharp_ ? 0.47 : 0.42;
        f *= 2.03;
    }
    double lift = 0;
    for (const Bump& b : bumps_)
        lift += b.Height * std::exp(-std::pow((x - b.Centre) / b.Spread, 2));
    return base_ - amplitude_ * sum / total - lift;
}

Ridge& Ridge::Lift(double centre, double spread, double height) {
    bumps_.push_back({centre, spread, height});
    return *this;
}

QPolygonF Ridge::Shape(double width, double bottom, double step) const {
    QPolygonF shape;
    shape << QPointF(-step, bottom);
    for (double x = -step; x <= width + step; x += step)
        shape << QPointF(x, Top(x));
    shape << QPointF(width + step, bottom);
    return shape;
}

void DrawPine(QPainter& painter, QPointF foot, double height, QColor colour, Rng& rng,
              QColor snow) {
    painter.save();
    painter.setPen(Qt::NoPen);
    double trunk = height * 0.025 + 1;
    painter.setBrush(colour.darker(140));
    painter.drawRect(QRectF(foot.x() - trunk / 2, foot.y() - height * 0.2, trunk, height * 0.2));
    int tiers = 5 + rng.Below(4);
    double width = height * rng.Range(0.32, 0.42);
    for (int t = 0; t < tiers; ++t) {
        double low = foot.y() - height * (0.1 + 0.85 * t / tiers);
        double high = foot.y() - height * (0.1 + 0.85 * (t + 1.6) / tiers);
        if (t == tiers - 1)
            high = foot.y() - height;
        double half = width / 2 * (1 - 0.85 * t / tiers);
        QPolygonF tier;
        int teeth = 7;
        tier << QPointF(foot.x(), high);
        for (int k = 0; k <= teeth; ++k) {
            double u = double(k) / teeth;
            double x = foot.x() + half * (u * 2 - 1) + rng.Range(-0.08, 0.08) * half;
            double droop = std::sin(u * 3.1416) * -0.12 + (k % 2) * 0.1;
            tier << QPointF(x, low + droop * (low - high) * 0.4);
            if (k == 0)
                tier.insert(1, QPointF(x + half * 0.3, low - (low - high) * 0.45));
        }
        tier << QPointF(foot.x() + half * 0.7, low - (low - high) * 0.45);
        painter.setBrush(colour);
        painter.drawPolygon(tier);
        // The shaded half, away from the light on the left.
        QPolygonF shade;
        shade << QPointF(foot.x(), high);
        for (int i = 1; i < tier.size(); ++i)
            if (tier[i].x() > foot.x() + half * 0.1)
                shade << tier[i];
        shade << QPointF(foot.x() + half * 0.05, low);
        painter.setBrush(colour.darker(130));
        painter.drawPolygon(shade);
        if (snow.alpha() > 0) {
            painter.setBrush(snow);
            QPolygonF cap;
            cap << QPointF(foot.x(), high)
                << QPointF(foot.x() - half * 0.55, low - (low - high) * 0.35)
                << QPointF(foot.x() - half * 0.2, low - (low - high) * 0.5)
                << QPointF(foot.x() + half * 0.3, low - (low - high) * 0.42)
                << QPointF(foot.x() + half * 0.15, low - (low - high) * 0.65);
            painter.drawPolygon(cap);
        }
    }
    painter.restore();
}

void DrawLeafyTree(QPainter& painter, QPointF foot, double height, QColor leaves, QColor light,
                   Rng& rng) {
    painter.save();
    painter.setPen(Qt::NoPen);
    QColor bark(70, 52, 40);
    double trunk = height * 0.06;
    QPainterPath stem;
    stem.moveTo(foot.x() - trunk, foot.y());
    stem.cubicTo(foot.x() - trunk * 0.4, foot.y() - height * 0.3, foot.x() - trunk * 0.6,
                 foot.y() - height * 0.5, foot.x() - trunk * 0.2, foot.y() - height * 0.65);
    stem.lineTo(foot.x() + trunk * 0.2, foot.y() - height * 0.65);
    stem.cubicTo(foot.x() + trunk * 0.5, foot.y() - height * 0.5, foot.x() + trunk * 0.4,
                 foot.y() - height * 0.3, foot.x() + trunk, foot.y());
    painter.setBrush(bark);
    painter.drawPath(stem);
    QPointF crown(foot.x(), foot.y() - height * 0.62);
    double rx = height * 0.38, ry = height * 0.33;
    for (int layer = 0; layer < 3; ++layer) {
        int clumps = 90 + 40 * layer;
        for (int i = 0; i < clumps; ++i) {
            double a = rng.Range(0, 6.283), r = std::sqrt(rng.Unit()) * (1 - 0.25 * layer);
            QPointF c(crown.x() + std::cos(a) * rx * r, crown.y() + std::sin(a) * ry * r);
            // Clumps on the upper left catch the light.
            double lit = std::clamp(0.5 - (c.x() - crown.x()) / rx * 0.35 -
                                        (c.y() - crown.y()) / ry * 0.45 + 0.2 * layer,
                                    0.0, 1.0);
            double size = height * rng.Range(0.035, 0.06);
            QRadialGradient g(c - QPointF(size * 0.3, size * 0.35), size * 1.2);
            g.setColorAt(0, Mix(leaves, light, lit));
            g.setColorAt(1, Mix(leaves.darker(150), leaves, lit * 0.6));
            painter.setBrush(g);
            painter.drawEllipse(c, size, size * 0.85);
        }
    }
    painter.restore();
}

void DrawClouds(QPainter& painter, QSize full, double top, double bottom, double coverage,
                QColor light, QColor shade, uint32_t seed, double scale) {
    auto density = [&](double x, double y) {
        return Fractal(x / scale, y / (scale * 0.4), seed, 6, 0.52);
    };
    QImage layer = ComputeLayer(full, 4, [&](double x, double y) -> QColor {
        if (y < top || y > bottom)
            return Qt::transparent;
        double band = std::min((y - top) / (bottom - top) * 4, (bottom - y) / (bottom - top) * 2.5);
        double d = density(x, y) - (1 - coverage) * 0.7 - 0.15;
        double a = std::clamp(d * 4.5, 0.0, 1.0) * std::clamp(band, 0.0, 1.0);
        if (a <= 0)
            return Qt::transparent;
        double above = density(x - 6, y - 14);
        QColor c = Mix(light, shade, std::clamp(0.45 + (density(x, y) - above) * 9, 0.0, 1.0));
        c.setAlphaF(a);
        return c;
    });
    DrawLayer(painter, layer, full);
}

void DrawStars(QPainter& painter, QSize full, double bottom, int count, Rng& rng) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        QPointF at(rng.Range(0, full.width()), rng.Range(0, bottom));
        double bright = std::pow(rng.Unit(), 3.0);
        double fade = std::clamp((bottom - at.y()) / (bottom * 0.25), 0.15, 1.0);
        QColor c = Mix(QColor(255, 225, 200), QColor(200, 215, 255), rng.Unit());
        c.setAlphaF(std::clamp((0.25 + 0.75 * bright) * fade, 0.0, 1.0));
        double r = 0.55 + bright * 1.1;
        if (bright > 0.7)
            DrawGlow(painter, at, r * 6, QColor(c.red(), c.green(), c.blue(), 70));
        painter.setBrush(c);
        painter.drawEllipse(at, r, r);
    }
    painter.restore();
}

}  // namespace pagora::sample

namespace pagora::sample {

void DrawMountain(QPainter& painter, const Ridge& ridge, double width, double bottom,
                  const MountainLook& look, uint32_t seed) {
    const int shrink = 2;
    QPolygonF shape = ridge.Shape(width, bottom, 2);
    QRect area = shape.boundingRect().toAlignedRect().intersected(
        QRect(0, 0, static_cast<int>(width), static_cast<int>(bottom) + 2));
    std::vector<double> tops(area.width() + 200);
    for (size_t i = 0; i < tops.size(); ++i)
        tops[i] = ridge.Top(area.x() + static_cast<double>(i) - 100);
    auto top = [&](double x) {
        int i =
            std::clamp(static_cast<int>(x) - area.x() + 100, 0, static_cast<int>(tops.size()) - 1);
        return tops[i];
    };
    QImage layer = ComputeLayer(area, shrink, [&](double x, double y) -> QColor {
        double d = y - top(x);
        if (d < -2)
            return Qt::transparent;
        double r = 3 + std::min(d * 0.4, 90.0);
        double slope = (top(x + r) - top(x - r)) / (2 * r);
        double gully = Fractal(x / 16 + d / 70, d / 220, seed, 4);
        double light = std::clamp(0.5 - slope * 3.2 + (gully - 0.5) * 0.6, 0.0, 1.0);
        double patch = Fractal(x / 90, y / 70, seed + 9, 4);
        double grain = Fractal(x / 4, y / 4, seed + 5, 2);
        double crack = Fractal(x / 9 + d / 40, y / 30, seed + 7, 3);
        QColor c = Mix(look.Rock.darker(230), look.Rock.lighter(150),
                       std::clamp(light * 0.75 + grain * 0.15 + (crack - 0.5) * 0.5, 0.0, 1.0));
        if (d > look.ForestDepth * (0.85 + 0.3 * patch) - 20) {
            double tree = Fractal(x / 5, y / 7, seed + 3, 3);
            QColor wood =
                Mix(look.Forest.darker(170), look.Forest.lighter(125), light * 0.6 + tree * 0.4);
            c = Mix(c, wood, (d - look.ForestDepth * (0.85 + 0.3 * patch) + 20) / 20);
        }
        // Snow lies near the top and runs down the gullies.
        double reach = look.SnowDepth * (0.55 + 0.9 * patch) * (0.6 + gully * 0.8);
        reach = std::max(reach, look.SnowDepth * 2.4 * std::clamp((gully - 0.6) * 5, 0.0, 1.0));
        double snow = std::clamp((reach - d) / 6, 0.0, 1.0);
        if (snow > 0)
            c = Mix(c, Mix(QColor(128, 146, 184), look.Snow, light * light * 0.8 + 0.2), snow);
        c = Mix(c, look.Haze, look.HazeAmount);
        if (d < 0)
            c.setAlphaF(std::clamp((d + 2) / 2, 0.0, 1.0));
        return c;
    });
    DrawLayerInside(painter, layer, QRectF(area), shape);
}

}  // namespace pagora::sample
