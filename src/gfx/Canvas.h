#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPolygon>
#include <QRegion>
#include <QString>
#include <functional>
#include <mutex>

class QPainter;

namespace pagora {

// A drawing surface over a bitmap or a window's back buffer, with the painter
// operations the windows use. Coordinates follow the classic raster rules:
// right and bottom edges and a line's end point are excluded. Every operation
// reports the rectangle it changed through the change hook, which is how a
// window learns what to flush. Workers draw only between Lock and Unlock.
class Canvas {
  public:
    using ChangeHook = std::function<void(const QRect&)>;

    explicit Canvas(QImage* image);  // not owned; kept kBitmapFormat
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    QImage& Image() { return *image_; }
    const QImage& Image() const { return *image_; }
    int Width() const { return image_->width(); }
    int Height() const { return image_->height(); }
    uchar* ScanLine(int y) { return image_->scanLine(y); }

    // Recursive: the thread holding the lock may take it again.
    void Lock() { mutex_.lock(); }
    bool TryLock() { return mutex_.try_lock(); }
    void Unlock() { mutex_.unlock(); }

    void SetChangeHook(ChangeHook hook) { hook_ = std::move(hook); }
    // Reports a rectangle changed through ScanLine; clipped to the surface.
    void Changed(const QRect& rect);

    // Reports made between BeginBatch and EndBatch reach the hook as one
    // rectangle at the end, so a burst of small drawings flushes once.
    void BeginBatch();
    void EndBatch();

    // Pen, brush and font, as the drawing operations use them.
    QColor PenColor = Qt::black;
    int PenWidth = 1;
    QColor BrushColor = Qt::white;
    bool BrushClear = false;  // shapes and text leave their background alone
    QFont Font;
    QColor FontColor = Qt::black;
    bool Antialias = false;

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void FillRect(const QRect& rect);  // brush colour, no outline
    void Rectangle(int left, int top, int right, int bottom);
    void RoundRect(int left, int top, int right, int bottom, int cornerW, int cornerH);
    void Ellipse(int left, int top, int right, int bottom);
    void Polygon(const QPolygon& points);
    // Text with its cell's top-left at (x, y).
    void TextOut(int x, int y, const QString& text);
    QSize TextExtent(const QString& text) const;

    // Pixel copies are clipped against both bitmaps.
    void Draw(int x, int y, const QImage& picture);
    void CopyRect(const QRect& dest, const QImage& source, const QRect& sourceRect,
                  bool fast = true);
    void StretchDraw(const QRect& dest, const QImage& picture, bool fast = true);
    // Pixels of keyColor in the picture are not drawn.
    void DrawTransparent(int x, int y, const QImage& picture, QRgb keyColor);

    void SetClipRegion(const QRegion& region);
    void ClearClip();
    bool HasClip() const { return clipped_; }

  private:
    void Begin(QPainter& painter) const;
    void Report(const QRect& rect);

    QImage* image_;
    std::recursive_mutex mutex_;
    ChangeHook hook_;
    QPoint penPos_;
    QRegion clip_;
    bool clipped_ = false;
    int batchDepth_ = 0;
    QRect pending_;
};

// A batch of reports for a scope.
class CanvasBatch {
  public:
    explicit CanvasBatch(Canvas& canvas) : canvas_(canvas) { canvas_.BeginBatch(); }
    ~CanvasBatch() { canvas_.EndBatch(); }
    CanvasBatch(const CanvasBatch&) = delete;
    CanvasBatch& operator=(const CanvasBatch&) = delete;

  private:
    Canvas& canvas_;
};

// Holds a canvas's lock for a scope.
class CanvasLock {
  public:
    explicit CanvasLock(Canvas& canvas) : canvas_(canvas) { canvas_.Lock(); }
    ~CanvasLock() { canvas_.Unlock(); }
    CanvasLock(const CanvasLock&) = delete;
    CanvasLock& operator=(const CanvasLock&) = delete;

  private:
    Canvas& canvas_;
};

}  // namespace pagora
