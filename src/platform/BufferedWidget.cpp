#include "platform/BufferedWidget.h"

#include <QMetaObject>
#include <QPaintEvent>
#include <QPainter>

#include "gfx/Bitmap.h"
#include "platform/MessageBox.h"
#include "platform/Thread.h"

namespace pagora {

BufferedWidget::BufferedWidget(QWidget* parent)
    : QWidget(parent), buffer_(1, 1, kBitmapFormat), canvas_(std::make_unique<Canvas>(&buffer_)) {
    buffer_.fill(Qt::black);
    // Qt need not clear what the buffer covers completely.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    canvas_->SetChangeHook([this](const QRect& rect) { Flush(rect); });
}

BufferedWidget::~BufferedWidget() {
    canvas_->SetChangeHook({});
}

void BufferedWidget::Invalidate() {
    Guarded([this] {
        CanvasBatch batch(*canvas_);
        PaintContent();
    });
    repaint();
}

void BufferedWidget::Flush(const QRect& rect) {
    if (IsUiThread()) {
        repaint(rect);
        return;
    }
    bool post = false;
    {
        std::lock_guard lock(pendingMutex_);
        post = pending_.isEmpty();
        pending_ += rect;
    }
    if (post)
        QMetaObject::invokeMethod(
            this, [this] { FlushPending(); }, Qt::QueuedConnection);
}

bool BufferedWidget::FlushPending() {
    QRegion region;
    {
        std::lock_guard lock(pendingMutex_);
        region.swap(pending_);
    }
    if (region.isEmpty())
        return false;
    repaint(region);
    return true;
}

void BufferedWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    CanvasLock lock(*canvas_);
    for (const QRect& rect : event->region())
        painter.drawImage(rect.topLeft(), buffer_, rect);
}

void BufferedWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QSize size = this->size().expandedTo(QSize(1, 1));
    if (size == buffer_.size())
        return;
    {
        CanvasLock lock(*canvas_);
        QImage resized(size, kBitmapFormat);
        resized.fill(palette().color(QPalette::Window));
        QPainter(&resized).drawImage(0, 0, buffer_);
        // The canvas keeps pointing at buffer_, so the pixels move in place.
        buffer_.swap(resized);
    }
    if (isVisible())
        Invalidate();
}

void BufferedWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Guarded([this] {
        CanvasBatch batch(*canvas_);
        PaintContent();
    });
}

}  // namespace pagora
