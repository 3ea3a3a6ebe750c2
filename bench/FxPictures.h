#pragma once

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "gfx/Bitmap.h"

namespace pagora::bench {

// A big letter at the left, half the picture's height.
inline void Letter(QPainter& painter, int w, int h, const char* letter, const QColor& colour) {
    QFont font;
    font.setPixelSize(std::max(6, h / 2));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QRect(w / 16, 0, w / 2, h), Qt::AlignVCenter | Qt::AlignLeft, letter);
}

// Two pictures told apart at a glance, neither symmetric, so slides, folds
// and turns show which way they go.
inline QImage OldPicture(int w, int h) {
    QImage image = NewBitmap24(w, h);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(20, 40, 90));
    sky.setColorAt(1, QColor(60, 110, 160));
    painter.fillRect(image.rect(), sky);
    painter.setPen(QPen(QColor(150, 190, 230), std::max(1, w / 300)));
    const int grid = std::max(4, std::min(w, h) / 8);
    for (int x = 0; x < w; x += grid)
        painter.drawLine(x, 0, x, h);
    for (int y = 0; y < h; y += grid)
        painter.drawLine(0, y, w, y);
    Letter(painter, w, h, "A", QColor(230, 240, 255));
    return image;
}

inline QImage NewPicture(int w, int h) {
    QImage image = NewBitmap24(w, h);
    QPainter painter(&image);
    QLinearGradient sun(0, 0, w, h);
    sun.setColorAt(0, QColor(250, 210, 90));
    sun.setColorAt(1, QColor(200, 60, 40));
    painter.fillRect(image.rect(), sun);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(120, 20, 30));
    QPainterPath arrow;
    arrow.moveTo(w * 0.55, h * 0.2);
    arrow.lineTo(w * 0.92, h * 0.5);
    arrow.lineTo(w * 0.55, h * 0.8);
    arrow.closeSubpath();
    painter.drawPath(arrow);
    painter.setBrush(QColor(255, 250, 230));
    painter.drawEllipse(QPointF(w * 0.1, h * 0.15), w * 0.06, w * 0.06);
    Letter(painter, w, h, "B", QColor(60, 20, 10));
    return image;
}

}  // namespace pagora::bench
