#include "book/PageStacks.h"

#include <QRect>
#include <cstdint>

#include "gfx/Canvas.h"
#include "gfx/Draw.h"

namespace pagora {

namespace {

// Rectangles are given as (x1, y1)-(x2, y2), right and bottom excluded.
QRect Edges(int x1, int y1, int x2, int y2) {
    return QRect(x1, y1, x2 - x1, y2 - y1);
}

// The source rectangle stretched onto the destination; both are clipped by
// the canvas copy, so rectangles off the screen or the picture are safe.
void Copy(Canvas& canvas, const QImage& source, const QRect& from, const QRect& to) {
    if (from.width() <= 0 || from.height() <= 0 || to.width() <= 0 || to.height() <= 0)
        return;
    canvas.CopyRect(to, source, from);
}

void Restore(Canvas& canvas, const StackScene& scene, const QRect& rect) {
    Copy(canvas, scene.Background, rect, rect);
}

QColor PixelOrBlack(const Canvas& canvas, int x, int y) {
    const QImage& image = canvas.Image();
    return image.valid(x, y) ? QColor(image.pixel(x, y)) : QColor(Qt::black);
}

}  // namespace

StackWidths TurnStacks(int currentPage, int pageCount, int screenW) {
    if (pageCount <= 0)
        return {};
    const int64_t left = int64_t{currentPage} * 10 / pageCount * screenW / 640;
    const int64_t total = int64_t{screenW} * 10 / 640;
    return {int(left), int(total - left)};
}

void DrawLeftStack(Canvas& canvas, const StackScene& scene, int leftStack) {
    const int S = leftStack, E = scene.EdgeStep, G = scene.SpineShade;
    const int PW = scene.PageWidth, PH = scene.PageHeight;
    const int Xl = scene.LeftPageX, Xr = scene.RightPageX, Y = scene.PageY;
    const QImage& cover = scene.CoverCopy;
    const QImage& paper = scene.LeftPaper;
    CanvasBatch batch(canvas);

    Restore(canvas, scene, Edges(Xl - S - E - 20, Y + S - 2, Xl, Y + PH + S + 3));
    Restore(canvas, scene, Edges(Xl - S - 20, Y + PH, Xr, Y + PH + S + E + 20));
    if (S < E)
        return;
    // The cover's left and bottom edges under the stack.
    Copy(canvas, cover, Edges(0, 0, E, PH), Edges(Xl - S, Y + S - 2, Xl + E - S, Y + PH + S - 1));
    Copy(canvas, cover, Edges(4, PH - E, PW, PH),
         Edges(Xl - S + 2, Y + PH + S - E - 1, Xl + PW - S + 2, Y + PH + S - 1));
    // Closes the stack's corner at the spine, in the colour of the bottom
    // strip just drawn, as the right stack does.
    const QColor corner = PixelOrBlack(canvas, Xl - S + 2, Y + PH + S - E - 1);
    DrawLine(canvas, corner, 4, Xl + PW - 1, Y + PH, Xl + PW - S + 1, Y + PH + S - 3);
    for (int k = 1; k <= (S - E) / 2; ++k) {
        const int A = 2 * k;
        Copy(canvas, paper, Edges(0, 0, 2, PH), Edges(Xl - A, Y + E + A, Xl - A + 2, Y + PH + A));
        Copy(canvas, cover, Edges(2 * G, PH - S, 2 * G + 2, PH - S + 2),
             Edges(Xl + PW - A - 2, Y + PH + A - 2, Xl + PW - A + 2, Y + PH + A));
        Copy(canvas, paper, Edges(0, PH - 2, PW, PH),
             Edges(Xl - A - 2, Y + PH + A - 2, Xl + PW - A - 2, Y + PH + A));
    }
}

void DrawRightStack(Canvas& canvas, const StackScene& scene, int rightStack) {
    const int S = rightStack, E = scene.EdgeStep, G = scene.SpineShade;
    const int PW = scene.PageWidth, PH = scene.PageHeight;
    const int Xr = scene.RightPageX, Y = scene.PageY;
    const QImage& cover = scene.CoverCopy;
    const QImage& paper = scene.RightPaper;
    CanvasBatch batch(canvas);

    Restore(canvas, scene, Edges(Xr + PW + S, Y + S - 3, Xr + PW + S + E + 20, Y + PH + S + 3));
    Restore(canvas, scene, Edges(Xr + S - 1, Y + PH + S, Xr + PW + S + 20, Y + PH + S + E + 20));
    if (S < E)
        return;
    Copy(canvas, cover, Edges(PW - E - 2, 0, PW, PH),
         Edges(Xr + PW + S - E - 2, Y + S - 2, Xr + PW + S, Y + PH + S - 1));
    Copy(canvas, cover, Edges(4, PH - E, PW, PH),
         Edges(Xr + S - 2, Y + PH + S - E - 1, Xr + PW + S, Y + PH + S - 1));
    // The corner line takes the colour of the bottom strip just drawn.
    const QColor corner = PixelOrBlack(canvas, Xr + S - 2, Y + PH + S - E - 1);
    DrawLine(canvas, corner, 2, Xr + 1, Y + PH, Xr + S - 2, Y + PH + S - 3);
    for (int k = 1; k <= (S - E) / 2; ++k) {
        const int B = 2 * k;
        Copy(canvas, paper, Edges(PW - 2, 0, PW, PH),
             Edges(Xr + PW + B - 2, Y + E + B, Xr + PW + B, Y + PH + B));
        Copy(canvas, cover, Edges(2 * G, PH - S, 2 * G + 2, PH - S + 2),
             Edges(Xr + B, Y + PH + B - 2, Xr + B + 3, Y + PH + B));
        Copy(canvas, paper, Edges(0, PH - 2, PW, PH),
             Edges(Xr + B + E, Y + PH + B - 2, Xr + PW + B, Y + PH + B));
    }
}

void DrawLeftPage(Canvas& canvas, const StackScene& scene, int leftStack,
                  const QImage& leftPageBmp) {
    CanvasBatch batch(canvas);
    DrawLeftStack(canvas, scene, leftStack);
    canvas.Draw(scene.LeftPageX, scene.PageY, leftPageBmp);
}

void DrawRightPage(Canvas& canvas, const StackScene& scene, int rightStack,
                   const QImage& rightPageBmp) {
    CanvasBatch batch(canvas);
    DrawRightStack(canvas, scene, rightStack);
    canvas.Draw(scene.RightPageX, scene.PageY, rightPageBmp);
}

}  // namespace pagora
