#pragma once

#include <QString>
#include <functional>

#include "platform/BufferedWidget.h"

namespace pagora {

// A top-level window of the viewer: frameless, and full screen unless it is a
// dialog-sized one. Key and mouse handlers are guarded: an exception reaches
// the message box and never leaves a Qt handler. Pointer positions reach the
// handlers in device pixels, the canvas's own.
class Form : public BufferedWidget {
  public:
    explicit Form(QWidget* owner = nullptr);

    void ShowFullScreen();
    // Centred on the primary screen at the given client size, in logical
    // pixels: a window of fixed size keeps its physical size on any scale.
    void ShowCentred(int width, int height);
    // A position on the canvas (device pixels) on the desktop, for placing
    // Qt's own windows such as menus.
    QPoint GlobalFromDevice(QPoint device) const;

  protected:
    virtual void FormPaint() {}
    virtual void FormKeyDown(int /*key*/, Qt::KeyboardModifiers /*modifiers*/) {}
    virtual void FormMouseDown(Qt::MouseButton /*button*/, int /*x*/, int /*y*/) {}
    virtual void FormMouseMove(int /*x*/, int /*y*/) {}
    virtual void FormMouseUp(Qt::MouseButton /*button*/, int /*x*/, int /*y*/) {}
    // One call per notch of the wheel: delta 1 turned away from the user, -1 towards.
    virtual void FormMouseWheel(int /*delta*/, int /*x*/, int /*y*/) {}
    // Return false to keep the window open.
    virtual bool FormCloseQuery() { return true; }

    void PaintContent() override { FormPaint(); }
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // Wheel movement short of a notch, kept for the next event.
    int wheelRest_ = 0;
};

// A child area with its own canvas and painter, such as a splash's picture box.
// Its mouse handlers are guarded and get positions in its device pixels; a
// button it has no handler for reaches its parent.
class PaintBox : public BufferedWidget {
  public:
    explicit PaintBox(QWidget* parent);
    std::function<void()> OnPaint;
    std::function<void(Qt::MouseButton button, int x, int y)> OnMouseDown;
    std::function<void(int x, int y)> OnMouseMove;
    // The left button pressed and released over the box.
    std::function<void()> OnClick;

  protected:
    void PaintContent() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

}  // namespace pagora
