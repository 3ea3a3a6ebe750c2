#include "platform/Form.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

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

void Form::closeEvent(QCloseEvent* event) {
    bool close = true;
    Guarded([&] { close = FormCloseQuery(); });
    if (close)
        event->accept();
    else
        event->ignore();
}

void PaintBox::PaintContent() {
    if (OnPaint)
        OnPaint();
}

}  // namespace pagora
