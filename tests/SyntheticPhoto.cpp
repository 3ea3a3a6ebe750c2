#include "SyntheticPhoto.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "procedural/Colour.h"
#include "procedural/Noise.h"

namespace pagora::test {

namespace {

void DrawBranch(QPainter& painter, QPointF from, double angle, double length, double width,
                int depth, Rng& rng) {
    QPointF to(from.x() + length * std::cos(angle), from.y() + length * std::sin(angle));
    painter.setPen(QPen(QColor(45, 35, 30), std::max(1.0, width), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from, to);
    if (depth == 0)
        return;
    int children = 2 + static_cast<int>(rng.Unit() * 2);
    for (int i = 0; i < children; ++i)
        DrawBranch(painter, to, angle + rng.Range(-0.7, 0.7), length * rng.Range(0.55, 0.8),
                   width * 0.65, depth - 1, rng);
}

QPainterPath Ridge(int width, int height, double base, double amplitude, Rng& rng) {
    QPainterPath path(QPointF(0, height));
    double p1 = rng.Range(0, 6.3), p2 = rng.Range(0, 6.3), f1 = rng.Range(1, 3),
           f2 = rng.Range(4, 9);
    for (int i = 0; i <= 64; ++i) {
        double t = i / 64.0;
        double y = base + amplitude * (0.7 * std::sin(t * f1 * 3.14159 + p1) +
                                       0.3 * std::sin(t * f2 * 3.14159 + p2));
        path.lineTo(t * width, y * height);
    }
    path.lineTo(width, height);
    path.closeSubpath();
    return path;
}

}  // namespace

QImage SyntheticPhoto(int width, int height, uint32_t seed) {
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        throw std::runtime_error("SyntheticPhoto: no memory");
    Rng rng(seed);
    const double w = width, h = height, unit = std::min(w, h);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);

        QLinearGradient sky(0, 0, 0, h * 0.6);
        sky.setColorAt(0, QColor::fromHsvF(rng.Range(0.55, 0.65), 0.7, 0.75));
        sky.setColorAt(1, QColor::fromHsvF(rng.Range(0.05, 0.12), 0.35, 0.98));
        painter.fillRect(image.rect(), sky);

        QPointF sunAt(rng.Range(0.2, 0.8) * w, rng.Range(0.15, 0.35) * h);
        QRadialGradient sun(sunAt, unit * 0.35);
        sun.setColorAt(0, QColor(255, 250, 225, 255));
        sun.setColorAt(0.08, QColor(255, 240, 200, 230));
        sun.setColorAt(1, QColor(255, 220, 170, 0));
        painter.setBrush(sun);
        painter.drawEllipse(sunAt, unit * 0.35, unit * 0.35);

        for (int i = 0; i < 6; ++i) {  // clouds: soft and wide
            QPointF at(rng.Range(0, 1) * w, rng.Range(0.05, 0.35) * h);
            double rx = rng.Range(0.08, 0.2) * w, ry = rx * rng.Range(0.2, 0.4);
            QRadialGradient cloud(at, rx);
            cloud.setColorAt(0, QColor(255, 255, 255, 170));
            cloud.setColorAt(1, QColor(255, 255, 255, 0));
            painter.setBrush(cloud);
            painter.drawEllipse(at, rx, ry);
        }

        const double bases[] = {0.5, 0.62, 0.76};
        for (int layer = 0; layer < 3; ++layer) {
            double hue = rng.Range(0.2, 0.35), value = 0.55 - layer * 0.12;
            QLinearGradient ground(0, bases[layer] * h - 0.1 * h, 0, h);
            ground.setColorAt(0, QColor::fromHsvF(hue, 0.45 + layer * 0.1, value + 0.15));
            ground.setColorAt(1, QColor::fromHsvF(hue + 0.05, 0.6, value - 0.1));
            painter.setBrush(ground);
            painter.drawPath(Ridge(width, height, bases[layer], 0.06, rng));
        }

