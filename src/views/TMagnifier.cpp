#include "views/TMagnifier.h"

#include <algorithm>

#include "gfx/Bitmap.h"
#include "gfx/BlockCopy.h"
#include "gfx/Fit.h"
#include "platform/ScreenCursor.h"
#include "views/MagnifierGeometry.h"

namespace pagora {

namespace {

constexpr int kDefaultLens = 144;
const QColor kFrameColor(0, 128, 0);

}  // namespace

QImage LensSource::Sample(const QRect& area) const {
    QImage out = NewBitmap24(area.width(), area.height());
    out.fill(Background);
    CopyPixels(out, Offset - area.topLeft(), Picture, Picture.rect());
    return out;
}

TMagnifier::TMagnifier(pagora::Canvas& canvas, int areaWidth, int areaHeight, bool)
    : canvas_(&canvas), areaWidth_(std::max(areaWidth, 0)), areaHeight_(std::max(areaHeight, 0)) {
    lensCanvas_.BrushClear = true;
    lensCanvas_.PenColor = kFrameColor;
    SetLensWidth(kDefaultLens);
    SetLensHeight(kDefaultLens);
    savedArea_ = NewBitmap24(areaWidth_, areaHeight_);
    CanvasLock lock(canvas);
    CopyPixels(savedArea_, QPoint(0, 0), canvas.Image(), savedArea_.rect());
    // Last, and here: from now on the destructor runs and shows it again.
    ShowCursor(false);
}

TMagnifier::TMagnifier(pagora::Canvas& canvas, int areaWidth, int areaHeight)
    : TMagnifier(canvas, areaWidth, areaHeight, true) {
    sourceBitmap_.Picture = savedArea_;
    sourceBitmap_.Size = savedArea_.size();
}

TMagnifier::TMagnifier(pagora::Canvas& canvas, const QImage& picture, int areaWidth, int areaHeight,
                       const QColor& background)
    : TMagnifier(canvas, areaWidth, areaHeight, true) {
    sourceBitmap_.Picture = picture;
    MakeBitmap24(sourceBitmap_.Picture);
    sourceBitmap_.Size = SourceFrameSize(savedArea_.size(), picture.size());
    sourceBitmap_.Offset = PictureOffset(sourceBitmap_.Size, picture.size());
    sourceBitmap_.Background = background;
}

TMagnifier::~TMagnifier() {
    {
        CanvasLock lock(*canvas_);
        Restore(lensRect_);
    }
    ShowCursor(true);
}

void TMagnifier::SetLensWidth(int width) {
    lensWidth_ = std::max(width, 0);
    viewWidth_ = lensWidth_ / zoom_;
    lensBitmap_ = NewBitmap24(lensWidth_, lensHeight_);
}

void TMagnifier::SetLensHeight(int height) {
    lensHeight_ = std::max(height, 0);
    viewHeight_ = lensHeight_ / zoom_;
    lensBitmap_ = NewBitmap24(lensWidth_, lensHeight_);
}

void TMagnifier::Restore(const QRect& rect) {
    const QRect inside = rect & savedArea_.rect();
    if (!inside.isEmpty())
        canvas_->CopyRect(inside, savedArea_, inside);
}

void TMagnifier::MoveTo(int x, int y) {
    pagora::Canvas& canvas = *canvas_;
    CanvasLock lock(canvas);
    CanvasBatch batch(canvas);
    const QSize lens(lensWidth_, lensHeight_);
    const QPoint topLeft = LensTopLeft(x, y, lensWidth_, lensHeight_);
    for (const QRect& strip : UncoveredStrips(lensRect_, topLeft, lens))
        Restore(strip);
    lensRect_ = QRect(topLeft, lens);
    if (lens.isEmpty())
        return;
    const QRect sampled =
        SampledArea(x, y, viewWidth_, viewHeight_, sourceBitmap_.Size, savedArea_.size());
    if (sampled.isEmpty()) {
        // Nothing to enlarge (a lens of a few pixels): the frame alone.
        lensBitmap_.fill(sourceBitmap_.Background);
    } else {
        workBitmap_ = sourceBitmap_.Sample(sampled);
        lensBitmap_ = StretchBitmap(workBitmap_, lensWidth_, lensHeight_, false);
    }
    lensCanvas_.Rectangle(0, 0, lensWidth_, lensHeight_);
    const QRect shown = lensRect_ & savedArea_.rect();
    if (!shown.isEmpty())
        canvas.CopyRect(shown, lensBitmap_, shown.translated(-topLeft));
}

}  // namespace pagora
