// What lies under the pointer on the book: page corners, pictures on the
// pages and the page-edge stacks, told by the cursor, the balloon and the
// hot zone a click acts on.
#include <QStringView>

#include "archive/HelperLibrary.h"
#include "archive/HotSpotRecord.h"
#include "book/HotSpotScale.h"
#include "book/TVudadezEroz.h"
#include "platform/GbkText.h"
#include "platform/Globals.h"

namespace pagora {

namespace {

constexpr int kCornerStrip = 16;

bool EqualsIgnoringCase(const std::string& bytes, const char* word) {
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()))
               .compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

HintText OneRow(const QString& text) {
    return {HintRow{QString(), text}};
}

}  // namespace

HintText TVudadezEroz::PictureHint(const HotSpotRecord& spot) const {
    const bool english = LanguageFlag == 1;
    const QString date = english ? FromGbk(EnglishDateText(spot.ShootTime))
                                 : FromGbk(ChineseDateText(spot.ShootTime));
    if (english)
        return {{QStringLiteral("Title: "), FromGbk(spot.Title)},
                {QStringLiteral("Shoot Time: "), date},
                {QStringLiteral("Scription: "), FromGbk(spot.Description)}};
    return {{QStringLiteral("标    题："), FromGbk(spot.Title)},
            {QStringLiteral("拍摄时间："), date},
            {QStringLiteral("描    述："), FromGbk(spot.Description)}};
}

void TVudadezEroz::FormMouseMove(int X, int Y) {
    // Nothing under the pointer changes while a page is in the air.
    if (Turning)
        return;
    if (CurrentPage > PageCount) {
        setCursor(Qt::ArrowCursor);
        HotZone = 3;
        return;
    }
    if (!BookHint)
        return;
    BookHint->HideHint();
    const bool english = LanguageFlag == 1;
    const bool onPageRows = Y >= PageY && Y <= PageY + PageHeight;
    if (X <= RightPageX) {
        if (HitTestPage(X - LeftPageX - LeftPicX, Y - PageY - PicY, LeftInfo, X, Y))
            return;
        // Closed at the cover there is no left page to turn back.
        if (CurrentPage > 0 && X >= LeftPageX && X <= LeftPageX + kCornerStrip && onPageRows) {
            HotZone = 0;
            BookHint->SetHintSize(QRect(0, 0, 48, 40));
            BookHint->ShowHintDelayed(
                X, Y, OneRow(english ? QStringLiteral("Back") : QStringLiteral("上一页")));
            setCursor(Qt::DragMoveCursor);
        } else {
            setCursor(Qt::ArrowCursor);
            HotZone = 3;
        }
        return;
    }
    if (HitTestPage(X - RightPageX - RightPicX, Y - PageY - PicY, RightInfo, X, Y))
        return;
    const int edge = RightPageX + PageWidth;
    if (X >= edge - kCornerStrip && X <= edge && onPageRows) {
        if (PageCount == CurrentPage) {
            HotZone = 3;
            setCursor(Qt::ArrowCursor);
        } else {
            HotZone = 1;
            BookHint->SetHintSize(QRect(0, 0, 48, 40));
            BookHint->ShowHintDelayed(
                X, Y, OneRow(english ? QStringLiteral("Next") : QStringLiteral("下一页")));
            setCursor(Qt::DragMoveCursor);
        }
        return;
    }
    setCursor(Qt::ArrowCursor);
    HotZone = 3;
}

bool TVudadezEroz::HitTestPage(int px, int py, const MemoryStream& info, int X, int Y) {
    bool result = false;
    if (info.Size() > 0) {
        for (const HotSpotRecord& spot : ReadHotSpots(info.Bytes())) {
            const int64_t left = HotSpotToScreen(spot.Left, ScreenW);
            const int64_t top = HotSpotToScreen(spot.Top, ScreenW);
            const int64_t width = HotSpotToScreen(spot.Width, ScreenW);
            const int64_t height = HotSpotToScreen(spot.Height, ScreenW);
            if (!(left <= px && px <= left + width && top <= py && py <= top + height))
                continue;
            result = true;
            if (!EqualsIgnoringCase(spot.Description, "SystemSetNo")) {
                BookHint->SetHintSize(QRect(0, 0, 300, 120));
                BookHint->ShowHintDelayed(X, Y, PictureHint(spot));
            }
            if (PictureCount() != 0) {
                setCursor(Qt::PointingHandCursor);
                HotZone = 2;
                HotPicture = FromGbk(spot.PictureName);
                HotPictureMember = spot.PictureName;
            } else {
                HotZone = 3;
                setCursor(Qt::ArrowCursor);
            }
            break;
        }
    }

    const int rightEdge = RightPageX + PageWidth;
    if (X >= rightEdge && X <= rightEdge + RightStack && Y > PageY && Y < PageY + PageHeight) {
        if (RightStack == 0)
            return result;
        const int n = int(int64_t{PageCount - CurrentPage} * (X - rightEdge) / RightStack);
        int target;
        if (n % 2 != 0) {
            target = CurrentPage + n + 3;
            if (target > PageCount)
                target = CurrentPage + n + 1;
            if (target > PageCount)
                target = CurrentPage + n - 1;
        } else {
            target = CurrentPage + n + 2;
            if (target > PageCount)
                target = CurrentPage + n;
        }
        ShowJumpHint(X, Y, target, QString());
        result = true;
    }
    if (X >= LeftPageX - LeftStack && X <= LeftPageX && Y > PageY && Y < PageY + PageHeight &&
        LeftStack != 0) {
        const int n = int(int64_t{X - LeftPageX + LeftStack} * CurrentPage / LeftStack);
        int target;
        if (n % 2 != 0)
            target = n - 1 == CurrentPage ? n - 3 : n - 1;
        else
            target = n == CurrentPage ? n - 2 : n;
        ShowJumpHint(X, Y, target, QStringLiteral("  "));
        result = true;
    }
    return result;
}

void TVudadezEroz::ShowJumpHint(int X, int Y, int target, const QString& indent) {
    const QString number = QString::number(target);
    BookHint->SetHintSize(QRect(0, 0, 64, 40));
    BookHint->ShowHintNow(
        X, Y,
        OneRow(LanguageFlag == 1 ? indent + QStringLiteral("No") + number
                                 : indent + QStringLiteral("第") + number + QStringLiteral("页")));
    JumpPage = target;
    setCursor(Qt::DragCopyCursor);
    HotZone = 4;
}

}  // namespace pagora
