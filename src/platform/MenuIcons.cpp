#include "platform/MenuIcons.h"

#include "platform/IconStyle.h"
#include "platform/ScreenScale.h"

#include <QCoreApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QThread>
#include <QtMath>
#include <set>

namespace pagora {
namespace {

// The set's colours: a dark outline and light fills, one accent per icon.
const QColor kBlue(0x2f, 0x6f, 0xd0);
const QColor kOrange(0xe0, 0x7a, 0x1f);
const QColor kGreen(0x2e, 0x9e, 0x4f);

// A landscape photograph in a white mount, with a badge carrying a letter
// drawn as strokes.
void DrawPicture(QPainter& p, QColor badge, bool letterB) {
    p.setPen(QPen(kIconOutline, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(0.5, 1.5, 13, 11), 1.5, 1.5);
    QRectF photo(2, 3, 10, 8);
    p.setPen(Qt::NoPen);
    p.setBrush(VerticalGradient(QColor(0x8c, 0xc8, 0xf5), QColor(0xd8, 0xee, 0xff), 3, 9));
    p.drawRect(photo);
    p.setBrush(QColor(0xff, 0xc8, 0x30));
    p.drawEllipse(QPointF(4.5, 5.2), 1.2, 1.2);
    QPainterPath hill;
    hill.moveTo(2, 11);
    hill.lineTo(2, 9);
    hill.quadTo(5, 6.2, 8, 8.5);
    hill.quadTo(10, 7.2, 12, 8);
    hill.lineTo(12, 11);
    hill.closeSubpath();
    p.setBrush(VerticalGradient(QColor(0x6c, 0xc0, 0x5a), QColor(0x2f, 0x8a, 0x3a), 7, 11));
    p.drawPath(hill);

    QRectF disc(7.5, 7.5, 8, 8);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(VerticalGradient(badge.lighter(125), badge.darker(115), disc.top(), disc.bottom()));
    p.drawRoundedRect(disc, 2, 2);
    // The letter on the pixel grid, so that it stays sharp at 16 x 16.
    QPainterPath letter;
    if (letterB) {
        letter.moveTo(9.5, 9);
        letter.lineTo(9.5, 14);
        letter.moveTo(9.5, 9.5);
        letter.lineTo(11.5, 9.5);
        letter.quadTo(12.5, 9.5, 12.5, 10.5);
        letter.quadTo(12.5, 11.5, 11.5, 11.5);
        letter.lineTo(9.5, 11.5);
        letter.moveTo(11.5, 11.5);
        letter.lineTo(11.8, 11.5);
        letter.quadTo(13, 11.5, 13, 12.5);
        letter.quadTo(13, 13.5, 11.8, 13.5);
        letter.lineTo(9.5, 13.5);
    } else {
        letter.moveTo(10.5, 9.5);
        letter.lineTo(13.5, 9.5);
        letter.moveTo(12.5, 9.5);
        letter.lineTo(12.5, 12.3);
        letter.quadTo(12.5, 13.5, 11.3, 13.5);
        letter.quadTo(10, 13.5, 9.6, 12.4);
    }
    p.setPen(QPen(Qt::white, 1.1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(letter);
}

void DrawGear(QPainter& p) {
    const QPointF c(8, 8);
    const int teeth = 8;
    QPainterPath gear;
    for (int i = 0; i < teeth; ++i) {
        // Each tooth: a flat top between two flanks, on a circle of 5.
        qreal a = 2 * M_PI * i / teeth;
        qreal half = M_PI / teeth;
        auto at = [&](qreal angle, qreal r) {
            return c + QPointF(r * qCos(angle), r * qSin(angle));
        };
        QPointF points[] = {at(a - half * 0.95, 5.2), at(a - half * 0.45, 7.3),
                            at(a + half * 0.45, 7.3), at(a + half * 0.95, 5.2)};
        if (i == 0)
            gear.moveTo(points[0]);
        else
            gear.lineTo(points[0]);
        for (int k = 1; k < 4; ++k)
            gear.lineTo(points[k]);
    }
    gear.closeSubpath();
    gear.addEllipse(c, 2.2, 2.2);
    gear.setFillRule(Qt::OddEvenFill);
    p.setPen(QPen(kIconOutline, 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(VerticalGradient(QColor(0xd4, 0xda, 0xe4), QColor(0x7c, 0x88, 0x9c), 1, 15));
    p.drawPath(gear);
}

void DrawExit(QPainter& p) {
    // The door frame, and the door swung open into the room.
    p.setPen(QPen(kIconOutline, 1));
    p.setBrush(QColor(0x3a, 0x30, 0x2a));
    p.drawRect(QRectF(1.5, 1.5, 8, 13));
    QPainterPath door;
    door.moveTo(1.5, 1.5);
    door.lineTo(6.5, 3);
    door.lineTo(6.5, 15.5);
    door.lineTo(1.5, 14.5);
    door.closeSubpath();
    p.setBrush(VerticalGradient(QColor(0xd9, 0x9a, 0x5b), QColor(0xa4, 0x62, 0x2c), 1, 15));
    p.drawPath(door);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xe0, 0x80));
    p.drawEllipse(QPointF(5.3, 9), 0.7, 0.7);
    // The arrow leaving through the doorway.
    QPainterPath arrow;
    arrow.moveTo(7.5, 7);
    arrow.lineTo(11.5, 7);
    arrow.lineTo(11.5, 4.5);
    arrow.lineTo(15.5, 8.5);
    arrow.lineTo(11.5, 12.5);
    arrow.lineTo(11.5, 10);
    arrow.lineTo(7.5, 10);
    arrow.closeSubpath();
    p.setPen(QPen(QColor(0x9a, 0x1c, 0x1c), 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(VerticalGradient(QColor(0xf4, 0x6a, 0x5a), QColor(0xc8, 0x2a, 0x22), 4, 13));
    p.drawPath(arrow);
}

void DrawArrow(QPainter& p, bool left) {
    QPainterPath arrow;
    arrow.moveTo(1.5, 8);
    arrow.lineTo(8, 1.8);
    arrow.lineTo(8, 5.3);
    arrow.lineTo(14.5, 5.3);
    arrow.lineTo(14.5, 10.7);
    arrow.lineTo(8, 10.7);
    arrow.lineTo(8, 14.2);
    arrow.closeSubpath();
    if (!left)
        p.setTransform(QTransform(-1, 0, 0, 1, 16, 0), true);
    p.setPen(QPen(kGreen.darker(150), 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(VerticalGradient(kGreen.lighter(150), kGreen, 2, 14));
    p.drawPath(arrow);
}

void DrawThumbnails(QPainter& p) {
    const QColor tops[] = {QColor(0x8c, 0xc8, 0xf5), QColor(0xf7, 0xc1, 0x6e),
                           QColor(0x9a, 0xd7, 0x8a), QColor(0xe3, 0x9c, 0xc9)};
    for (int i = 0; i < 4; ++i) {
        QRectF cell(1.5 + (i % 2) * 7, 1.5 + (i / 2) * 7, 6, 6);
        p.setPen(QPen(kIconOutline, 1));
        p.setBrush(
            VerticalGradient(tops[i].lighter(115), tops[i].darker(120), cell.top(), cell.bottom()));
        p.drawRoundedRect(cell, 1, 1);
    }
}

void DrawFullScreen(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd8, 0xe6, 0xf8));
    p.drawRect(QRectF(4.5, 4.5, 7, 7));
    QPainterPath corners;
    const qreal lo = 1.5, hi = 14.5, arm = 4.5;
    for (int i = 0; i < 4; ++i) {
        qreal x = i % 2 ? hi : lo, y = i / 2 ? hi : lo;
        qreal dx = i % 2 ? -arm : arm, dy = i / 2 ? -arm : arm;
        corners.moveTo(x + dx, y);
        corners.lineTo(x, y);
        corners.lineTo(x, y + dy);
    }
    p.setPen(QPen(kBlue.darker(130), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(corners);
}

void DrawOpenBook(QPainter& p) {
    // Two pages rising from the spine, each with a few lines of text.
    for (bool left : {true, false}) {
        p.save();
        if (!left)
            p.setTransform(QTransform(-1, 0, 0, 1, 16, 0), true);
        QPainterPath page;
        page.moveTo(8, 4);
        page.quadTo(5, 2, 1.5, 3);
        page.lineTo(1.5, 13);
        page.quadTo(5, 12, 8, 14);
        page.closeSubpath();
        p.setPen(QPen(kIconOutline, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(VerticalGradient(Qt::white, QColor(0xe4, 0xe8, 0xf0), 3, 14));
        p.drawPath(page);
        p.setPen(QPen(kBlue, 0.8));
        for (qreal y : {5.5, 7.5, 9.5})
            p.drawLine(QPointF(3, y), QPointF(6.5, y + 0.6));
        p.restore();
    }
    p.setPen(QPen(kOrange.darker(120), 1.2));
    p.drawLine(QPointF(8, 4), QPointF(8, 14.5));
}

}  // namespace

QImage DrawMenuIcon(int index, int size) {
    return DrawIconAt(size, [index](QPainter& p) {
        switch (index) {
            case kIconExportBitmap:
                DrawPicture(p, kBlue, true);
                break;
            case kIconOptions:
                DrawGear(p);
                break;
            case kIconExportJpeg:
                DrawPicture(p, kOrange, false);
                break;
            case kIconExit:
                DrawExit(p);
                break;
            case kIconBack:
                DrawArrow(p, true);
                break;
            case kIconNext:
                DrawArrow(p, false);
                break;
            case kIconThumbnails:
                DrawThumbnails(p);
                break;
            case kIconFullScreen:
                DrawFullScreen(p);
                break;
            case kIconAlbumMode:
                DrawOpenBook(p);
                break;
            default:
                break;
        }
    });
}

std::vector<QIcon> DrawIconSet(int count, QImage (*draw)(int index, int size)) {
    Q_ASSERT(QThread::currentThread() == qApp->thread());
    std::set<int> sizes{16, 20, 24, 32, 40, 48};
    sizes.insert(ProgramScale().Scaled(16));
    std::vector<QIcon> list;
    for (int i = 0; i < count; ++i) {
        QIcon icon;
        for (int size : sizes)
            icon.addPixmap(QPixmap::fromImage(draw(i, size)));
        list.push_back(icon);
    }
    return list;
}

const std::vector<QIcon>& MenuIcons() {
    static const std::vector<QIcon> icons = DrawIconSet(kMenuIconCount, DrawMenuIcon);
    return icons;
}

}  // namespace pagora
