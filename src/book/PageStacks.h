#pragma once

#include <QImage>

#include "book/BookLayout.h"

namespace pagora {

class Canvas;

// What the page stacks are drawn from: the book's geometry and the pictures
// whose edges make up the stacks. The pictures are borrowed and must outlive
// the scene.
struct StackScene {
    StackScene(const BookLayout& layout, const QImage& background, const QImage& coverCopy,
               const QImage& leftPaper, const QImage& rightPaper)
        : PageWidth(layout.PageWidth),
          PageHeight(layout.PageHeight),
          LeftPageX(layout.LeftPageX),
          RightPageX(layout.RightPageX),
          PageY(layout.PageY),
          EdgeStep(layout.EdgeStep),
          SpineShade(layout.SpineShade),
          Background(background),
          CoverCopy(coverCopy),
          LeftPaper(leftPaper),
          RightPaper(rightPaper) {}

    int PageWidth, PageHeight;
    int LeftPageX, RightPageX, PageY;
    int EdgeStep, SpineShade;
    const QImage& Background;  // screen-sized; restores copy it at screen coordinates
    const QImage& CoverCopy;
    const QImage& LeftPaper;
    const QImage& RightPaper;
};

// The stacks' thickness once the book shows spread currentPage: the left one
// grows with the pages turned, the two together are ScreenW * 10 / 640 wide.
// A book without pages has none.
struct StackWidths {
    int Left = 0, Right = 0;
};
StackWidths TurnStacks(int currentPage, int pageCount, int screenW);

// The stacks of sheets under the left and right pages, leftStack or
// rightStack pixels thick, stepping down and outward from the spine. Each
// first restores the background where a thicker stack may have been; below
// EdgeStep nothing more is drawn. Everything is clipped to the canvas, and a
// canvas shared with workers must be locked by the caller.
void DrawLeftStack(Canvas& canvas, const StackScene& scene, int leftStack);
void DrawRightStack(Canvas& canvas, const StackScene& scene, int rightStack);

// A stack and then its page on top.
void DrawLeftPage(Canvas& canvas, const StackScene& scene, int leftStack,
                  const QImage& leftPageBmp);
void DrawRightPage(Canvas& canvas, const StackScene& scene, int rightStack,
                   const QImage& rightPageBmp);

}  // namespace pagora
