#pragma once

#include <QColor>
#include <QLinearGradient>

namespace pagora {

// What the drawn icon sets share, so the menus and the toolbar look alike.
inline const QColor kIconOutline(0x33, 0x3d, 0x4f);

inline QLinearGradient VerticalGradient(QColor top, QColor bottom, qreal y0, qreal y1) {
    QLinearGradient g(0, y0, 0, y1);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

}  // namespace pagora
