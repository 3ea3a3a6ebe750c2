#include "platform/ToolbarPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "gfx/Bitmap.h"
#include "platform/IconStyle.h"
#include "platform/MenuIcons.h"

namespace pagora {

namespace {

const QColor kBand(0xc8, 0xd6, 0xea);

void DrawMinimize(QPainter& p) {
    p.setPen(QPen(kIconOutline, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 1.5, 11, 9));
    p.setPen(Qt::NoPen);
    p.setBrush(VerticalGradient(QColor(0x5c, 0x96, 0xf0), QColor(0x25, 0x63, 0xdd), 1.5, 4));
    p.drawRect(QRectF(3, 2, 10, 2.5));
    p.setBrush(VerticalGradient(QColor(0x6c, 0xa0, 0xe8), QColor(0x2a, 0x5c, 0xc0), 12, 15));
    p.setPen(QPen(kIconOutline, 1));
    p.drawRect(QRectF(4.5, 12.5, 7, 2));
}

void DrawPlay(QPainter& p) {
    p.setPen(QPen(QColor(0x1e, 0x6a, 0x2a), 1));
    p.setBrush(VerticalGradient(QColor(0x8c, 0xe0, 0x7a), QColor(0x2e, 0x9e, 0x4f), 1, 15));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    QPainterPath triangle;
    triangle.moveTo(6.2, 4.8);
    triangle.lineTo(11.6, 8);
    triangle.lineTo(6.2, 11.2);
    triangle.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(triangle);
}

void DrawAlbum(QPainter& p) {
    // Two pages open on a dark cover, lines of text on each.
    p.setPen(QPen(kIconOutline, 1));
    p.setBrush(QColor(0x8a, 0x3b, 0x2a));
    p.drawRoundedRect(QRectF(0.5, 3.5, 15, 10), 1, 1);
    QPainterPath pages;
    pages.moveTo(8, 4.5);
    pages.quadTo(5, 2.5, 1.8, 3.5);
    pages.lineTo(1.8, 12.5);
    pages.quadTo(5, 11.5, 8, 13.5);
    pages.quadTo(11, 11.5, 14.2, 12.5);
    pages.lineTo(14.2, 3.5);
    pages.quadTo(11, 2.5, 8, 4.5);
    p.setBrush(VerticalGradient(Qt::white, QColor(0xe8, 0xe2, 0xd0), 3, 13));
    p.drawPath(pages);
    p.drawLine(QPointF(8, 4.5), QPointF(8, 13.5));
    p.setPen(QPen(QColor(0x9a, 0xa4, 0xb4), 0.8));
    for (qreal y : {6.5, 8.5, 10.5}) {
        p.drawLine(QPointF(3.2, y), QPointF(6.6, y));
        p.drawLine(QPointF(9.4, y), QPointF(12.8, y));
    }
}

void DrawMagnifier(QPainter& p) {
    p.setPen(QPen(QColor(0x5a, 0x3a, 0x1a), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.2, 10.2), QPointF(14.3, 14.3));
    QRadialGradient glass(QPointF(5, 5), 6);
    glass.setColorAt(0, Qt::white);
    glass.setColorAt(1, QColor(0xa8, 0xd4, 0xf8));
    p.setPen(QPen(kIconOutline, 1.3));
    p.setBrush(glass);
    p.drawEllipse(QPointF(6.5, 6.5), 5, 5);
}

}  // namespace

QImage DrawToolbarGlyph(int index, int size) {
    switch (index) {
        case kGlyphExit:
            return DrawMenuIcon(kIconExit, size);
        case kGlyphNext:
            return DrawMenuIcon(kIconNext, size);
        case kGlyphThumbnails:
            return DrawMenuIcon(kIconThumbnails, size);
        case kGlyphFullScreen:
            return DrawMenuIcon(kIconFullScreen, size);
        case kGlyphPrevious:
            return DrawMenuIcon(kIconBack, size);
        default:
            break;
    }
    return DrawIconAt(size, [index](QPainter& p) {
        switch (index) {
            case kGlyphMinimize:
                DrawMinimize(p);
                break;
            case kGlyphPlay:
                DrawPlay(p);
                break;
            case kGlyphAlbum:
                DrawAlbum(p);
                break;
            case kGlyphMagnifier:
                DrawMagnifier(p);
                break;
            default:
                break;
        }
    });
}

const std::vector<QIcon>& ToolbarGlyphs() {
    static const std::vector<QIcon> icons = DrawIconSet(kToolbarGlyphCount, DrawToolbarGlyph);
    return icons;
}

QImage DrawToolbarPicture(ToolbarPicture which, ScreenScale scale) {
    QSize design;
    switch (which) {
        case ToolbarPicture::CoolBarRight:
            design = {125, 28};
            break;
        case ToolbarPicture::CoolBarLeft:
            design = {205, 26};
            break;
        case ToolbarPicture::ImageLeft:
            design = {168, 23};
            break;
        case ToolbarPicture::ImageRight:
            design = {121, 27};
            break;
    }
    QImage picture(scale.DeviceSize(design), kBitmapFormat);
    QPainter p(&picture);
    p.scale(double(picture.width()) / design.width(), double(picture.height()) / design.height());
    // A brushed band, light at the top, with a fine grain across it and a
    // darker seam where the tab meets the screen below.
    p.fillRect(QRectF(0, 0, design.width(), design.height()),
               VerticalGradient(kBand.lighter(112), kBand.darker(112), 0, design.height()));
    p.setPen(QPen(QColor(255, 255, 255, 40), 0.5));
    for (int x = 2; x < design.width(); x += 3)
        p.drawLine(QPointF(x, 0), QPointF(x - 6, design.height()));
    const qreal seam = which == ToolbarPicture::CoolBarRight  ? 23.5
                       : which == ToolbarPicture::CoolBarLeft ? 24.5
                                                              : design.height() - 3.5;
    p.setPen(QPen(QColor(0x6a, 0x7c, 0x98), 1));
    p.drawLine(QPointF(0, seam), QPointF(design.width(), seam));
    p.end();
    return picture;
}

}  // namespace pagora
