#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "Elements.h"
#include "PhotoEffects.h"
#include "Scenes.h"

namespace pagora::sample {

namespace {

// Ground that rolls gently below the ridge, shaded by its slope.
void DrawHill(QPainter& p, const Ridge& ridge, double width, double bottom, QColor lit,
              QColor shade, uint32_t seed, double texture = 0.08) {
    QPolygonF shape = ridge.Shape(width, bottom, 3);
    QRect area = shape.boundingRect().toAlignedRect();
    QImage layer = ComputeLayer(area, 2, [&](double x, double y) {
        double top = ridge.Top(x);
        double slope = (ridge.Top(x + 40) - ridge.Top(x - 40)) / 80;
        double depth = std::clamp((y - top) / 160, 0.0, 1.0);
        double light = std::clamp(0.6 - slope * 2.5 * (1 - depth) - depth * 0.25, 0.0, 1.0);
        double n = Fractal(x / 160, y / 5, seed, 4) - 0.5;
        return Mix(shade, lit, std::clamp(light + n * texture * 4, 0.0, 1.0));
    });
    DrawLayerInside(p, layer, QRectF(area), shape);
}

void DrawCabin(QPainter& p, QPointF foot, double width) {
    double wallH = width * 0.45, roofH = width * 0.42;
    QRectF wall(foot.x() - width / 2, foot.y() - wallH, width, wallH);
    QLinearGradient wood(wall.topLeft(), wall.bottomLeft());
    wood.setColorAt(0, QColor(96, 60, 40));
    wood.setColorAt(1, QColor(60, 36, 26));
    p.fillRect(wall, wood);
    p.setPen(QPen(QColor(40, 24, 18), 2));
    for (double y = wall.top() + 10; y < wall.bottom(); y += 11)
        p.drawLine(QPointF(wall.left(), y), QPointF(wall.right(), y));
    // Windows with warm light inside.
    for (double x : {wall.left() + width * 0.15, wall.left() + width * 0.62}) {
        QRectF win(x, wall.top() + wallH * 0.28, width * 0.2, wallH * 0.36);
        DrawGlow(p, win.center(), width * 0.32, QColor(255, 170, 70, 110));
        p.fillRect(win, QColor(255, 206, 120));
        p.setPen(QPen(QColor(50, 30, 20), 4));
        p.setBrush(Qt::NoBrush);
        p.drawRect(win);
        p.drawLine(QPointF(win.center().x(), win.top()), QPointF(win.center().x(), win.bottom()));
        p.drawLine(QPointF(win.left(), win.center().y()), QPointF(win.right(), win.center().y()));
    }
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(foot.x() + width * 0.22, wall.top() - roofH * 0.9, width * 0.1, roofH * 0.6),
               QColor(70, 60, 56));
    QPolygonF roof;
    roof << QPointF(wall.left() - width * 0.12, wall.top() + 4)
         << QPointF(foot.x(), wall.top() - roofH)
         << QPointF(wall.right() + width * 0.12, wall.top() + 4);
    p.setBrush(QColor(50, 34, 28));
    p.drawPolygon(roof);
    // A thick blanket of snow on the roof, drooping at the eaves.
    QPainterPath snow;
    snow.moveTo(wall.left() - width * 0.14, wall.top() + 2);
    snow.lineTo(foot.x(), wall.top() - roofH - 12);
    snow.lineTo(wall.right() + width * 0.14, wall.top() + 2);
    snow.quadTo(wall.right(), wall.top() + 16, foot.x(), wall.top() - roofH + 14);
    snow.quadTo(wall.left(), wall.top() + 16, wall.left() - width * 0.14, wall.top() + 2);
    QLinearGradient g(wall.left(), 0, wall.right(), 0);
    g.setColorAt(0, QColor(246, 248, 252));
    g.setColorAt(0.5, QColor(220, 228, 244));
    g.setColorAt(1, QColor(150, 164, 196));
    p.setBrush(g);
    p.drawPath(snow);
}

}  // namespace

