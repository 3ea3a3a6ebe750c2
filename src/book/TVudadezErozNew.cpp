#include "book/TVudadezErozNew.h"

#include <QTimer>

#include "book/TBootFlash.h"
#include "gfx/Bitmap.h"
#include "gfx/BlockCopy.h"
#include "platform/Automation.h"
#include "platform/MessageBox.h"
#include "platform/ScreenCapture.h"

namespace pagora {

TVudadezErozNew::TVudadezErozNew(Form* owner, int32_t baseLow, int32_t baseHigh,
                                 const AlbumProfile* profile, std::unique_ptr<AlbumArchive> archive,
                                 QString albumPath)
    : TVudadezEroz(owner, baseLow, baseHigh, profile, std::move(archive), std::move(albumPath)) {
    TakeScreenShot();
    FirstPaint = !automation::SkipOpening();
}

void TVudadezErozNew::TakeScreenShot() {
    const QImage screen = CaptureScreen();
    ScreenShot = NewBitmap24(ScreenW, ScreenH);
    CopyPixels(ScreenShot, {0, 0}, screen, screen.rect());
}

void TVudadezErozNew::MakeClosedBook() {
    QImage work = NewBitmap24(ScreenW, ScreenH);
    {
        Canvas canvas(&work);
        canvas.Draw(0, 0, Background);
        DrawRightStack(canvas);
        canvas.Draw(RightPageX, PageY, RightPageBmp);
    }
    // On narrow screens the book reaches past the screen's edge; that part
    // stays black and is never seen.
    ClosedBook = NewBitmap24(PageWidth + RightStack, PageHeight + RightStack);
    CopyPixels(ClosedBook, {0, 0}, work, QRect(QPoint(RightPageX, PageY), ClosedBook.size()));
}

void TVudadezErozNew::FormPaint() {
    if (!FirstPaint) {
        TVudadezEroz::FormPaint();
        return;
    }
    // Before the window is on the screen an animation would go unseen, and
    // this paint's flushes are held back: the screen as it was stands in,
    // without the labels, which come with the book.
    GetCanvas().Draw(0, 0, ScreenShot);
    for (TStrongLabel* label : {&lblUP, &lblDown, &lblPage}) {
        if (label->Visible()) {
            label->SetVisible(false);
            hiddenLabels_.push_back(label);
        }
    }
}

void TVudadezErozNew::paintEvent(QPaintEvent* event) {
    TVudadezEroz::paintEvent(event);
    if (FirstPaint && !openingQueued_) {
        openingQueued_ = true;
        QTimer::singleShot(0, this, [this] { PlayOpening(); });
    }
}

void TVudadezErozNew::PlayOpening() {
    if (!FirstPaint)
        return;
    Guarded([this] {
        TBootFlash flash(GetCanvas());
        MakeClosedBook();
        flash.AddPicture(&Background, {0, 0});
        flash.AddPicture(&ClosedBook, {RightPageX, PageY});
        automation::Record("opening " + std::to_string(automation::Elapsed()));
        flash.PlayOn(*this, kOpeningLimitMilliseconds, [this] {
            if (OpeningShown) {
                CanvasLock lock(GetCanvas());
                OpeningShown(GetCanvas().Image());
            }
        });
    });
    FirstPaint = false;
    ScreenShot = QImage();
    ClosedBook = QImage();
    Invalidate();
    for (TStrongLabel* label : hiddenLabels_)
        label->SetVisible(true);
    hiddenLabels_.clear();
}

}  // namespace pagora
