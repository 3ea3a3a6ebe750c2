#pragma once

#include <QPoint>
#include <functional>

#include "platform/Form.h"

namespace pagora {

// A paint box that also tells when the mouse enters, leaves, presses and
// releases over it; a release over it after a press is a click. Every
// handler is guarded. Tag is free for its owner (the look of a title button,
// the index of a skinned control).
class TPaintBoxXp : public PaintBox {
  public:
    explicit TPaintBoxXp(QWidget* parent);

    int Tag = 0;
    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseLeave;
    // Positions on the desktop, in logical pixels, for moving windows.
    std::function<void(QPoint global)> OnMouseDown;
    std::function<void(QPoint global)> OnMouseDrag;
    std::function<void(QPoint global)> OnMouseUp;
    std::function<void()> OnClick;

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

}  // namespace pagora
