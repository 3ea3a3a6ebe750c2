#include "gfx/Canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

#include "gfx/Bitmap.h"
#include "gfx/BlockCopy.h"

namespace pagora {

Canvas::Canvas(QImage* image) : image_(image) {
    MakeBitmap24(*image_);
}

void Canvas::Changed(const QRect& rect) {
    Report(rect);
}

void Canvas::Report(const QRect& rect) {
    QRect r = rect.intersected(image_->rect());
    if (clipped_)
        r = r.intersected(clip_.boundingRect());
    if (r.isEmpty())
        return;
    if (batchDepth_ > 0)
        pending_ |= r;
    else if (hook_)
        hook_(r);
}

void Canvas::BeginBatch() {
    ++batchDepth_;
}

void Canvas::EndBatch() {
    if (--batchDepth_ > 0 || pending_.isEmpty())
        return;
    QRect r = pending_;
    pending_ = QRect();
    if (hook_)
        hook_(r);
}

void Canvas::Begin(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing, Antialias);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    if (clipped_)
        painter.setClipRegion(clip_);
}

void Canvas::MoveTo(int x, int y) {
    penPos_ = QPoint(x, y);
}

void Canvas::LineTo(int x, int y) {
    QPoint from = penPos_, to(x, y);
    penPos_ = to;
    if (from == to)
        return;
    QRect bounds = QRect(from, to).normalized().adjusted(-PenWidth, -PenWidth, PenWidth, PenWidth);
    if (PenWidth <= 1 && !Antialias) {
        // One-pixel lines step through the pixels themselves, end point left out.
        QPainter painter(image_);
        Begin(painter);
        painter.setPen(QPen(PenColor, 1));
        int dx = std::abs(to.x() - from.x()), dy = -std::abs(to.y() - from.y());
        int sx = from.x() < to.x() ? 1 : -1, sy = from.y() < to.y() ? 1 : -1;
        int err = dx + dy, px = from.x(), py = from.y();
        QPolygon points;
        while (px != to.x() || py != to.y()) {
            points << QPoint(px, py);
            int e2 = 2 * err;
            if (e2 >= dy)
                err += dy, px += sx;
            if (e2 <= dx)
                err += dx, py += sy;
        }
        painter.drawPoints(points);
    } else {
        QPainter painter(image_);
        Begin(painter);
        painter.setPen(QPen(PenColor, PenWidth, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(from, to);
    }
    Report(bounds);
}

void Canvas::FillRect(const QRect& rect) {
    QPainter painter(image_);
    Begin(painter);
    painter.fillRect(rect, BrushColor);
    Report(rect);
}

void Canvas::Rectangle(int left, int top, int right, int bottom) {
    QRect rect = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).normalized();
    QPainter painter(image_);
    Begin(painter);
    if (!BrushClear)
        painter.fillRect(rect, BrushColor);
    if (PenWidth > 0) {
        painter.setPen(QPen(PenColor, PenWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        // An aliased stroke covers one pixel more than the rectangle's size.
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
    Report(rect);
}

void Canvas::RoundRect(int left, int top, int right, int bottom, int cornerW, int cornerH) {
    QRect rect = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).normalized();
    QPainter painter(image_);
    Begin(painter);
    painter.setPen(PenWidth > 0 ? QPen(PenColor, PenWidth) : QPen(Qt::NoPen));
    painter.setBrush(BrushClear ? QBrush(Qt::NoBrush) : QBrush(BrushColor));
    painter.drawRoundedRect(rect, cornerW / 2.0, cornerH / 2.0);
    Report(rect.adjusted(-PenWidth, -PenWidth, PenWidth, PenWidth));
}

void Canvas::Ellipse(int left, int top, int right, int bottom) {
    QRect rect = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).normalized();
    QPainter painter(image_);
    Begin(painter);
    painter.setPen(PenWidth > 0 ? QPen(PenColor, PenWidth) : QPen(Qt::NoPen));
    painter.setBrush(BrushClear ? QBrush(Qt::NoBrush) : QBrush(BrushColor));
    painter.drawEllipse(rect);
    Report(rect.adjusted(-PenWidth, -PenWidth, PenWidth, PenWidth));
}

void Canvas::Polygon(const QPolygon& points) {
    if (points.isEmpty())
        return;
    QPainter painter(image_);
    Begin(painter);
    painter.setPen(PenWidth > 0 ? QPen(PenColor, PenWidth) : QPen(Qt::NoPen));
    painter.setBrush(BrushClear ? QBrush(Qt::NoBrush) : QBrush(BrushColor));
    painter.drawPolygon(points);
    Report(points.boundingRect().adjusted(-PenWidth, -PenWidth, PenWidth, PenWidth));
}

void Canvas::TextOut(int x, int y, const QString& text) {
    if (text.isEmpty())
        return;
    QFontMetrics metrics(Font);
    QRect cell(x, y, metrics.horizontalAdvance(text), metrics.height());
    QPainter painter(image_);
    Begin(painter);
    if (!BrushClear)
        painter.fillRect(cell, BrushColor);
    painter.setFont(Font);
    painter.setPen(FontColor);
    painter.drawText(x, y + metrics.ascent(), text);
    // Italic and bold glyphs may reach a little past their advance.
    Report(cell.adjusted(-2, 0, 2, 0));
}

QSize Canvas::TextExtent(const QString& text) const {
    QFontMetrics metrics(Font);
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

void Canvas::Draw(int x, int y, const QImage& picture) {
    CopyRect(QRect(x, y, picture.width(), picture.height()), picture, picture.rect());
}

void Canvas::CopyRect(const QRect& dest, const QImage& source, const QRect& sourceRect, bool fast) {
    if (dest.size() == sourceRect.size() && !clipped_) {
        Report(CopyPixels(*image_, dest.topLeft(), source, sourceRect));
        return;
    }
    QRectF from(sourceRect), to(dest);
    if (!ClipStretch(source, from, to))
        return;
    QPainter painter(image_);
    Begin(painter);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !fast);
    painter.drawImage(to, source, from);
    Report(to.toAlignedRect());
}

void Canvas::StretchDraw(const QRect& dest, const QImage& picture, bool fast) {
    CopyRect(dest, picture, picture.rect(), fast);
}

void Canvas::DrawTransparent(int x, int y, const QImage& picture, QRgb keyColor) {
    QRect target = QRect(x, y, picture.width(), picture.height()).intersected(image_->rect());
    if (target.isEmpty())
        return;
    QImage source = picture.convertToFormat(kBitmapFormat);
    const QRgb key = keyColor | 0xff000000u;
    for (int row = target.top(); row <= target.bottom(); ++row) {
        const QRgb* s = reinterpret_cast<const QRgb*>(source.constScanLine(row - y));
        QRgb* d = reinterpret_cast<QRgb*>(image_->scanLine(row));
        for (int col = target.left(); col <= target.right(); ++col) {
            QRgb pixel = s[col - x] | 0xff000000u;
            if (pixel != key && (!clipped_ || clip_.contains(QPoint(col, row))))
                d[col] = pixel;
        }
    }
    Report(target);
}

void Canvas::SetClipRegion(const QRegion& region) {
    clip_ = region;
    clipped_ = true;
}

void Canvas::ClearClip() {
    clip_ = QRegion();
    clipped_ = false;
}

}  // namespace pagora
