#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPolygon>
#include <QRect>
#include <QString>

#include "platform/ScreenScale.h"

namespace pagora {

class Canvas;
struct SkinPictures;

// The drawing of the skinned dialogs as plain functions over a canvas in
// device pixels; the numbers of the design are Scaled once on the way.

// The height of the title bar and the size of its buttons, unscaled.
constexpr int kTitleHeight = 28;
constexpr int kTitleButtonSide = 21;
// Where the children of a skinned form go: below the title, inside the frame.
constexpr int kChildShiftX = 3;
constexpr int kChildShiftY = kTitleHeight;
constexpr int kFrameMargin = 3;

// A push button's caption split at its first "&": the character after it is
// the key, drawn underlined. Without "&" the whole caption is Before; a
// trailing "&" leaves the key empty.
struct CaptionParts {
    QString Before, Key, After;
};
CaptionParts SplitCaption(const QString& caption);

// A direct child's place once the form is skinned: windowed controls grow 3
// wider; every child moves 3 right and below the title, and is narrowed to
// end at formWidth - 3.
QRect SkinnedChildGeometry(QRect design, bool windowed, int formWidth);

// The outline of a width x height form with both top corners rounded.
QPolygon RoundedTopOutline(int width, int height);

// The frame's colour: the title tile's base pixel darkened while the form is
// active, lightened while it is not.
QColor FrameColor(const SkinPictures& skin, ScreenScale scale, bool active);

// The six frame lines along the sides and bottom of the whole canvas.
void PaintFrame(Canvas& canvas, const QColor& color, ScreenScale scale);

struct TitleLook {
    bool Active = true;
    bool DialogStyle = false;  // no icon, the caption further left
    QString Caption;
    QFont Font;   // the form's font in device pixels
    QImage Icon;  // with alpha; none when null
};
void PaintTitle(Canvas& canvas, const SkinPictures& skin, const TitleLook& look, ScreenScale scale);

// A title button's picture over the backdrop by its look: 0 and 3 as stored,
// 1 lightened, 2 darkened.
void PaintTitleButton(Canvas& canvas, const QImage& picture, int look, const QImage& backdrop);

// A skinned push button by its look (0 normal, 1 hover, 2 pressed), over the
// backdrop, with its caption centred.
void PaintSkinnedButton(Canvas& canvas, const SkinPictures& skin, int look, bool enabled,
                        const QString& caption, const QFont& font, const QImage& backdrop,
                        ScreenScale scale);

// A skinned radio button: its glyph and caption over the backdrop.
void PaintSkinnedRadio(Canvas& canvas, const SkinPictures& skin, bool checked,
                       const QString& caption, const QFont& font, const QColor& textColor,
                       const QImage& backdrop, ScreenScale scale);

// A widget's font for drawing on a canvas in device pixels.
QFont DeviceFont(const QFont& logical, ScreenScale scale);

}  // namespace pagora
