#include "shell/TPaintBoxXp.h"

#include <QMouseEvent>
#include <QPointer>

#include "platform/MessageBox.h"

namespace pagora {

namespace {
void Call(const std::function<void()>& handler) {
    if (handler)
        Guarded(handler);
}
void Call(const std::function<void(QPoint)>& handler, QPoint at) {
    if (handler)
        Guarded([&] { handler(at); });
}
}  // namespace

TPaintBoxXp::TPaintBoxXp(QWidget* parent) : PaintBox(parent) {}

void TPaintBoxXp::enterEvent(QEnterEvent*) {
    Call(OnMouseEnter);
}

void TPaintBoxXp::leaveEvent(QEvent*) {
    Call(OnMouseLeave);
}

void TPaintBoxXp::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = true;
    Call(OnMouseDown, event->globalPosition().toPoint());
}

void TPaintBoxXp::mouseMoveEvent(QMouseEvent* event) {
    if (pressed_)
        Call(OnMouseDrag, event->globalPosition().toPoint());
}

void TPaintBoxXp::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_)
        return;
    pressed_ = false;
    const bool inside = rect().contains(event->position().toPoint());
    // A handler may close the window and take this box with it.
    QPointer<TPaintBoxXp> alive(this);
    Call(OnMouseUp, event->globalPosition().toPoint());
    if (alive && inside)
        Call(OnClick);
}

}  // namespace pagora
