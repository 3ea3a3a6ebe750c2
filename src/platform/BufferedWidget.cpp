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

QSize BufferedWidget::DeviceSize() const {
    return Scale().DeviceSize(size()).expandedTo(QSize(1, 1));
}

void BufferedWidget::Flush(const QRect& rect) {
    if (IsUiThread()) {
        repaint(Scale().LogicalCover(rect));
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
    const ScreenScale scale = Scale();
    QRegion logical;
    for (const QRect& rect : region)
        logical += scale.LogicalCover(rect);
    repaint(logical);
    return true;
}

void BufferedWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const ScreenScale scale = Scale();
    // Drawn in device pixels: the painter's own scale cancelled, the copy is
    // a plain blit, never a resample.
    if (scale.Ratio() != 1.0)
        painter.setWorldTransform(QTransform::fromScale(1 / scale.Ratio(), 1 / scale.Ratio()));
    CanvasLock lock(*canvas_);
    for (const QRect& rect : event->region()) {
        const QRect device = scale.DeviceCover(rect) & buffer_.rect();
        if (!device.isEmpty())
            painter.drawImage(device.topLeft(), buffer_, device);
    }
}

bool BufferedWidget::FitBuffer() {
    const QSize size = DeviceSize();
    if (size == buffer_.size())
        return false;
    CanvasLock lock(*canvas_);
    QImage resized(size, kBitmapFormat);
    resized.fill(palette().color(QPalette::Window));
    QPainter(&resized).drawImage(0, 0, buffer_);
    // The canvas keeps pointing at buffer_, so the pixels move in place.
    buffer_.swap(resized);
    return true;
}

void BufferedWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (FitBuffer() && isVisible())
        Invalidate();
}

bool BufferedWidget::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    // A window moved to a screen of another scale: its buffer follows, and
    // chrome drawn from then on takes the new scale.
    if (event->type() == QEvent::ScreenChangeInternal) {
        if (isWindow())
            SetProgramScale(Scale());
        if (FitBuffer() && isVisible())
            Invalidate();
    }
    return handled;
}

void BufferedWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FitBuffer();
    Guarded([this] {
        CanvasBatch batch(*canvas_);
        PaintContent();
    });
}

}  // namespace pagora
