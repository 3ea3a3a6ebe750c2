#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "Elements.h"
#include "PhotoEffects.h"
#include "Scenes.h"

namespace pagora::sample {

namespace {

// A round body lit from the upper left, with a bounce of light from the table
// below and a sharp glint where the window shows in it.
void DrawRound(QPainter& p, QPointF c, double rx, double ry, QColor base, double gloss = 1) {
    QRadialGradient g(c, std::max(rx, ry) * 1.05, c + QPointF(-rx * 0.4, -ry * 0.45));
    g.setColorAt(0, base.lighter(150));
    g.setColorAt(0.45, base);
    g.setColorAt(0.85, base.darker(190));
    g.setColorAt(1, base.darker(260));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, rx, ry);
    QRadialGradient bounce(c + QPointF(rx * 0.2, ry * 0.9), rx * 0.7);
    QColor warm = base.lighter(120);
    warm.setAlpha(70);
    bounce.setColorAt(0, warm);
    bounce.setColorAt(1, QColor(0, 0, 0, 0));
    p.setBrush(bounce);
    p.drawEllipse(c, rx, ry);
    if (gloss > 0) {
        DrawGlow(p, c + QPointF(-rx * 0.38, -ry * 0.42), rx * 0.35,
                 QColor(255, 255, 255, static_cast<int>(120 * gloss)));
        p.setBrush(QColor(255, 255, 255, static_cast<int>(150 * gloss)));
        p.drawEllipse(c + QPointF(-rx * 0.36, -ry * 0.44), rx * 0.09, ry * 0.06);
    }
}

void DrawApple(QPainter& p, QPointF c, double r, QColor skin) {
    DrawRound(p, c, r, r * 0.92, skin, 0.8);
    // Streaks of the skin and the dimple with its stem.
    p.setPen(QPen(QColor(255, 220, 120, 16), r * 0.03));
    for (int i = -3; i <= 3; ++i)
        p.drawArc(QRectF(c.x() - r * (0.3 + 0.12 * std::abs(i)), c.y() - r * 0.8,
                         r * (0.6 + 0.24 * std::abs(i)), r * 1.6),
                  i < 0 ? 100 * 16 : -80 * 16, 160 * 16);
    p.setPen(QPen(QColor(70, 50, 30), r * 0.07, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(0, -r * 0.72), c + QPointF(r * 0.1, -r * 1.1));
    p.setPen(Qt::NoPen);
}

void DrawTableWood(QPainter& p, QSize size, double top) {
    double w = size.width(), h = size.height();
    QImage wood =
        ComputeLayer(QRect(0, static_cast<int>(top), w, h - top), 2, [&](double x, double y) {
            double depth = (y - top) / (h - top);
            double ring = Fractal(x / 500, y / (8 + 30 * depth), 51, 4) * 14;
            double grain = ring - std::floor(ring);
            double n = Fractal(x / 40, y / 3, 52, 3);
            QColor c = Mix(QColor(120, 70, 38), QColor(84, 46, 24), grain * 0.7 + n * 0.3);
            return Mix(c, QColor(40, 22, 12), depth * 0.5);
        });
    DrawLayer(p, wood, QRectF(0, top, w, h - top));
    // The table's far edge catches the light.
    QLinearGradient edge(0, top, 0, top + 6);
    edge.setColorAt(0, QColor(255, 220, 170, 90));
    edge.setColorAt(1, QColor(255, 220, 170, 0));
    p.fillRect(QRectF(0, top, w, 6), edge);
}

void DrawWall(QPainter& p, QSize size, double bottom, QColor light, QColor dark, uint32_t seed) {
    double w = size.width();
    QImage wall = ComputeLayer(QRect(0, 0, w, bottom), 4, [&](double x, double y) {
        // Window light falls from the upper left.
        double lit =
            std::clamp(1.1 - std::hypot(x - w * 0.15, y + bottom * 0.2) / (w * 0.9), 0.0, 1.0);
        double n = Fractal(x / 90, y / 90, seed, 4);
        return Mix(dark, light, lit * 0.9 + (n - 0.5) * 0.12);
    });
    DrawLayer(p, wall, QRectF(0, 0, w, bottom));
}

void DrawOrange(QPainter& p, QPointF c, double r) {
    DrawRound(p, c, r, r * 0.96, QColor(236, 124, 24), 0.6);
    p.setBrush(QColor(90, 90, 40));
    p.drawEllipse(c + QPointF(r * 0.1, -r * 0.8), r * 0.06, r * 0.04);
}

void DrawGrapes(QPainter& p, QPointF top, double r, Rng& rng) {
    for (int row = 0; row < 6; ++row)
        for (int k = 0; k < 6 - row; ++k) {
            QPointF c(top.x() + (k - (5 - row) / 2.0) * r * 1.7 + rng.Range(-r * 0.2, r * 0.2),
                      top.y() + row * r * 1.45 + rng.Range(-r * 0.2, r * 0.2));
            DrawRound(p, c, r, r * 1.08, QColor(88, 38, 84), 0.9);
        }
}

}  // namespace

void DrawFruitBowl(QImage& photo) {
    QSize size = photo.size();
    double w = size.width(), h = size.height(), table = h * 0.56;
    QPainter p(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    DrawWall(p, size, table + 1, QColor(214, 190, 156), QColor(70, 52, 44), 53);
    DrawTableWood(p, size, table);
    QPointF bowl(w * 0.47, h * 0.7);
    double bw = w * 0.27, bh = h * 0.055;
    // Shadows first, long and soft toward the right.
    DrawSoft(p, size, 4, 40, [&](QPainter& s) {
        s.setBrush(QColor(20, 10, 5, 190));
        s.drawEllipse(QPointF(bowl.x() + bw * 0.35, bowl.y() + h * 0.17), bw * 1.05, bh * 1.6);
        s.drawEllipse(QPointF(w * 0.83, h * 0.86), w * 0.075, h * 0.028);
        s.drawEllipse(QPointF(w * 0.21, h * 0.89), w * 0.065, h * 0.025);
    });
    Rng rng(54);
    // Back row of fruit rising above the rim.
    DrawGrapes(p, QPointF(bowl.x() + bw * 0.35, bowl.y() - h * 0.16), w * 0.016, rng);
    DrawOrange(p, QPointF(bowl.x() - bw * 0.45, bowl.y() - h * 0.06), w * 0.075);
    DrawApple(p, QPointF(bowl.x() + bw * 0.05, bowl.y() - h * 0.09), w * 0.08, QColor(176, 30, 26));
    DrawOrange(p, QPointF(bowl.x() + bw * 0.55, bowl.y() - h * 0.03), w * 0.07);
    DrawRound(p, QPointF(bowl.x() - bw * 0.1, bowl.y() - h * 0.01), w * 0.075, w * 0.06,
              QColor(226, 196, 40), 0.7);  // a lemon
    // The bowl: a glazed body below the rim.
    QPainterPath body;
    body.moveTo(bowl.x() - bw, bowl.y());
    body.cubicTo(bowl.x() - bw, bowl.y() + h * 0.17, bowl.x() + bw, bowl.y() + h * 0.17,
                 bowl.x() + bw, bowl.y());
    body.arcTo(QRectF(bowl.x() - bw, bowl.y() - bh, 2 * bw, 2 * bh), 0, -180);
    QLinearGradient glaze(bowl.x() - bw, 0, bowl.x() + bw, 0);
    glaze.setColorAt(0, QColor(120, 140, 160));
    glaze.setColorAt(0.25, QColor(236, 240, 244));
    glaze.setColorAt(0.4, QColor(210, 220, 228));
    glaze.setColorAt(1, QColor(60, 70, 86));
    p.setPen(Qt::NoPen);
    p.setBrush(glaze);
    p.drawPath(body);
    // A blue band painted round the bowl, and the glint of the window.
    p.save();
    p.setClipPath(body);
    p.setPen(QPen(QColor(40, 70, 140, 170), h * 0.012));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(bowl.x() - bw, bowl.y() - bh + h * 0.05, 2 * bw, 2 * bh), 180 * 16, 180 * 16);
    p.setPen(QPen(QColor(40, 70, 140, 120), h * 0.004));
    p.drawArc(QRectF(bowl.x() - bw, bowl.y() - bh + h * 0.075, 2 * bw, 2 * bh), 180 * 16, 180 * 16);
    p.restore();
    DrawGlow(p, QPointF(bowl.x() - bw * 0.55, bowl.y() + h * 0.06), w * 0.04,
             QColor(255, 255, 255, 160));
    p.setPen(QPen(QColor(250, 250, 250, 200), 3));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(bowl.x() - bw, bowl.y() - bh, 2 * bw, 2 * bh), 180 * 16, 180 * 16);
    // Front fruit over the rim, then two on the table.
    DrawApple(p, QPointF(bowl.x() + bw * 0.3, bowl.y() + h * 0.005), w * 0.07,
              QColor(120, 160, 40));
    DrawApple(p, QPointF(w * 0.8, h * 0.8), w * 0.072, QColor(190, 40, 30));
    DrawOrange(p, QPointF(w * 0.19, h * 0.835), w * 0.06);
}

