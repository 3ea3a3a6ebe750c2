#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "Elements.h"
#include "PhotoEffects.h"
#include "Scenes.h"

namespace pagora::sample {

namespace {

constexpr double kGoldenAngle = 2.39996323;

// A sunflower head of the given radius facing the viewer, turned by `tilt` degrees
// and foreshortened by `squash` (1 = face on).
void DrawSunflower(QPainter& p, QPointF centre, double r, double tilt, double squash, Rng& rng) {
    p.save();
    p.translate(centre);
    p.rotate(tilt);
    p.scale(1, squash);
    p.setPen(Qt::NoPen);
    for (int ring = 0; ring < 2; ++ring) {
        int petals = 22;
        for (int i = 0; i < petals; ++i) {
            double angle = 360.0 * (i + 0.5 * ring) / petals + rng.Range(-4, 4);
            double len = r * (ring ? 0.95 : 1.05) * rng.Range(0.9, 1.08);
            p.save();
            p.rotate(angle);
            QPainterPath petal;
            petal.moveTo(r * 0.42, -r * 0.08);
            petal.cubicTo(r * 0.42 + len * 0.4, -r * 0.2, r * 0.42 + len * 0.8, -r * 0.12,
                          r * 0.42 + len, rng.Range(-r * 0.04, r * 0.04));
            petal.cubicTo(r * 0.42 + len * 0.8, r * 0.12, r * 0.42 + len * 0.4, r * 0.2, r * 0.42,
                          r * 0.08);
            QLinearGradient g(r * 0.4, 0, r * 0.42 + len, 0);
            QColor base = ring ? QColor(236, 170, 20) : QColor(214, 140, 14);
            g.setColorAt(0, base.darker(150));
            g.setColorAt(0.35, base);
            g.setColorAt(1, base.lighter(ring ? 125 : 112));
            p.setBrush(g);
            p.drawPath(petal);
            p.setPen(QPen(QColor(180, 110, 10, 90), 1));
            p.drawLine(QPointF(r * 0.45, 0), QPointF(r * 0.42 + len * 0.85, 0));
            p.setPen(Qt::NoPen);
            p.restore();
        }
    }
    QRadialGradient disk(QPointF(0, 0), r * 0.5);
    disk.setColorAt(0, QColor(70, 50, 20));
    disk.setColorAt(0.7, QColor(60, 34, 14));
    disk.setColorAt(1, QColor(90, 56, 20));
    p.setBrush(disk);
    p.drawEllipse(QPointF(0, 0), r * 0.5, r * 0.5);
    int seeds = static_cast<int>(r * 3.2);
    for (int i = 0; i < seeds; ++i) {
        double rr = r * 0.48 * std::sqrt((i + 0.5) / seeds);
        QPointF at(std::cos(i * kGoldenAngle) * rr, std::sin(i * kGoldenAngle) * rr);
        double s = 0.8 + r * 0.012 * (0.4 + rr / r);
        // Light from the upper left on each seed.
        p.setBrush(i % 3 ? QColor(40, 24, 10) : QColor(110, 80, 30));
        p.drawEllipse(at, s, s);
        p.setBrush(QColor(160, 120, 50, 90));
        p.drawEllipse(at + QPointF(-s * 0.3, -s * 0.3), s * 0.4, s * 0.4);
    }
    p.restore();
}

void DrawBroadLeaf(QPainter& p, QPointF base, double length, double angle, QColor colour) {
    p.save();
    p.translate(base);
    p.rotate(angle);
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.cubicTo(length * 0.25, -length * 0.45, length * 0.8, -length * 0.35, length, 0);
    leaf.cubicTo(length * 0.8, length * 0.3, length * 0.3, length * 0.35, 0, 0);
    QLinearGradient g(0, -length * 0.3, 0, length * 0.3);
    g.setColorAt(0, colour.lighter(130));
    g.setColorAt(1, colour.darker(150));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(leaf);
    p.setPen(QPen(colour.lighter(150), 2));
    p.drawLine(QPointF(0, 0), QPointF(length * 0.9, 0));
    for (int i = 1; i < 6; ++i) {
        double x = length * i / 7.0;
        p.drawLine(QPointF(x, 0), QPointF(x + length * 0.12, -length * 0.17));
        p.drawLine(QPointF(x, 0), QPointF(x + length * 0.12, length * 0.15));
    }
    p.restore();
}

// A lotus flower: rings of pointed petals, white at the base and pink at the tips.
void DrawLotus(QPainter& p, QPointF centre, double r, Rng& rng) {
    p.save();
    p.translate(centre);
    p.setPen(Qt::NoPen);
    struct Ring {
        int petals;
        double spread, length, lift;
    };
    const Ring rings[] = {{7, 70, 1.0, 0.0}, {6, 45, 1.0, 0.1}, {4, 22, 0.9, 0.2}};
    for (const Ring& ring : rings) {
        for (int i = 0; i < ring.petals; ++i) {
            double a = -90 + ring.spread * ((i + 0.5) / ring.petals * 2 - 1) + rng.Range(-5, 5);
            p.save();
            p.translate(0, -r * ring.lift);
            p.rotate(a + 90);
            double len = r * ring.length * rng.Range(0.9, 1.05);
            QPainterPath petal;
            petal.moveTo(0, 0);
            petal.cubicTo(-len * 0.42, -len * 0.25, -len * 0.3, -len * 0.8, 0, -len);
            petal.cubicTo(len * 0.3, -len * 0.8, len * 0.42, -len * 0.25, 0, 0);
            QLinearGradient g(0, 0, 0, -len);
            g.setColorAt(0, QColor(250, 240, 226));
            g.setColorAt(0.55, QColor(246, 196, 208));
            g.setColorAt(1, QColor(222, 88, 130));
            p.setBrush(g);
            p.drawPath(petal);
            p.setPen(QPen(QColor(220, 120, 150, 70), 1.2));
            for (int v = -1; v <= 1; ++v)
                p.drawLine(QPointF(v * len * 0.05, -len * 0.1),
                           QPointF(v * len * 0.12, -len * 0.85));
            p.setPen(Qt::NoPen);
            p.restore();
        }
    }
    p.setBrush(QColor(236, 200, 80));
    p.drawEllipse(QPointF(0, -r * 0.25), r * 0.18, r * 0.08);
    p.restore();
}

// A lily pad seen at a low angle, with its notch and veins.
void DrawPad(QPainter& p, QPointF centre, double r, double squash, double turn, Rng& rng) {
    p.save();
    p.translate(centre);
    p.scale(1, squash);
    p.rotate(turn);
    QPainterPath pad;
    pad.moveTo(0, 0);
    pad.arcTo(QRectF(-r, -r, 2 * r, 2 * r), 12, 336);
    pad.closeSubpath();
    QRadialGradient g(QPointF(-r * 0.2, -r * 0.2), r * 1.2);
    QColor green = Mix(QColor(50, 110, 50), QColor(100, 150, 60), rng.Unit());
    g.setColorAt(0, green.lighter(125));
    g.setColorAt(0.8, green);
    g.setColorAt(1, green.darker(160));
    p.setPen(QPen(green.darker(170), 2 / squash));
    p.setBrush(g);
    p.drawPath(pad);
    p.setPen(QPen(QColor(170, 200, 110, 110), 1.5));
    for (int i = 0; i < 14; ++i) {
        double a = (20 + i * 24) * 3.14159 / 180;
        p.drawLine(QPointF(0, 0), QPointF(std::cos(a) * r * 0.9, -std::sin(a) * r * 0.9));
    }
    p.restore();
}

}  // namespace

void DrawSunflowers(QImage& photo) {
    QSize size = photo.size();
    double w = size.width(), h = size.height(), horizon = h * 0.5;
    QPainter p(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    FillGradient(
        p, QRectF(0, 0, w, horizon + 2),
        {{0, QColor(40, 110, 190)}, {0.7, QColor(120, 180, 230)}, {1, QColor(200, 226, 240)}});
    DrawClouds(p, size, h * 0.03, horizon * 0.85, 0.45, QColor(255, 255, 255),
               QColor(160, 176, 200), 71, 280);
    Ridge hills(horizon, h * 0.03, 200, 72, false, 5);
    DrawMountain(p, hills, w, horizon + 4,
                 {.Forest = QColor(70, 110, 70),
                  .ForestDepth = 0,
                  .Haze = QColor(160, 190, 210),
                  .HazeAmount = 0.5},
                 73);
    // The field: rows of small heads toward the horizon.
    FillGradient(p, QRectF(0, horizon, w, h - horizon),
                 {{0, QColor(80, 110, 40)}, {1, QColor(30, 60, 20)}});
    Rng rng(74);
    for (int row = 0; row < 60; ++row) {
        double t = std::pow(row / 60.0, 1.8);
        double y = horizon + 4 + t * (h * 0.45);
        double r = 2 + t * 30;
        for (double x = rng.Range(-r, r); x < w + r; x += r * rng.Range(2.2, 3.4)) {
            QPointF c(x, y + rng.Range(-r, r) * 0.4);
            p.setPen(Qt::NoPen);
            p.setBrush(Mix(QColor(30, 64, 24), QColor(70, 110, 40), rng.Unit()));
            p.drawEllipse(c + QPointF(rng.Range(-r, r), r * 1.2), r * 1.6, r * 0.9);
            if (rng.Unit() < 0.35)
                continue;
            p.setBrush(Mix(QColor(220, 150, 20), QColor(250, 196, 40), rng.Unit()));
            p.drawEllipse(c, r * 0.8, r * 0.62);
            p.setBrush(QColor(70, 44, 16));
            p.drawEllipse(c, r * 0.32, r * 0.26);
        }
    }
    // The field and the sky out of focus behind the big flowers.
    p.end();
    Blur(photo, 6);
    photo = photo.convertToFormat(QImage::Format_RGB32);
    p.begin(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    // Three big flowers near the camera.
    DrawBroadLeaf(p, QPointF(w * 0.2, h * 0.95), w * 0.3, -50, QColor(60, 110, 40));
    DrawBroadLeaf(p, QPointF(w * 0.7, h * 0.9), w * 0.28, -150, QColor(56, 100, 36));
    p.setPen(QPen(QColor(80, 120, 50), w * 0.02, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(w * 0.36, h * 0.48), QPointF(w * 0.4, h));
    p.drawLine(QPointF(w * 0.72, h * 0.58), QPointF(w * 0.66, h));
    p.drawLine(QPointF(w * 0.16, h * 0.7), QPointF(w * 0.2, h));
    DrawBroadLeaf(p, QPointF(w * 0.39, h * 0.7), w * 0.24, -20, QColor(64, 116, 42));
    DrawBroadLeaf(p, QPointF(w * 0.67, h * 0.78), w * 0.2, 200, QColor(60, 110, 40));
    DrawSunflower(p, QPointF(w * 0.16, h * 0.68), w * 0.13, 10, 0.8, rng);
    DrawSunflower(p, QPointF(w * 0.72, h * 0.56), w * 0.16, -12, 0.9, rng);
    DrawSunflower(p, QPointF(w * 0.36, h * 0.44), w * 0.2, 5, 0.95, rng);
}

void DrawLotusPond(QImage& photo) {
    QSize size = photo.size();
    double w = size.width(), h = size.height();
    QPainter p(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    QImage water = ComputeLayer(size, 4, [&](double x, double y) {
        double n = Fractal(x / 300, y / 60, 81, 5);
        double sky = std::clamp(1 - y / h * 1.2, 0.0, 1.0);
        return Mix(Mix(QColor(18, 44, 46), QColor(60, 100, 100), n * 0.8), QColor(170, 200, 200),
                   sky * 0.5 * n);
    });
    DrawLayer(p, water, size);
    Rng rng(82);
    // Pads from far (small, flat) to near (large).
    for (int i = 0; i < 48; ++i) {
        if (i == 20) {
            // The far half out of focus, as under a long lens.
            p.end();
            Blur(photo, 5);
            photo = photo.convertToFormat(QImage::Format_RGB32);
            p.begin(&photo);
            p.setRenderHint(QPainter::Antialiasing);
        }
        double t = (i + rng.Unit()) / 48;
        double y = h * (0.05 + 0.95 * t), r = w * (0.05 + 0.16 * t), x = rng.Range(-0.1, 1.1) * w;
        DrawSoft(p, size, 8, static_cast<int>(r * 0.3), [&](QPainter& s) {
            s.setBrush(QColor(0, 10, 10, 110));
            s.drawEllipse(QPointF(x + r * 0.1, y + r * 0.12), r, r * (0.3 + 0.2 * t));
        });
        DrawPad(p, QPointF(x, y), r, 0.3 + 0.2 * t, rng.Range(0, 360), rng);
    }
    // Flowers on their stems, with ripples where the stems enter the water.
    struct Bloom {
        double x, y, r;
    };
    const Bloom blooms[] = {{0.3, 0.33, 0.12}, {0.68, 0.5, 0.16}, {0.42, 0.72, 0.2}};
    for (const Bloom& b : blooms) {
        QPointF head(w * b.x, h * b.y), foot(w * b.x + 8, h * b.y + w * b.r * 1.4);
        p.setPen(QPen(QColor(220, 240, 240, 70), 2));
        p.setBrush(Qt::NoBrush);
        for (int k = 1; k <= 3; ++k)
            p.drawEllipse(foot, w * b.r * 0.3 * k, w * b.r * 0.08 * k);
        p.setPen(QPen(QColor(80, 120, 60), w * b.r * 0.08, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(head + QPointF(0, 10), foot);
        DrawLotus(p, head, w * b.r, rng);
    }
    // A bud about to open.
    QPointF bud(w * 0.8, h * 0.24);
    p.setPen(QPen(QColor(80, 120, 60), 8));
    p.drawLine(bud, bud + QPointF(-6, h * 0.13));
    QPainterPath shape;
    shape.moveTo(bud + QPointF(0, -w * 0.09));
    shape.cubicTo(bud + QPointF(w * 0.05, -w * 0.04), bud + QPointF(w * 0.04, w * 0.02), bud);
    shape.cubicTo(bud + QPointF(-w * 0.04, w * 0.02), bud + QPointF(-w * 0.05, -w * 0.04),
                  bud + QPointF(0, -w * 0.09));
    QLinearGradient g(bud, bud + QPointF(0, -w * 0.09));
    g.setColorAt(0, QColor(240, 200, 200));
    g.setColorAt(1, QColor(214, 70, 120));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(shape);
}

void DrawBambooGrove(QImage& photo) {
    QSize size = photo.size();
    double w = size.width(), h = size.height();
    QPainter p(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    FillGradient(
        p, QRectF(0, 0, w, h),
        {{0, QColor(210, 226, 200)}, {0.6, QColor(150, 180, 130)}, {1, QColor(70, 90, 50)}});
    Rng rng(91);
    for (int depth = 0; depth < 4; ++depth) {
        double near = depth / 3.0;
        int stalks = 16 - depth * 3;
        for (int i = 0; i < stalks; ++i) {
            double x = rng.Range(-0.05, 1.05) * w, sw = 8 + 30 * near * rng.Range(0.7, 1.2);
            double lean = rng.Range(-0.03, 0.03) * h;
            QColor green =
                Mix(QColor(168, 190, 150), Mix(QColor(90, 130, 50), QColor(40, 70, 30), rng.Unit()),
                    0.35 + 0.65 * near);
            QPainterPath stalk;
            stalk.moveTo(x - sw / 2, h + 5);
            stalk.lineTo(x + lean - sw / 2, -5);
            stalk.lineTo(x + lean + sw / 2, -5);
            stalk.lineTo(x + sw / 2, h + 5);
            stalk.closeSubpath();
            QLinearGradient g(x - sw / 2, 0, x + sw / 2, 0);
            g.setColorAt(0, green.darker(130));
            g.setColorAt(0.3, green.lighter(130));
            g.setColorAt(1, green.darker(170));
            p.setPen(Qt::NoPen);
            p.setBrush(g);
            p.drawPath(stalk);
            // Nodes: a pale ring with a shadow beneath.
            for (double y = rng.Range(0, h * 0.15); y < h; y += h * (0.1 + 0.05 * near)) {
                double xx = x + lean * (1 - y / h);
                p.fillRect(QRectF(xx - sw / 2, y, sw, 2 + near * 2), green.lighter(150));
                p.fillRect(QRectF(xx - sw / 2, y + 2 + near * 2, sw, 2 + near * 3),
                           green.darker(150));
            }
            // Sprays of narrow leaves from some of the nodes.
            int sprays = 2 + rng.Below(3);
            for (int s = 0; s < sprays; ++s) {
                double y = rng.Range(0.02, 0.6) * h, xx = x + lean * (1 - y / h);
                double side = rng.Below(2) ? 1 : -1;
                for (int k = 0; k < 6; ++k) {
                    double len = (40 + 90 * near) * rng.Range(0.7, 1.2);
                    double a = side * rng.Range(10, 70) + (side > 0 ? 0 : 180);
                    p.save();
                    p.translate(xx, y + k * 6);
                    p.rotate(a + rng.Range(10, 30) * side);
                    QPainterPath leaf;
                    leaf.moveTo(0, 0);
                    leaf.quadTo(len * 0.5, -len * 0.1, len, len * 0.05);
                    leaf.quadTo(len * 0.5, len * 0.12, 0, 0);
                    p.setBrush(Mix(green.lighter(115), QColor(180, 200, 120), rng.Unit() * 0.4));
                    p.drawPath(leaf);
                    p.restore();
                }
            }
        }
        // Mist between the rows.
        QLinearGradient mist(0, 0, 0, h);
        mist.setColorAt(0, QColor(230, 240, 220, 110 - depth * 25));
        mist.setColorAt(0.7, QColor(230, 240, 220, 60 - depth * 15));
        mist.setColorAt(1, QColor(230, 240, 220, 0));
        p.fillRect(QRectF(0, 0, w, h), mist);
    }
    // Shafts of morning light from the upper right.
    for (int i = 0; i < 5; ++i) {
        double x = w * rng.Range(0.3, 1.2), spread = w * rng.Range(0.04, 0.1);
        QPolygonF beam;
        beam << QPointF(x, -10) << QPointF(x + spread, -10) << QPointF(x + spread * 3 - w * 0.6, h)
             << QPointF(x - w * 0.6, h);
        QLinearGradient g(0, 0, 0, h);
        g.setColorAt(0, QColor(255, 250, 220, 70));
        g.setColorAt(1, QColor(255, 250, 220, 0));
        p.setBrush(g);
        p.drawPolygon(beam);
    }
}

}  // namespace pagora::sample
