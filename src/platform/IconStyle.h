#pragma once

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

namespace pagora {

// What the drawn icon sets share, so the menus and the toolbar look alike.
inline const QColor kIconOutline(0x33, 0x3d, 0x4f);

inline QLinearGradient VerticalGradient(QColor top, QColor bottom, qreal y0, qreal y1) {
    QLinearGradient g(0, y0, 0, y1);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

// A transparent size x size picture drawn by a drawing made for 16 x 16.
template <class Draw>
QImage DrawIconAt(int size, Draw&& draw) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    draw(p);
    p.end();
    return image;
}

}  // namespace pagora
