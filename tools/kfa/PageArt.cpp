#include "PageArt.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <random>

#include "Fonts.h"
#include "gfx/Bitmap.h"
#include "gfx/Fit.h"
#include "gfx/Rounding.h"
#include "procedural/Colour.h"
#include "procedural/Noise.h"

namespace kfa {
namespace {

const QColor kPaper(244, 239, 225);
const QColor kPaperShade(196, 186, 164);
const QColor kCaption(96, 78, 62);
const QColor kMount(48, 42, 40);

int Margin(QSize page) {
    return std::max(4, pagora::RoundHalfEven(0.085 * std::min(page.width(), page.height())));
}
int CaptionBand(QSize page) {
    return std::max(8, pagora::RoundHalfEven(0.075 * page.height()));
}
int PrintBorder(QSize page) {
    return std::max(2, pagora::RoundHalfEven(0.016 * std::min(page.width(), page.height())));
}

void DrawFibres(QImage& paper, uint32_t seed) {
    QPainter painter(&paper);
    painter.setRenderHint(QPainter::Antialiasing);
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> x(0, paper.width()), y(0, paper.height()),
        angle(0, 2 * M_PI), length(3, 12), bend(-3, 3);
    std::uniform_int_distribution<int> tone(90, 150), alpha(10, 28);
    int count = paper.width() * paper.height() / 700;
    for (int i = 0; i < count; ++i) {
        QPointF from(x(random), y(random));
        double a = angle(random), l = length(random);
        QPointF to = from + QPointF(std::cos(a) * l, std::sin(a) * l);
        QPointF mid = (from + to) / 2 + QPointF(bend(random), bend(random));
        QPainterPath fibre(from);
        fibre.quadTo(mid, to);
        int t = tone(random);
        painter.setPen(QPen(QColor(t, t - 10, t - 25, alpha(random)), 0.8));
        painter.drawPath(fibre);
    }
}

}  // namespace

QImage DrawPaper(QSize page, bool spineOnRight, uint32_t seed) {
    QImage paper = pagora::NewBitmap24(page.width(), page.height());
    const int w = page.width(), h = page.height();
    const double fold = std::max(1.0, 0.10 * w), edge = std::max(1.0, 0.02 * w);
    for (int y = 0; y < h; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(paper.scanLine(y));
        for (int x = 0; x < w; ++x) {
            double fromSpine = spineOnRight ? w - 1 - x : x;
            double fromEdge = w - 1 - fromSpine;
            // The fold darkens toward the spine; the outer edge has aged a little.
            double shade = 0.22 * std::pow(std::max(0.0, 1 - fromSpine / fold), 2.2) +
                           0.05 * std::max(0.0, 1 - fromEdge / edge) +
                           0.04 * std::max(0.0, 1 - std::min(y, h - 1 - y) / edge);
            double mottle = 0.07 * (pagora::Fractal(x / 85.0, y / 85.0, seed, 4) - 0.5);
            row[x] = pagora::Mix(kPaper, kPaperShade, shade + mottle).rgb();
        }
    }
    DrawFibres(paper, seed + 1);
    pagora::AddGrain(paper, 2, seed + 2);
    return paper;
}

QSize ScaleToBox(QSize picture, QSize box) {
    if (picture.isEmpty() || box.isEmpty())
        return QSize(0, 0);
    double boxRatio = static_cast<double>(box.width()) / box.height();
    double ratio = static_cast<double>(picture.width()) / picture.height();
    if (ratio >= boxRatio)
        return QSize(box.width(),
                     std::clamp(pagora::RoundHalfEven(box.width() / ratio), 1, box.height()));
    return QSize(std::clamp(pagora::RoundHalfEven(box.height() * ratio), 1, box.width()),
                 box.height());
}

QRect PhotoBox(QSize pagePicture) {
    int margin = Margin(pagePicture);
    return QRect(margin, margin, std::max(1, pagePicture.width() - 2 * margin),
                 std::max(1, pagePicture.height() - 2 * margin - CaptionBand(pagePicture)));
}

QRect PhotoPlace(QSize pagePicture, QSize photo) {
    QRect box = PhotoBox(pagePicture);
    QSize size = ScaleToBox(photo, box.size());
    if (size.isEmpty())
        return QRect();
    return QRect(box.x() + (box.width() - size.width()) / 2,
                 box.y() + (box.height() - size.height()) / 2, size.width(), size.height());
}

QImage DrawPhotoPage(const QImage& paper, const QImage& photo, const QString& caption) {
    QImage page = paper.copy();
    QRect place = PhotoPlace(page.size(), photo.size());
    if (place.isEmpty())
        return page;
    QPainter painter(&page);
    painter.setRenderHint(QPainter::Antialiasing);
    int border = PrintBorder(page.size());
    QRect print = place.adjusted(-border, -border, border, border);

    // A soft shadow under the print, light falling from the top left.
    painter.setPen(Qt::NoPen);
    for (int spread = 9; spread >= 1; --spread) {
        painter.setBrush(QColor(40, 30, 20, 9));
        painter.drawRoundedRect(
            QRectF(print).translated(3, 4).adjusted(-spread, -spread, spread, spread), spread,
            spread);
    }
    painter.setBrush(QColor(252, 251, 247));
    painter.drawRect(print);
    painter.drawImage(place.topLeft(),
                      pagora::StretchBitmap(photo, place.width(), place.height(), false));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 0, 40), 1));
    painter.drawRect(QRectF(place).adjusted(0.5, 0.5, -0.5, -0.5));

    // Corner mounts hold the print on the page.
    int leg = std::max(6, std::min(print.width(), print.height()) / 11);
    QPolygonF mount;
    mount << QPointF(-2, -2) << QPointF(leg, -2) << QPointF(-2, leg);
    QPointF corners[] = {print.topLeft(), QPointF(print.right() + 1, print.top()),
                         QPointF(print.right() + 1, print.bottom() + 1),
                         QPointF(print.left(), print.bottom() + 1)};
    for (int i = 0; i < 4; ++i) {
        painter.save();
        painter.translate(corners[i]);
        painter.rotate(90.0 * i);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 40));
        painter.drawPolygon(mount.translated(1.5, 1.5));
        painter.setBrush(kMount);
        painter.drawPolygon(mount);
        painter.setPen(QPen(QColor(120, 110, 100), 1));
        painter.drawLine(QPointF(leg - 1, 0), QPointF(0, leg - 1));
        painter.restore();
    }

    if (!caption.isEmpty()) {
        QFont font = AlbumFont(FontFace::Serif, std::max(8, page.height() * 3 / 100), false, true);
        painter.setFont(font);
        painter.setPen(kCaption);
        int width = page.width() - 2 * Margin(page.size());
        QString text = QFontMetrics(font).elidedText(caption, Qt::ElideRight, width);
        QRect band(0, print.bottom() + 1 + border, page.width(), CaptionBand(page.size()));
        painter.drawText(band, Qt::AlignHCenter | Qt::AlignVCenter, text);
    }
    return page;
}

QImage CropToFill(const QImage& photo, QSize box) {
    if (photo.isNull() || box.isEmpty())
        return pagora::NewBitmap24(std::max(box.width(), 0), std::max(box.height(), 0));
    double scale = std::max(static_cast<double>(box.width()) / photo.width(),
                            static_cast<double>(box.height()) / photo.height());
    int width = std::min(photo.width(), static_cast<int>(std::ceil(box.width() / scale)));
    int height = std::min(photo.height(), static_cast<int>(std::ceil(box.height() / scale)));
    QImage middle =
        photo.copy((photo.width() - width) / 2, (photo.height() - height) / 2, width, height);
    return pagora::StretchBitmap(middle, box.width(), box.height(), false);
}

}  // namespace kfa
