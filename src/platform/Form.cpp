#include "platform/Form.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QWheelEvent>

#include "platform/MessageBox.h"

namespace pagora {

Form::Form(QWidget* owner) : BufferedWidget(owner) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void Form::ShowFullScreen() {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    showFullScreen();
    activateWindow();
    raise();
}

void Form::ShowCentred(int width, int height) {
    resize(width, height);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width) / 2, area.y() + (area.height() - height) / 2);
    }
    show();
}

void Form::keyPressEvent(QKeyEvent* event) {
    Guarded([&] { FormKeyDown(event->key(), event->modifiers()); });
}

QPoint Form::GlobalFromDevice(QPoint device) const {
    return mapToGlobal(Scale().LogicalPoint(device));
}

void Form::mousePressEvent(QMouseEvent* event) {
    const QPoint at = Scale().DevicePoint(event->position());
    Guarded([&] { FormMouseDown(event->button(), at.x(), at.y()); });
}

void Form::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = Scale().DevicePoint(event->position());
    Guarded([&] { FormMouseMove(at.x(), at.y()); });
}

void Form::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = Scale().DevicePoint(event->position());
    Guarded([&] { FormMouseUp(event->button(), at.x(), at.y()); });
}

void Form::wheelEvent(QWheelEvent* event) {
    // A notch is 120; finer wheels and touchpads add up to whole notches.
    constexpr int kNotch = 120;
    wheelRest_ += event->angleDelta().y();
    const QPoint at = Scale().DevicePoint(event->position());
    while (wheelRest_ >= kNotch || wheelRest_ <= -kNotch) {
        const int delta = wheelRest_ > 0 ? 1 : -1;
        wheelRest_ -= delta * kNotch;
        Guarded([&] { FormMouseWheel(delta, at.x(), at.y()); });
    }
    event->accept();
}

void Form::closeEvent(QCloseEvent* event) {
    bool close = true;
    Guarded([&] { close = FormCloseQuery(); });
    if (close)
        event->accept();
    else
        event->ignore();
}

PaintBox::PaintBox(QWidget* parent) : BufferedWidget(parent) {
    setMouseTracking(true);
}

void PaintBox::PaintContent() {
    if (OnPaint)
        OnPaint();
}

void PaintBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        pressed_ = true;
    if (!OnMouseDown && !(OnClick && event->button() == Qt::LeftButton)) {
        event->ignore();
        return;
    }
    const QPoint at = Scale().DevicePoint(event->position());
    // Copies, since a handler may replace itself.
    if (const auto handler = OnMouseDown)
        Guarded([&] { handler(event->button(), at.x(), at.y()); });
}

void PaintBox::mouseMoveEvent(QMouseEvent* event) {
    if (!OnMouseMove) {
        event->ignore();
        return;
    }
    const QPoint at = Scale().DevicePoint(event->position());
    const auto handler = OnMouseMove;
    Guarded([&] { handler(at.x(), at.y()); });
}

void PaintBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !OnClick) {
        event->ignore();
        return;
    }
    const bool click = pressed_ && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) {
        const auto handler = OnClick;
        Guarded(handler);
    }
}

}  // namespace pagora