void DrawTulipVase(QImage& photo) {
    QSize size = photo.size();
    double w = size.width(), h = size.height(), table = h * 0.74;
    QPainter p(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    DrawWall(p, size, table + 1, QColor(226, 222, 210), QColor(110, 112, 114), 61);
    // A linen cloth on the table.
    QImage cloth = ComputeLayer(QRect(0, table, w, h - table), 2, [&](double x, double y) {
        double weave = (std::sin(x * 1.3) + std::sin(y * 1.7)) * 0.02;
        double fold = Fractal(x / 160, y / 50, 62, 3);
        return Mix(QColor(150, 140, 126), QColor(238, 230, 214),
                   0.6 + (fold - 0.5) * 0.3 + weave - (y - table) / (h - table) * 0.2);
    });
    DrawLayer(p, cloth, QRectF(0, table, w, h - table));
    QPointF foot(w * 0.42, h * 0.86);
    double vw = w * 0.1;
    DrawSoft(p, size, 4, 36, [&](QPainter& s) {
        s.setBrush(QColor(30, 30, 30, 150));
        s.drawEllipse(QPointF(foot.x() + vw * 1.4, foot.y() - 4), vw * 1.8, h * 0.03);
        s.setBrush(QColor(30, 30, 30, 60));
        s.drawRect(QRectF(foot.x() + vw * 0.9, h * 0.3, vw * 1.6, table - h * 0.3));
    });
    Rng rng(63);
    // Stems and leaves, then the flowers.
    struct Flower {
        QPointF head;
        QColor colour;
        double tilt;
    };
    const Flower flowers[] = {{{w * 0.3, h * 0.2}, QColor(206, 34, 48), -18},
                              {{w * 0.42, h * 0.12}, QColor(236, 180, 40), 2},
                              {{w * 0.55, h * 0.22}, QColor(226, 80, 120), 16},
                              {{w * 0.36, h * 0.34}, QColor(236, 120, 150), -8},
                              {{w * 0.5, h * 0.36}, QColor(196, 30, 40), 10},
                              {{w * 0.24, h * 0.4}, QColor(240, 200, 70), -30},
                              {{w * 0.62, h * 0.38}, QColor(210, 50, 60), 28}};
    QPointF neck(foot.x(), foot.y() - h * 0.3);
    for (const Flower& f : flowers) {
        QPainterPath stem;
        stem.moveTo(neck + QPointF(rng.Range(-12, 12), 10));
        stem.quadTo(QPointF((neck.x() + f.head.x()) / 2, neck.y() - h * 0.1),
                    f.head + QPointF(0, 30));
        p.setPen(QPen(QColor(70, 110, 50), 7, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(stem);
    }
    for (int i = 0; i < 6; ++i) {
        double side = i % 2 ? 1 : -1;
        QPointF base = neck + QPointF(side * rng.Range(0, 20), 0);
        QPointF tip =
            base + QPointF(side * rng.Range(w * 0.08, w * 0.16), -rng.Range(h * 0.1, h * 0.26));
        QPainterPath leaf;
        leaf.moveTo(base);
        leaf.quadTo(base + QPointF(side * w * 0.07, -h * 0.02), tip);
        leaf.quadTo(base + QPointF(side * w * 0.01, -h * 0.12), base + QPointF(-side * 12, 0));
        QLinearGradient g(base, tip);
        g.setColorAt(0, QColor(60, 100, 50));
        g.setColorAt(0.6, QColor(110, 150, 80));
        g.setColorAt(1, QColor(80, 120, 60));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(leaf);
    }
    for (const Flower& f : flowers) {
        p.save();
        p.translate(f.head);
        p.rotate(f.tilt);
        double r = w * 0.038;
        // Three petals behind, two in front, cupped.
        for (int layer = 0; layer < 2; ++layer)
            for (int k = -1; k <= 1; k += layer ? 2 : 1) {
                QPainterPath petal;
                double x = k * r * (layer ? 0.45 : 0.6);
                petal.moveTo(x - r * 0.55, r * 0.8);
                petal.cubicTo(x - r * 0.8, 0, x - r * 0.5, -r * 1.3, x, -r * 1.4);
                petal.cubicTo(x + r * 0.5, -r * 1.3, x + r * 0.8, 0, x + r * 0.55, r * 0.8);
                petal.quadTo(x, r * 1.2, x - r * 0.55, r * 0.8);
                QLinearGradient g(x - r * 0.6, 0, x + r * 0.6, 0);
                QColor c = layer ? f.colour : f.colour.darker(130);
                g.setColorAt(0, c.lighter(135));
                g.setColorAt(0.5, c);
                g.setColorAt(1, c.darker(160));
                p.setBrush(g);
                p.drawPath(petal);
                p.setPen(QPen(c.lighter(160), 1.2));
                p.drawLine(QPointF(x, r * 0.9), QPointF(x, -r * 1.1));
                p.setPen(Qt::NoPen);
            }
        p.restore();
    }
    // The vase, blue on white porcelain.
    QPainterPath vase;
    vase.moveTo(neck + QPointF(-vw * 0.35, 0));
    vase.cubicTo(neck + QPointF(-vw * 0.3, h * 0.08), foot + QPointF(-vw * 1.4, -h * 0.17),
                 foot + QPointF(-vw * 0.6, 0));
    vase.lineTo(foot + QPointF(vw * 0.6, 0));
    vase.cubicTo(foot + QPointF(vw * 1.4, -h * 0.17), neck + QPointF(vw * 0.3, h * 0.08),
                 neck + QPointF(vw * 0.35, 0));
    vase.closeSubpath();
    QLinearGradient porcelain(foot.x() - vw * 1.1, 0, foot.x() + vw * 1.1, 0);
    porcelain.setColorAt(0, QColor(170, 176, 184));
    porcelain.setColorAt(0.3, QColor(250, 250, 248));
    porcelain.setColorAt(0.55, QColor(226, 230, 234));
    porcelain.setColorAt(1, QColor(92, 98, 110));
    p.setBrush(porcelain);
    p.drawPath(vase);
    p.save();
    p.setClipPath(vase);
    p.setBrush(Qt::NoBrush);
    for (int band = 0; band < 3; ++band) {
        double y = foot.y() - h * (0.07 + 0.08 * band);
        p.setPen(QPen(QColor(30, 60, 150, 200), band == 1 ? 3 : 5));
        p.drawLine(QPointF(foot.x() - vw * 2, y), QPointF(foot.x() + vw * 2, y));
        if (band == 1)
            for (double x = foot.x() - vw * 1.4; x < foot.x() + vw * 1.4; x += vw * 0.35) {
                p.setPen(QPen(QColor(40, 70, 160, 190), 3));
                p.drawArc(QRectF(x, y - h * 0.035, vw * 0.3, h * 0.03), 0, 300 * 16);
                p.drawArc(QRectF(x + vw * 0.1, y + h * 0.01, vw * 0.2, h * 0.02), 90 * 16,
                          270 * 16);
            }
    }
    // The blue darkens where the body turns away from the light.
    QLinearGradient turn(foot.x() - vw * 1.1, 0, foot.x() + vw * 1.1, 0);
    turn.setColorAt(0, QColor(0, 0, 0, 50));
    turn.setColorAt(0.3, QColor(0, 0, 0, 0));
    turn.setColorAt(1, QColor(0, 0, 0, 110));
    p.fillRect(vase.boundingRect(), turn);
    p.restore();
    DrawGlow(p, QPointF(foot.x() - vw * 0.45, foot.y() - h * 0.14), vw * 0.35,
             QColor(255, 255, 255, 190));
}

}  // namespace pagora::sample
