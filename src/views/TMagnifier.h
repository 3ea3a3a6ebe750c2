#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include "gfx/Canvas.h"

namespace pagora {

// What the lens samples: a picture centred in a frame of the area's shape, the
// rest of the frame (and beyond it) the background colour. The frame is never
// allocated, so a panorama costs no more than its own pixels.
struct LensSource {
    QImage Picture;
    QPoint Offset;  // of the picture in the frame
    QSize Size;     // of the frame
    QColor Background = Qt::black;

    // The area of the frame as a new bitmap of its size.
    QImage Sample(const QRect& area) const;
};

// A rectangular lens drawn straight onto a canvas and moved with the pointer:
// it shows the area around the pointer Zoom times enlarged, in a one-pixel
// green frame, and hides the cursor while it is up. It keeps a copy of the
// area taken at construction and restores from it whatever the lens uncovers,
// so it leaves no trace. UI thread only.
class TMagnifier {
  public:
    // Magnifies what the canvas shows in (0, 0, areaWidth, areaHeight).
    TMagnifier(pagora::Canvas& canvas, int areaWidth, int areaHeight);
    // Magnifies a picture that the area shows fitted and centred, at the
    // picture's own resolution.
    TMagnifier(pagora::Canvas& canvas, const QImage& picture, int areaWidth, int areaHeight,
               const QColor& background);
    virtual ~TMagnifier();
    TMagnifier(const TMagnifier&) = delete;
    TMagnifier& operator=(const TMagnifier&) = delete;

    void SetLensWidth(int width);
    void SetLensHeight(int height);
    // Draws the lens centred on (x, y) of the canvas.
    void MoveTo(int x, int y);

    pagora::Canvas& Canvas() const { return *canvas_; }
    int AreaWidth() const { return areaWidth_; }
    int AreaHeight() const { return areaHeight_; }
    int Zoom() const { return zoom_; }
    int LensWidth() const { return lensWidth_; }
    int LensHeight() const { return lensHeight_; }
    int ViewWidth() const { return viewWidth_; }
    int ViewHeight() const { return viewHeight_; }
    const QImage& LensBitmap() const { return lensBitmap_; }
    const QImage& SavedArea() const { return savedArea_; }
    const LensSource& SourceBitmap() const { return sourceBitmap_; }
    const QImage& WorkBitmap() const { return workBitmap_; }
    QRect LensRect() const { return lensRect_; }

  private:
    TMagnifier(pagora::Canvas& canvas, int areaWidth, int areaHeight, bool);
    // Copies a rectangle of the saved area back, clipped to the area.
    void Restore(const QRect& rect);

    pagora::Canvas* canvas_;
    int areaWidth_;
    int areaHeight_;
    int zoom_ = 2;
    int lensWidth_ = 0;
    int lensHeight_ = 0;
    int viewWidth_ = 0;
    int viewHeight_ = 0;
    QImage lensBitmap_;
    pagora::Canvas lensCanvas_{&lensBitmap_};
    QImage savedArea_;
    LensSource sourceBitmap_;
    QImage workBitmap_;
    QRect lensRect_;
};

}  // namespace pagora