        for (int i = 0; i < 40; ++i) {  // bushes, blurred edges
            QPointF at(rng.Range(0, 1) * w, rng.Range(0.55, 0.95) * h);
            double r = rng.Range(0.015, 0.06) * unit;
            QColor core =
                QColor::fromHsvF(rng.Range(0.18, 0.4), rng.Range(0.4, 0.8), rng.Range(0.2, 0.6));
            QRadialGradient bush(at, r);
            bush.setColorAt(0, core);
            bush.setColorAt(0.7, QColor(core.red(), core.green(), core.blue(), 200));
            bush.setColorAt(1, QColor(core.red(), core.green(), core.blue(), 0));
            painter.setBrush(bush);
            painter.drawEllipse(at, r * rng.Range(0.8, 1.4), r);
        }

        for (int t = 0; t < 3; ++t) {  // bare trees: sharp dark branches against the sky
            QPointF root(rng.Range(0.1, 0.9) * w, rng.Range(0.55, 0.65) * h);
            DrawBranch(painter, root, -1.5708 + rng.Range(-0.2, 0.2), unit * 0.18, unit * 0.012, 6,
                       rng);
        }

        // Grass: thousands of thin blades, the fine detail a lens resolves.
        int blades = static_cast<int>(w * h / 500);
        for (int i = 0; i < blades; ++i) {
            double y = h * (0.6 + 0.4 * std::sqrt(rng.Unit()));
            double x = rng.Unit() * w;
            double length = unit * rng.Range(0.006, 0.03) * (y / h);
            double angle = -1.5708 + rng.Range(-0.5, 0.5);
            QColor colour = QColor::fromHsvF(rng.Range(0.17, 0.33), rng.Range(0.35, 0.85),
                                             rng.Range(0.15, 0.75));
            painter.setPen(QPen(colour, std::max(1.0, unit / 1500.0)));
            painter.drawLine(QPointF(x, y),
                             QPointF(x + length * std::cos(angle), y + length * std::sin(angle)));
        }
        painter.setPen(Qt::NoPen);
    }

    // Texture that grows towards the foreground, then grain everywhere, as a
    // sensor adds it.
    const double coarse = 4.0 * std::max(2, width / 400), fine = 2.0;
    const auto coarseSeed = static_cast<uint32_t>(rng.Next()),
               fineSeed = static_cast<uint32_t>(rng.Next());
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        double depth = std::clamp((y / static_cast<double>(height) - 0.45) * 2.0, 0.0, 1.0);
        if (depth == 0)
            continue;
        for (int x = 0; x < width; ++x) {
            double texture = 14 * (2 * ValueNoise(x / coarse, y / coarse, coarseSeed) - 1) +
                             10 * (2 * ValueNoise(x / fine, y / fine, fineSeed) - 1);
            int delta = static_cast<int>(std::lround(depth * texture));
            QRgb p = row[x];
            row[x] =
                qRgb(std::clamp(qRed(p) + delta, 0, 255), std::clamp(qGreen(p) + delta, 0, 255),
                     std::clamp(qBlue(p) + delta, 0, 255));
        }
    }
    AddGrain(image, 3, seed);
    return image;
}

double Psnr(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        throw std::invalid_argument("Psnr: sizes differ");
    QImage ra = a.convertToFormat(QImage::Format_RGB32),
           rb = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < ra.height(); ++y) {
        auto* pa = reinterpret_cast<const QRgb*>(ra.constScanLine(y));
        auto* pb = reinterpret_cast<const QRgb*>(rb.constScanLine(y));
        for (int x = 0; x < ra.width(); ++x) {
            int dr = qRed(pa[x]) - qRed(pb[x]), dg = qGreen(pa[x]) - qGreen(pb[x]),
                db = qBlue(pa[x]) - qBlue(pb[x]);
            sum += dr * dr + dg * dg + db * db;
        }
    }
    if (sum == 0)
        return std::numeric_limits<double>::infinity();
    double mse = sum / (3.0 * ra.width() * ra.height());
    return 10.0 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace pagora::test
