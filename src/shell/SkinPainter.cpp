#include "shell/SkinPainter.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/Draw.h"
#include "gfx/EllipseY.h"
#include "gfx/Fit.h"
#include "gfx/Shade.h"
#include "shell/SkinPictures.h"

namespace pagora {

namespace {

const QColor kHoverLine(221, 170, 170);
const QColor kDisabledText(128, 128, 128);
constexpr int kCorner = 6;
constexpr int kIconSide = 16;
constexpr int kRadioTextLeft = 20;

// A picture with alpha drawn over what the canvas holds.
void DrawBlended(Canvas& canvas, int x, int y, const QImage& picture) {
    {
        QPainter painter(&canvas.Image());
        painter.drawImage(x, y, picture);
    }
    canvas.Changed(QRect(x, y, picture.width(), picture.height()));
}

void DrawBackdrop(Canvas& canvas, const QImage& backdrop) {
    if (!backdrop.isNull())
        canvas.Draw(0, 0, backdrop);
}

}  // namespace

CaptionParts SplitCaption(const QString& caption) {
    const qsizetype amp = caption.indexOf(u'&');
    if (amp < 0)
        return {caption, {}, {}};
    return {caption.left(amp), caption.mid(amp + 1, 1), caption.mid(amp + 2)};
}

QRect SkinnedChildGeometry(QRect design, bool windowed, int formWidth) {
    if (windowed)
        design.setWidth(design.width() + 3);
    design.translate(kChildShiftX, kChildShiftY);
    const int limit = formWidth - kFrameMargin;
    if (design.left() + design.width() > limit)
        design.setWidth(std::max(0, limit - design.left()));
    return design;
}

QPolygon RoundedTopOutline(int width, int height) {
    QPolygon outline;
    outline << QPoint(kCorner, 0);
    for (int i = 0; i <= kCorner; ++i)
        outline << QPoint(kCorner - i, kCorner - EllipseY(kCorner, kCorner, i));
    outline << QPoint(0, height) << QPoint(width, height) << QPoint(width, kCorner);
    for (int i = kCorner; i >= 0; --i)
        outline << QPoint(width - kCorner + i, kCorner - EllipseY(kCorner, kCorner, i));
    return outline;
}

QColor FrameColor(const SkinPictures& skin, ScreenScale scale, bool active) {
    const QColor base = skin.Title.pixelColor(scale.Scaled(3), scale.Scaled(3));
    return ShiftColor(base, active ? -30 : 60);
}

void PaintFrame(Canvas& canvas, const QColor& color, ScreenScale scale) {
    // The lines of pen width 2 cover the pixel before their coordinate and
    // the one on it; drawn as the strips they cover, they keep their place
    // on any scale.
    const int W = canvas.Width(), H = canvas.Height();
    const auto s = [&](int pixels) { return scale.Scaled(pixels); };
    canvas.BrushColor = color;
    const QRect strips[] = {
        QRect(QPoint(s(1), s(28)), QPoint(s(3) - 1, H - s(2) - 1)),
        QRect(QPoint(0, s(27)), QPoint(s(1) - 1, H - s(2) - 1)),
        QRect(QPoint(W - s(3), s(28)), QPoint(W - s(1) - 1, H - s(2) - 1)),
        QRect(QPoint(W - s(1), s(27)), QPoint(W - 1, H - s(2) - 1)),
        QRect(QPoint(0, H - s(3)), QPoint(W - 1, H - s(1) - 1)),
        QRect(QPoint(0, H - s(1)), QPoint(W - 1, H - 1)),
    };
    for (const QRect& strip : strips)
        canvas.FillRect(strip);
}

void PaintTitle(Canvas& canvas, const SkinPictures& skin, const TitleLook& look,
                ScreenScale scale) {
    const int W = canvas.Width();
    const int tile = skin.Title.width();
    if (look.Active) {
        canvas.Draw(0, 0, skin.LeftTitle);
        canvas.Draw(skin.LeftTitle.width(), 0, skin.Title);
        for (int i = 1; i <= 40; ++i) {
            canvas.Draw(i * tile, 0, skin.Title);
            if (tile * (i + 1) >= W) {
                canvas.Draw(W - skin.RightTitle.width(), 0, skin.RightTitle);
                break;
            }
        }
    } else {
        QImage light = skin.Title.copy();
        ShiftRect(light, 60, light.rect());
        for (int i = 0; i <= 40; ++i)
            canvas.Draw(i * tile, 0, light);
    }
    int captionLeft = 4;
    if (!look.DialogStyle) {
        if (!look.Icon.isNull()) {
            const int box = scale.Scaled(kIconSide);
            const QSize fitted = FitSize(look.Icon.width(), look.Icon.height(), box, box, false);
            if (!fitted.isEmpty())
                DrawBlended(
                    canvas, scale.Scaled(6), scale.Scaled(6),
                    look.Icon.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        }
        captionLeft = 28;
    }
    QFont font = look.Font;
    font.setBold(true);
    canvas.Font = font;
    canvas.FontColor = Qt::white;
    canvas.BrushClear = true;
    canvas.TextOut(scale.Scaled(captionLeft), scale.Scaled(8), look.Caption);
}

void PaintTitleButton(Canvas& canvas, const QImage& picture, int look, const QImage& backdrop) {
    QImage shown = picture;
    if (look == 1 || look == 2) {
        shown = picture.copy();
        ShiftRect(shown, look == 1 ? 60 : -60, shown.rect());
    }
    DrawBackdrop(canvas, backdrop);
    canvas.DrawTransparent(0, 0, shown, shown.pixel(0, shown.height() - 1));
}

void PaintSkinnedButton(Canvas& canvas, const SkinPictures& skin, int look, bool enabled,
                        const QString& caption, const QFont& font, const QImage& backdrop,
                        ScreenScale scale) {
    const int W = canvas.Width(), H = canvas.Height();
    QImage bitmap(W, H, kBitmapFormat);
    Canvas face(&bitmap);
    const QRect all(0, 0, W, H);
    face.Font = font;
    face.BrushClear = true;
    if (enabled) {
        face.StretchDraw(all, look == 2 ? skin.ButtonDown : skin.ButtonUp, true);
        if (look == 1) {
            const int pen = scale.Scaled(2), in = scale.Scaled(3), out = scale.Scaled(4);
            DrawLine(face, kHoverLine, pen, in, in, W - out, in);
            DrawLine(face, kHoverLine, pen, in, H - out, W - out, H - out);
        }
        face.FontColor = Qt::black;
    } else {
        face.StretchDraw(all, skin.ButtonDisable, true);
        face.FontColor = kDisabledText;
    }

    const CaptionParts parts = SplitCaption(caption);
    const QFontMetrics metrics(font);
    const int before = metrics.horizontalAdvance(parts.Before);
    const int key = metrics.horizontalAdvance(parts.Key);
    const int textWidth = metrics.horizontalAdvance(parts.Before + parts.Key + parts.After);
    const int textHeight = metrics.height();
    const int x = (W - textWidth) / 2, y = (H - textHeight) / 2;
    face.TextOut(x, y, parts.Before);
    QFont underlined = font;
    underlined.setUnderline(true);
    face.Font = underlined;
    face.TextOut(x + before, y, parts.Key);
    face.Font = font;
    face.TextOut(x + before + key, y, parts.After);

    DrawBackdrop(canvas, backdrop);
    canvas.DrawTransparent(0, 0, bitmap, bitmap.pixel(0, H - 1));
}

void PaintSkinnedRadio(Canvas& canvas, const SkinPictures& skin, bool checked,
                       const QString& caption, const QFont& font, const QColor& textColor,
                       const QImage& backdrop, ScreenScale scale) {
    const int H = canvas.Height();
    const QImage& glyph = skin.Glyphs[checked ? 1 : 0];
    DrawBackdrop(canvas, backdrop);
    DrawBlended(canvas, 0, (H - glyph.height()) / 2, glyph);
    canvas.Font = font;
    canvas.FontColor = textColor;
    canvas.BrushClear = true;
    canvas.TextOut(scale.Scaled(kRadioTextLeft), (H - canvas.TextExtent(caption).height()) / 2,
                   caption);
}

QFont DeviceFont(const QFont& logical, ScreenScale scale) {
    QFont font = logical;
    font.setPixelSize(std::max(1, scale.Scaled(QFontInfo(logical).pixelSize())));
    return font;
}

}  // namespace pagora