void DrawSnowCabin(QImage& photo) {
    QSize size = photo.size();
    double w = size.width(), h = size.height();
    QPainter p(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    FillGradient(p, QRectF(0, 0, w, h),
                 {{0, QColor(54, 70, 110)},
                  {0.4, QColor(150, 150, 176)},
                  {0.6, QColor(236, 190, 180)},
                  {1, QColor(236, 236, 246)}});
    DrawClouds(p, size, 0, h * 0.3, 0.5, QColor(170, 170, 196), QColor(70, 80, 110), 101, 350);
    Ridge far(h * 0.56, h * 0.12, 300, 102, true);
    far.Lift(w * 0.7, w * 0.12, h * 0.12).Lift(w * 0.1, w * 0.08, h * 0.06);
    DrawMountain(p, far, w, h * 0.7,
                 {.Snow = QColor(226, 230, 246),
                  .SnowDepth = h,
                  .Haze = QColor(170, 170, 196),
                  .HazeAmount = 0.35},
                 103);
    Rng rng(104);
    Ridge ridgeLine(h * 0.62, h * 0.05, 220, 105, false, 5);
    for (double x = -10; x < w + 10; x += rng.Range(8, 18))
        DrawPine(p, QPointF(x, ridgeLine.Top(x) + 10), h * rng.Range(0.04, 0.08),
                 QColor(50, 66, 80), rng, QColor(200, 206, 226));
    Ridge hill(h * 0.74, h * 0.1, 500, 106, false, 5);
    DrawHill(p, hill, w, h, QColor(246, 246, 252), QColor(140, 156, 196), 107, 0.02);
    // The cabin among snowy pines, smoke rising from its chimney.
    QPointF cabin(w * 0.42, hill.Top(w * 0.42) + h * 0.08);
    for (double x : {w * 0.22, w * 0.27, w * 0.62, w * 0.7, w * 0.78})
        DrawPine(p, QPointF(x, hill.Top(x) + h * 0.06), h * rng.Range(0.22, 0.34),
                 QColor(30, 50, 46), rng, QColor(236, 240, 250));
    QImage smoke = ComputeLayer(size, 4, [&](double x, double y) -> QColor {
        double rise = (cabin.y() - h * 0.18 - y) / (h * 0.4);
        if (rise < 0 || rise > 1)
            return Qt::transparent;
        double centre = cabin.x() + w * 0.06 + rise * w * 0.12 + std::sin(rise * 5) * 20;
        double spread = 14 + rise * 110;
        double n = Fractal(x / 40, y / 40, 108, 4);
        double a = std::exp(-std::pow((x - centre) / spread, 2)) * (1 - rise) * (0.4 + n);
        return QColor(220, 220, 230, static_cast<int>(std::clamp(a, 0.0, 1.0) * 210));
    });
    DrawLayer(p, smoke, size);
    DrawCabin(p, cabin, w * 0.2);
    DrawSoft(p, size, 4, 20, [&](QPainter& s) {
        s.setBrush(QColor(240, 244, 255));
        s.drawEllipse(cabin, w * 0.15, h * 0.02);
    });
    // Snow still falling: soft flakes, larger and blurrier near the lens.
    for (int i = 0; i < 700; ++i) {
        double near = std::pow(rng.Unit(), 3);
        double r = 1 + near * 6;
        QPointF at(rng.Range(0, w), rng.Range(0, h));
        DrawGlow(p, at, r * 2, QColor(255, 255, 255, static_cast<int>(150 - near * 60)));
    }
}

void DrawGoldenFields(QImage& photo) {
    QSize size = photo.size();
    double w = size.width(), h = size.height();
    QPainter p(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    FillGradient(
        p, QRectF(0, 0, w, h * 0.6),
        {{0, QColor(50, 100, 176)}, {0.7, QColor(140, 180, 220)}, {1, QColor(230, 220, 200)}});
    DrawGlow(p, QPointF(w * 0.85, h * 0.2), h * 0.5, QColor(255, 240, 200, 120));
    DrawClouds(p, size, h * 0.02, h * 0.45, 0.55, QColor(255, 252, 244), QColor(120, 130, 160), 111,
               260);
    Ridge farHills(h * 0.5, h * 0.06, 260, 112, false, 5);
    DrawHill(p, farHills, w, h, QColor(140, 160, 130), QColor(100, 120, 110), 113);
    // Fields on the rolling land, each with its own crop.
    struct Field {
        double base, amp;
        QColor lit, shade;
    };
    const Field fields[] = {{0.56, 0.04, QColor(200, 180, 90), QColor(150, 130, 70)},
                            {0.62, 0.06, QColor(120, 150, 60), QColor(80, 110, 40)},
                            {0.7, 0.08, QColor(236, 196, 90), QColor(180, 130, 50)},
                            {0.8, 0.1, QColor(246, 204, 100), QColor(190, 140, 60)}};
    uint32_t seed = 114;
    Rng rng(115);
    for (const Field& f : fields) {
        Ridge land(h * f.base, h * f.amp, 420, seed++, false, 4);
        DrawHill(p, land, w, h, f.lit, f.shade, seed++, 0.12);
        // A hedge along the top of the field, now and then a tree in it.
        for (double x = -10; &f != &fields[3] && x < w + 10; x += rng.Range(4, 9)) {
            double r = h * f.amp * rng.Range(0.08, 0.16);
            QPointF at(x, land.Top(x) + r * 0.3);
            if (Fractal(x / 150, f.base * 10, seed, 2) < 0.45)
                continue;
            QRadialGradient bush(at - QPointF(r * 0.3, r * 0.4), r * 1.3);
            bush.setColorAt(0, QColor(96, 120, 50));
            bush.setColorAt(1, QColor(34, 52, 26));
            p.setPen(Qt::NoPen);
            p.setBrush(bush);
            p.drawEllipse(at, r, r * 0.8);
        }
        if (&f == &fields[1])
            DrawLeafyTree(p, QPointF(w * 0.3, land.Top(w * 0.3) + 6), h * 0.2, QColor(50, 80, 36),
                          QColor(140, 170, 70), rng);
    }
    // A track through the wheat.
    QPainterPath track;
    track.moveTo(w * 0.52, h * 0.66);
    track.cubicTo(w * 0.56, h * 0.78, w * 0.4, h * 0.86, w * 0.5, h + 10);
    track.lineTo(w * 0.68, h + 10);
    track.cubicTo(w * 0.5, h * 0.86, w * 0.6, h * 0.76, w * 0.53, h * 0.66);
    QLinearGradient dirt(0, h * 0.66, 0, h);
    dirt.setColorAt(0, QColor(170, 140, 100));
    dirt.setColorAt(1, QColor(130, 100, 70));
    p.setPen(Qt::NoPen);
    p.setBrush(dirt);
    p.drawPath(track);
    // Ears of wheat close to the lens.
    for (int i = 0; i < 900; ++i) {
        double x = rng.Range(-20, w + 20), y = h * rng.Range(0.82, 1.05);
        double len = h * rng.Range(0.06, 0.14), lean = rng.Range(-0.25, 0.1);
        QPointF tip(x + len * lean, y - len);
        p.setPen(QPen(Mix(QColor(160, 120, 50), QColor(230, 200, 120), rng.Unit()), 1.2));
        p.drawLine(QPointF(x, y), tip);
        p.setPen(Qt::NoPen);
        p.setBrush(Mix(QColor(220, 170, 70), QColor(250, 220, 130), rng.Unit()));
        p.save();
        p.translate(tip);
        p.rotate(lean * 57);
        p.drawEllipse(QPointF(0, -len * 0.1), len * 0.022, len * 0.12);
        p.restore();
    }
}

void DrawStarryNight(QImage& photo) {
    QSize size = photo.size();
    double w = size.width(), h = size.height(), ground = h * 0.78;
    QPainter p(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    FillGradient(p, QRectF(0, 0, w, ground + 2),
                 {{0, QColor(4, 6, 18)}, {0.7, QColor(14, 24, 52)}, {1, QColor(40, 60, 80)}});
    // The galaxy: a bright, mottled band across the sky with dark lanes of dust.
    QImage band = ComputeLayer(QSize(w, ground), 3, [&](double x, double y) {
        double across = (y - (ground * 0.95 - x * 0.55)) / (h * 0.16);
        double body = std::exp(-across * across);
        double glow = Fractal(x / 120, y / 120, 121, 6);
        double dust = Fractal(x / 60 + 3, y / 40, 122, 5);
        double a = body * std::clamp(glow * 1.2 - 0.2, 0.0, 1.0) *
                   (1 - std::clamp((dust - 0.45) * 2.5, 0.0, 0.9));
        QColor c = Mix(QColor(140, 150, 200), QColor(240, 220, 200), body * glow);
        c.setAlphaF(std::clamp(a * 0.8, 0.0, 1.0));
        return c;
    });
    DrawLayer(p, band, QRectF(0, 0, w, ground));
    Rng rng(123);
    DrawStars(p, QSize(w, ground), ground, 2600, rng);
    DrawGlow(p, QPointF(w * 0.8, ground), w * 0.4, QColor(90, 140, 150, 60));
    // Grassland in silhouette, a tent glowing from the lantern inside.
    Ridge land(ground, h * 0.06, 500, 124, false, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(8, 12, 14));
    p.drawPolygon(land.Shape(w, h + 2));
    for (int i = 0; i < 900; ++i) {
        double x = rng.Range(0, w), y = land.Top(x) + rng.Range(-2, 4);
        p.setPen(QPen(QColor(8, 12, 14), 1.4));
        p.drawLine(QPointF(x, y), QPointF(x + rng.Range(-6, 6), y - rng.Range(4, 16)));
    }
    QPointF tent(w * 0.64, land.Top(w * 0.64) + 10);
    DrawGlow(p, tent + QPointF(0, -30), 220, QColor(255, 170, 80, 90));
    QPolygonF shape;
    shape << tent + QPointF(-90, 0) << tent + QPointF(0, -95) << tent + QPointF(90, 0);
    QRadialGradient lamp(tent + QPointF(0, -30), 110);
    lamp.setColorAt(0, QColor(255, 220, 150));
    lamp.setColorAt(1, QColor(200, 110, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(lamp);
    p.drawPolygon(shape);
    QPolygonF door;
    door << tent + QPointF(-22, 0) << tent + QPointF(0, -60) << tent + QPointF(22, 0);
    p.setBrush(QColor(255, 236, 190));
    p.drawPolygon(door);
    p.setBrush(QColor(8, 12, 14));
    p.drawEllipse(tent + QPointF(-150, -36), 9, 10);
    p.drawRect(QRectF(tent.x() - 159, tent.y() - 27, 18, 30));
}

}  // namespace pagora::sample
