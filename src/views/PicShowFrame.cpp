#include "views/PicShowFrame.h"

#include <QPainter>
#include <algorithm>

#include "gfx/BlockCopy.h"
#include "views/PicShowStyles.h"

namespace pagora {

namespace {

// Copies S of src into D of dst in reverse column (row) order; D and S have
// the same size by construction, and only pixels inside both bitmaps move.
void MirrorCopy(QImage& dst, const QRect& D, const QImage& src, const QRect& S, bool topBottom) {
    const int w = std::min(D.width(), S.width()), h = std::min(D.height(), S.height());
    if (!topBottom) {
        // Column i of D takes column w - 1 - i of S.
        const int iLo = std::max({0, -D.left(), S.left() + w - src.width()});
        const int iHi = std::min({w, dst.width() - D.left(), S.left() + w});
        const int jLo = std::max({0, -D.top(), -S.top()});
        const int jHi = std::min({h, dst.height() - D.top(), src.height() - S.top()});
        for (int j = jLo; j < jHi; ++j) {
            QRgb* d = reinterpret_cast<QRgb*>(dst.scanLine(D.top() + j)) + D.left();
            const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(S.top() + j));
            for (int i = iLo; i < iHi; ++i)
                d[i] = s[S.left() + w - 1 - i];
        }
        return;
    }
    // Row j of D takes row h - 1 - j of S.
    const int iLo = std::max({0, -D.left(), -S.left()});
    const int iHi = std::min({w, dst.width() - D.left(), src.width() - S.left()});
    const int jLo = std::max({0, -D.top(), S.top() + h - src.height()});
    const int jHi = std::min({h, dst.height() - D.top(), S.top() + h});
    if (iLo >= iHi)
        return;
    for (int j = jLo; j < jHi; ++j) {
        QRgb* d = reinterpret_cast<QRgb*>(dst.scanLine(D.top() + j)) + D.left();
        const QRgb* s =
            reinterpret_cast<const QRgb*>(src.constScanLine(S.top() + h - 1 - j)) + S.left();
        std::copy(s + iLo, s + iHi, d + iLo);
    }
}

QRect DrawPart(Canvas& display, const QImage& pic, const CopyPart& part) {
    const QRect& D = part.D;
    const QRect& S = part.S;
    if (D.width() <= 0 || D.height() <= 0 || S.width() <= 0 || S.height() <= 0)
        return {};
    if (part.Mirrored == CopyPart::None)
        display.CopyRect(D, pic, S, true);
    else
        MirrorCopy(display.Image(), D, pic, S, part.Mirrored == CopyPart::TopBottom);
    return D & display.Image().rect();
}

void DrawMask(QImage& display, const QImage& pic, const ShowMask& mask) {
    CopyRectUnion(display, pic, mask.Rects, mask.Within ? &*mask.Within : nullptr);
    if (mask.Paths.empty())
        return;
    QPainter painter(&display);
    for (const QPainterPath& path : mask.Paths) {
        painter.setClipPath(path);
        painter.drawImage(0, 0, pic);
    }
}

}  // namespace

void DrawOldPicture(Canvas& display, const QImage& oldPic) {
    CopyPixels(display.Image(), QPoint(0, 0), oldPic, oldPic.rect());
}

QRect DrawShowStyle(int style, int progress, int step, const QImage& pic, Canvas& display,
                    ShowRandom& random) {
    const ShowStyleRow& row = ShowStyleAt(style);
    QImage& image = display.Image();
    if (progress <= 0 || pic.isNull())
        return {};
    const QRect whole = pic.rect() & image.rect();
    if (progress >= 100 || row.Family == ShowFamily::Custom) {
        CopyPixels(image, QPoint(0, 0), pic, pic.rect());
        return whole;
    }
    const ShowExtents e = ComputeShowExtents(pic.width(), pic.height(), progress, step);
    switch (row.Family) {
        case ShowFamily::Rectangles: {
            const CopyParts parts = ShowStyleParts(style, e);
            QRect changed;
            for (int i = 0; i < parts.Count; ++i)
                changed |= DrawPart(display, pic, parts.Part[i]);
            return changed;
        }
        case ShowFamily::Region: {
            // Kept between frames, so a frame does not allocate its rectangles anew.
            thread_local ShowMask mask;
            mask.Rects.clear();
            mask.Within.reset();
            mask.Paths.clear();
            row.Mask(mask, e, progress, random);
            DrawMask(image, pic, mask);
            return whole;
        }
        case ShowFamily::SelfDrawn:
            row.Draw(image, pic, e, progress);
            return whole;
        case ShowFamily::Custom:
            break;
    }
    return {};
}

QRect ComposeShowFrame(int style, int progress, int step, const QImage& oldPic, const QImage& pic,
                       Canvas& display, ShowRandom& random) {
    DrawOldPicture(display, oldPic);
    return DrawShowStyle(style, progress, step, pic, display, random);
}

}  // namespace pagora
