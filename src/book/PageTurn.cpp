// The page turns of the book window: bookkeeping, the two-phase curl and the
// page stacks around them.
#include <QRect>
#include <string>
#include <thread>

#include "book/PageCurl.h"
#include "book/TVudadezEroz.h"
#include "gfx/BlockCopy.h"
#include "platform/MessageBox.h"
#include "platform/Messages.h"
#include "platform/ScopedFlag.h"
#include "platform/ScreenCursor.h"
#include "platform/Tick.h"

namespace pagora {

namespace {

void Paste(QImage& target, int x, int y, const QImage& picture) {
    CopyPixels(target, QPoint(x, y), picture, picture.rect());
}

int Since(uint32_t start) {
    return int(GetTickCount() - start);
}

}  // namespace

void TVudadezEroz::WaitForLoader() {
    if (Loader)
        WaitUntil([this] { return Loader->Idle(); }, Loader.get());
}

void TVudadezEroz::QueuePages(int32_t page, uint8_t direction) {
    if (!Loader)
        return;
    WaitForLoader();
    Loader->Request(page, direction);
}

void TVudadezEroz::SetTurnStacks() {
    const StackWidths stacks = TurnStacks(CurrentPage, PageCount, ScreenW);
    LeftStack = stacks.Left;
    RightStack = stacks.Right;
}

void TVudadezEroz::DrawLeftStack() {
    pagora::DrawLeftStack(GetCanvas(), Scene(), LeftStack);
}

void TVudadezEroz::DrawRightStack(Canvas& canvas) {
    pagora::DrawRightStack(canvas, Scene(), RightStack);
}

void TVudadezEroz::ShowFrame(const QRect& written, int phase) {
    GetCanvas().Changed(written);
    if (FrameShown)
        FrameShown(phase);
}

void TVudadezEroz::TurnForward() {
    // A book without pages stays closed at its cover.
    if (PageCount <= 0 || CurrentPage > PageCount)
        return;
    QueuePages(CurrentPage + 2, 1);
    CurrentPage += 2;
    SetTurnStacks();
    if (CurrentPage > PageCount) {
        Paste(LeftPageBmp, 0, 0, BackCover);
        AnimateTurnForward();
        return;
    }
    AnimateTurnForward();
    if (exiting_)
        return;
    QueuePages(CurrentPage + 2, 1);
    DrawRightStack(GetCanvas());
    DrawLeftStack();
}

void TVudadezEroz::TurnBack() {
    if (PageCount <= 0 || CurrentPage <= 0)
        return;
    QueuePages(CurrentPage - 2, 0);
    if (CurrentPage > PageCount || Tag == -1)
        Paste(RightPageBmp, 0, 0, RightPaper);
    CurrentPage -= 2;
    SetTurnStacks();
    AnimateTurnBack();
    if (exiting_)
        return;
    QueuePages(CurrentPage - 2, 0);
    DrawLeftStack();
    DrawRightStack(GetCanvas());
}

void TVudadezEroz::AnimateTurnForward() {
    const bool closing = CurrentPage > PageCount;
    const int PW = PageWidth, PH = PageHeight, L = CurlLift, T = TurnTime / 2;
    const int Xl = LeftPageX, Xr = RightPageX, Y = PageY;
    const int curlHeight = L + PH;
    Canvas& screen = GetCanvas();
    ScopedFlag turning(Turning);
    // Hidden before the screen is captured, so no balloon is carried along.
    if (BookHint)
        BookHint->HideHint();
    {
        WaitCursor hourglass;
        if (closing) {
            CopyPixels(CurlUnder, {0, 0}, Background, QRect(Xr, Y - L, PW, curlHeight));
        } else {
            CopyPixels(CurlUnder, {0, 0}, Background, QRect(Xr, Y - L, PW, L));
            Paste(CurlUnder, 0, L, RightPaper);
            WaitForLoader();
            Paste(CurlUnder, RightPicX, L + PicY, PageSlots[3].Picture);
        }
        RightInfo = PageSlots[3].Info;
        {
            CanvasLock lock(screen);
            CopyPixels(CurlSaved, {0, 0}, screen.Image(), QRect(Xl, Y - L, PW, curlHeight));
        }
        if (!closing) {
            Paste(LeftPageBmp, 0, 0, LeftPaper);
            WaitForLoader();
            Paste(LeftPageBmp, LeftPicX, PicY, PageSlots[2].Picture);
        }
        LeftInfo = PageSlots[2].Info;
    }

    uint32_t t0 = GetTickCount();
    Sleep(100);
    PlayTurnSound();
    int t = Since(t0);

    // Lift: the right page rises from its free edge and narrows to the spine.
    int w = PW, c = PW;
    while (t < T && !exiting_) {
        w = c;
        c = LiftWidth(PW, T, t);
        try {
            CanvasLock lock(screen);
            ShowFrame(ComposeCurlFrame(screen.Image(), {Xr, Y - L}, w, curlHeight, CurlUnder, 0,
                                       RightPageBmp, L, ForwardLiftColumns(PW, c)),
                      0);
        } catch (const std::exception&) {
            ShowMessage(QString::number(t));
            break;
        }
        ProcessMessages();
        Sleep(30);
        t = Since(t0);
    }
    if (exiting_)
        return;

    // The page stands on its edge at the spine for a moment.
    {
        CanvasLock lock(screen);
        ShowFrame(ComposeEdgeFrame(screen.Image(), {Xr, Y - L}, w, curlHeight, CurlUnder, 0,
                                   RightPageBmp),
                  1);
    }
    t0 = GetTickCount();
    Sleep(30);
    {
        CanvasLock lock(screen);
        ShowFrame(ComposeCurlFrame(screen.Image(), {Xr, Y - L}, w, curlHeight, CurlUnder, 0,
                                   RightPageBmp, L, {}),
                  1);
    }

    // Fall: its other face unfolds on the left, right edge at the spine.
    t = Since(t0);
    while (t < T && !exiting_) {
        const int l = FallWidth(PW, T, t);
        {
            CanvasLock lock(screen);
            ShowFrame(
                ComposeCurlFrame(screen.Image(), {Xl + PW - l, Y - L}, l, curlHeight, CurlSaved,
                                 l - PW, LeftPageBmp, L, ForwardFallColumns(PW, l)),
                2);
        }
        ProcessMessages();
        Sleep(30);
        t = Since(t0);
    }
    if (exiting_)
        return;

    Paste(CurlSaved, 0, L, LeftPageBmp);
    screen.Draw(Xl, Y - L, CurlSaved);
    CopyPixels(RightPageBmp, {0, 0}, CurlUnder, QRect(0, L, PW, PH));
}

void TVudadezEroz::AnimateTurnBack() {
    const bool closing = CurrentPage == 0;
    const int PW = PageWidth, PH = PageHeight, L = CurlLift, T = TurnTime / 2;
    const int Xl = LeftPageX, Xr = RightPageX, Y = PageY;
    const int curlHeight = L + PH;
    Canvas& screen = GetCanvas();
    ScopedFlag turning(Turning);
    // Hidden before the screen is captured, so no balloon is carried along.
    if (BookHint)
        BookHint->HideHint();
    {
        WaitCursor hourglass;
        {
            CanvasLock lock(screen);
            CopyPixels(CurlSaved, {0, 0}, screen.Image(), QRect(Xr, Y - L, PW, curlHeight));
        }
        if (!closing) {
            CopyPixels(CurlUnder, {0, 0}, Background, QRect(Xl, Y - L, PW, L));
            Paste(CurlUnder, 0, L, LeftPaper);
            WaitForLoader();
            Paste(CurlUnder, LeftPicX, L + PicY, PageSlots[0].Picture);
            LeftInfo = PageSlots[0].Info;
            Paste(RightPageBmp, RightPicX, PicY, PageSlots[1].Picture);
            RightInfo = PageSlots[1].Info;
        } else {
            CopyPixels(CurlUnder, {0, 0}, Background, QRect(Xl, Y - L, PW, curlHeight));
            LeftInfo = MemoryStream();
            Paste(RightPageBmp, 0, 0, CoverCopy);
            RightInfo = MemoryStream();
        }
    }
    if (closing) {
        // The left stack goes with the last page.
        screen.CopyRect(QRect(Xl - 30, Y, 30, PH + 30), Background, QRect(Xl - 30, Y, 30, PH + 30));
        screen.CopyRect(QRect(Xl - 30, Y + PH, Xr - Xl + 30, 30), Background,
                        QRect(Xl - 30, Y + PH, Xr - Xl + 30, 30));
    }
    uint32_t t0 = GetTickCount();
    Sleep(100);
    PlayTurnSound();
    int t = Since(t0);

    // Lift on the left, right-aligned at the spine; no messages meanwhile.
    int w = PW, c = PW;
    while (t < T && !exiting_) {
        w = c;
        c = LiftWidth(PW, T, t);
        if (c < 20)
            std::this_thread::yield();
        {
            CanvasLock lock(screen);
            ShowFrame(
                ComposeCurlFrame(screen.Image(), {Xl + PW - w, Y - L}, w, curlHeight, CurlUnder,
                                 w - PW, LeftPageBmp, L, BackLiftColumns(PW, w, c)),
                0);
        }
        Sleep(30);
        t = Since(t0);
    }
    if (exiting_)
        return;

    {
        CanvasLock lock(screen);
        ShowFrame(ComposeEdgeFrame(screen.Image(), {Xl + PW - w, Y - L}, w, curlHeight, CurlUnder,
                                   w - PW, RightPageBmp),
                  1);
    }
    t0 = GetTickCount();
    Sleep(30);
    {
        CanvasLock lock(screen);
        ShowFrame(ComposeCurlFrame(screen.Image(), {Xl + PW - w, Y - L}, w, curlHeight, CurlUnder,
                                   w - PW, LeftPageBmp, L, {}),
                  1);
    }

    // Fall on the right, from the spine outward.
    while ((t = Since(t0)) < T && !exiting_) {
        const int b = FallWidth(PW, T, t);
        {
            CanvasLock lock(screen);
            ShowFrame(ComposeCurlFrame(screen.Image(), {Xr, Y - L}, b, curlHeight, CurlSaved, 0,
                                       RightPageBmp, L, BackFallColumns(PW, b)),
                      2);
        }
        Sleep(30);
    }
    if (exiting_)
        return;

    Paste(CurlSaved, 0, L, RightPageBmp);
    screen.Draw(Xr, Y - L, CurlSaved);
    CopyPixels(LeftPageBmp, {0, 0}, CurlUnder, QRect(0, L, PW, PH));
}

}  // namespace pagora
