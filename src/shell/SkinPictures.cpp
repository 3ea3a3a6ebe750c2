#include "shell/SkinPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <map>

#include "gfx/Bitmap.h"

namespace pagora {

namespace {

const QColor kTitleTop(0x5c, 0x96, 0xf0);
const QColor kTitleMiddle(0x25, 0x63, 0xdd);
const QColor kTitleBottom(0x17, 0x47, 0xb5);
const QColor kTitleEdge(0x0f, 0x32, 0x8a);

// A picture of the design size at the scale, with a painter whose user space
// is the design size.
struct Drawing {
    QImage Picture;
    QPainter Painter;

    Drawing(ScreenScale scale, int width, int height, QImage::Format format, QColor ground)
        : Picture(scale.Scaled(width), scale.Scaled(height), format) {
        Picture.fill(ground);
        Painter.begin(&Picture);
        Painter.scale(double(Picture.width()) / width, double(Picture.height()) / height);
    }
};

QLinearGradient TitleGradient(int height) {
    QLinearGradient gradient(0, 0, 0, height);
    gradient.setColorAt(0, kTitleTop);
    gradient.setColorAt(0.35, kTitleMiddle);
    gradient.setColorAt(1, kTitleBottom);
    return gradient;
}

QImage TitleTile(ScreenScale scale, int width, int height, int edge) {
    Drawing d(scale, width, height, kBitmapFormat, kTitleMiddle);
    d.Painter.fillRect(QRectF(0, 0, width, height), TitleGradient(28));
    // A highlight along the top, and the dark edge of the window at either end.
    d.Painter.fillRect(QRectF(0, 0, width, 1), kTitleTop.lighter(120));
    if (edge < 0)
        d.Painter.fillRect(QRectF(0, 0, 1, height), kTitleEdge);
    else if (edge > 0)
        d.Painter.fillRect(QRectF(width - 1, 0, 1, height), kTitleEdge);
    if (height > 28)
        d.Painter.fillRect(QRectF(0, 28, width, height - 28), kTitleEdge);
    d.Painter.end();
    return d.Picture;
}

// A rounded square on the key colour, outlined without smoothing so that no
// pixel mixes with the key; the sign inside is smoothed against the fill.
QImage TitleButton(ScreenScale scale, bool close) {
    Drawing d(scale, 21, 21, kBitmapFormat, kSkinKey);
    QPainter& p = d.Painter;
    const QColor fill = close ? QColor(0xe0, 0x55, 0x3a) : QColor(0x3c, 0x7c, 0xf0);
    QLinearGradient gradient(0, 0, 0, 21);
    gradient.setColorAt(0, fill.lighter(135));
    gradient.setColorAt(1, fill.darker(115));
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(gradient);
    p.drawRoundedRect(QRectF(0.5, 0.5, 19, 19), 3, 3);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    if (close) {
        p.drawLine(QPointF(6.5, 6.5), QPointF(13.5, 13.5));
        p.drawLine(QPointF(13.5, 6.5), QPointF(6.5, 13.5));
    } else {
        p.drawLine(QPointF(6, 13.5), QPointF(12, 13.5));
    }
    p.end();
    return d.Picture;
}

QImage PushButton(ScreenScale scale, QColor top, QColor bottom, QColor edge) {
    Drawing d(scale, 73, 19, kBitmapFormat, kSkinKey);
    QPainter& p = d.Painter;
    QLinearGradient gradient(0, 0, 0, 19);
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    p.setPen(QPen(edge, 1));
    p.setBrush(gradient);
    p.drawRoundedRect(QRectF(0.5, 0.5, 71, 17), 3, 3);
    p.end();
    return d.Picture;
}

QImage RadioGlyph(ScreenScale scale, bool checked) {
    Drawing d(scale, 16, 16, QImage::Format_ARGB32_Premultiplied, Qt::transparent);
    QPainter& p = d.Painter;
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient well(QPointF(6, 6), 8);
    well.setColorAt(0, Qt::white);
    well.setColorAt(1, QColor(0xd8, 0xdc, 0xe4));
    p.setPen(QPen(QColor(0x1c, 0x51, 0x80), 1));
    p.setBrush(well);
    p.drawEllipse(QRectF(1.5, 1.5, 12, 12));
    if (checked) {
        QRadialGradient dot(QPointF(6.8, 6.8), 3.5);
        dot.setColorAt(0, QColor(0x7c, 0xe0, 0x6a));
        dot.setColorAt(1, QColor(0x21, 0x9a, 0x1c));
        p.setPen(Qt::NoPen);
        p.setBrush(dot);
        p.drawEllipse(QPointF(7.5, 7.5), 3.2, 3.2);
    }
    p.end();
    return d.Picture;
}

SkinPictures Draw(ScreenScale scale) {
    SkinPictures skin;
    skin.Title = TitleTile(scale, 32, 28, 0);
    skin.LeftTitle = TitleTile(scale, 6, 28, -1);
    skin.RightTitle = TitleTile(scale, 7, 29, 1);
    skin.Min = TitleButton(scale, false);
    skin.Close = TitleButton(scale, true);
    skin.ButtonUp = PushButton(scale, QColor(0xff, 0xff, 0xff), QColor(0xd6, 0xd0, 0xc5),
                               QColor(0x00, 0x3c, 0x74));
    skin.ButtonDown = PushButton(scale, QColor(0xcd, 0xca, 0xc3), QColor(0xf2, 0xf1, 0xee),
                                 QColor(0x00, 0x3c, 0x74));
    skin.ButtonDisable = PushButton(scale, QColor(0xf5, 0xf4, 0xea), QColor(0xf5, 0xf4, 0xea),
                                    QColor(0xc9, 0xc7, 0xba));
    skin.Glyphs[0] = RadioGlyph(scale, false);
    skin.Glyphs[1] = RadioGlyph(scale, true);
    return skin;
}

}  // namespace

const SkinPictures& Skin(ScreenScale scale) {
    static std::map<double, SkinPictures> drawn;
    auto found = drawn.find(scale.Ratio());
    if (found == drawn.end())
        found = drawn.emplace(scale.Ratio(), Draw(scale)).first;
    return found->second;
}

}  // namespace pagora
