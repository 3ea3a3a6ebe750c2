#pragma once

#include <QImage>
#include <QRegion>
#include <QWidget>
#include <memory>
#include <mutex>

#include "gfx/Canvas.h"
#include "platform/ScreenScale.h"

namespace pagora {

// A widget whose canvas is its back buffer. Drawing from the UI thread shows at
// once; drawing from a worker (under the canvas lock) shows through a queued
// flush. Qt's paint event only copies the buffer to the screen; the widget's
// own painting (PaintContent) draws into the buffer when it is shown or
// resized, never from inside the paint event.
class BufferedWidget : public QWidget {
  public:
    explicit BufferedWidget(QWidget* parent = nullptr);
    ~BufferedWidget() override;

    Canvas& GetCanvas() { return *canvas_; }
    const QImage& BackBuffer() const { return buffer_; }
    // The scale of the screen the widget is on, and the widget's size in
    // device pixels: what the buffer is made to, also before it is shown.
    ScreenScale Scale() const { return ScreenScale::Of(this); }
    QSize DeviceSize() const;

    // Runs the widget's own painting into the buffer and shows all of it.
    void Invalidate();
    // Shows at once what workers have drawn and not yet shown, for a UI thread
    // that waits without dispatching messages; true when there was any.
    bool FlushPending();

  protected:
    virtual void PaintContent() {}

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

  private:
    // Makes the buffer the widget's device size; true when it changed.
    bool FitBuffer();
    void Flush(const QRect& rect);

    QImage buffer_;
    std::unique_ptr<Canvas> canvas_;
    std::mutex pendingMutex_;
    QRegion pending_;
};

}  // namespace pagora
