#include "book/TCanvasHint.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

#include "gfx/Bitmap.h"
#include "gfx/BlockCopy.h"
#include "gfx/Canvas.h"
#include "platform/Fonts.h"
#include "platform/GbkText.h"
#include "platform/Globals.h"

namespace pagora {

namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBalloonYellow = qRgb(255, 255, 128);
constexpr int kTextInset = 8;
constexpr int kRowStep = 16;
constexpr int kDelayTicks = 10;
constexpr int kLifeTicks = 80;
// Pointer positions past this are nonsense; keeping to it keeps the
// arithmetic on them from overflowing.
constexpr int kFarthest = 1 << 20;

void CheckBalloonSize(QSize size) {
    if (!PictureSizeAllowed(size.width(), size.height()))
        throw std::invalid_argument("hint balloon size " + std::to_string(size.width()) + " x " +
                                    std::to_string(size.height()) + " is not allowed");
}

// Where each character of text starts, and its end: counts of characters then
// never split a surrogate pair.
std::vector<qsizetype> CharacterStarts(const QString& text) {
    std::vector<qsizetype> starts;
    starts.reserve(text.size() + 1);
    for (qsizetype i = 0; i < text.size(); ++i) {
        starts.push_back(i);
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    }
    starts.push_back(text.size());
    return starts;
}

// The leading characters of a text, measured.
class Fitting {
  public:
    Fitting(const QFontMetrics& metrics, const QString& text)
        : metrics_(metrics), text_(text), starts_(CharacterStarts(text)) {}

    // The smallest count of leading characters whose width reaches room.
    // Galloping from the start measures only prefixes about as long as the
    // answer, however long the text.
    qsizetype Reaching(int room) const {
        qsizetype low = 0, high = 1;
        while (high < Count() && Width(high) < room) {
            low = high + 1;
            high *= 2;
        }
        high = std::min(high, Count());
        while (low < high) {
            const qsizetype middle = low + (high - low) / 2;
            if (Width(middle) >= room)
                high = middle;
            else
                low = middle + 1;
        }
        return low;
    }
    qsizetype Count() const { return qsizetype(starts_.size()) - 1; }
    QString Leading(qsizetype count) const {
        return text_.left(starts_[std::clamp<qsizetype>(count, 0, Count())]);
    }
    QString From(qsizetype count) const {
        return text_.mid(starts_[std::clamp<qsizetype>(count, 0, Count())]);
    }

  private:
    int Width(qsizetype count) const { return metrics_.horizontalAdvance(Leading(count)); }

    const QFontMetrics& metrics_;
    const QString& text_;
    std::vector<qsizetype> starts_;
};

// A value on one line, or broken onto the next row's line and cut short
// there with "...".
void PaintValue(Canvas& canvas, int x, int y, int room, const QString& value, int rowStep) {
    const QFontMetrics metrics(canvas.Font);
    if (metrics.horizontalAdvance(value) <= room) {
        canvas.TextOut(x, y, value);
        return;
    }
    const Fitting first(metrics, value);
    const qsizetype k = first.Reaching(room);
    canvas.TextOut(x, y, first.Leading(k - 1));
    const QString rest = first.From(k - 1);
    if (metrics.horizontalAdvance(rest) <= room) {
        canvas.TextOut(x, y + rowStep, rest);
        return;
    }
    const Fitting second(metrics, rest);
    canvas.TextOut(x, y + rowStep, second.Leading(second.Reaching(room) - 3) + "...");
}

void PaintText(Canvas& canvas, const QRect& area, const HintText& text, bool english,
               ScreenScale scale) {
    InstallFontSubstitutions();
    const int inset = scale.Scaled(kTextInset), rowStep = scale.Scaled(kRowStep);
    QFont font(english ? QStringLiteral("MS Sans Serif") : QStringLiteral("宋体"));
    font.setPixelSize(scale.Scaled(12));
    // Pure colours only: the balloon's white is its transparent key.
    font.setStyleStrategy(QFont::NoAntialias);
    canvas.Font = font;
    canvas.FontColor = Qt::black;
    canvas.BrushClear = true;
    // A row that would run past the body stays off the white around it.
    canvas.SetClipRegion(QRegion(area));
    for (size_t i = 0; i < text.size(); ++i) {
        const int y = area.top() + inset + rowStep * int(i);
        if (y > area.bottom())
            break;  // and so are all later rows, however many
        int x = area.left() + inset;
        const QString label = Printable(text[i].Label);
        if (!label.isEmpty()) {
            canvas.Font.setBold(true);
            canvas.TextOut(x, y, label);
            x += canvas.TextExtent(label).width();
            canvas.Font.setBold(false);
        }
        PaintValue(canvas, x, y, area.left() + area.width() - x, Printable(text[i].Value), rowStep);
    }
    canvas.ClearClip();
}

// Canvas::RoundRect strokes one pixel past the right and bottom edges, which
// would leave the body's outline outside the balloon there.
void PaintBody(QImage& image, const QRect& body, int corner) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(kBalloonYellow));
    painter.drawRoundedRect(body.adjusted(0, 0, -1, -1), corner / 2.0, corner / 2.0);
}

QSize ScreenSize(const Canvas& fallback) {
    if (HasScreen())
        return ScreenDeviceSize();
    return {fallback.Width(), fallback.Height()};
}

}  // namespace

QImage PaintBalloon(QSize size, int tailX1, int tailX2, int tailHeight, int corner, int orientation,
                    const HintText& text, bool english, ScreenScale scale) {
    CheckBalloonSize(size);
    if (orientation < 0 || orientation > 3)
        throw std::invalid_argument("hint balloon orientation " + std::to_string(orientation) +
                                    " is not 0 to 3");
    const int w = size.width(), h = size.height(), th = tailHeight;
    const bool bottom = orientation & 1, right = orientation & 2;
    QImage image = NewBitmap24(w, h);
    Canvas canvas(&image);

    canvas.PenColor = kWhite;
    canvas.BrushColor = kWhite;
    canvas.FillRect(QRect(0, 0, w, h));

    canvas.PenColor = Qt::black;
    canvas.BrushColor = kBalloonYellow;
    auto across = [&](int x) { return right ? w - x : x; };
    const int baseY = bottom ? h - th : th;
    const QPoint tip(across(0), bottom ? h : 0);
    const QPoint base1(across(tailX1), baseY), base2(across(tailX2), baseY);
    canvas.Polygon(QPolygon({tip, base1, base2}));
    // Bottom tails: the body's last row is the tail's base row.
    const QRect body = bottom ? QRect(0, 0, w, h - th + 1) : QRect(0, th, w, h - th);
    PaintBody(image, body, corner);

    PaintText(canvas, body, text, english, scale);

    // Opens the body's outline where the tail joins it.
    canvas.PenColor = kBalloonYellow;
    canvas.MoveTo(base1.x(), base1.y());
    canvas.LineTo(base2.x(), base2.y());
    return image;
}

TCanvasHint::TCanvasHint(Canvas& target)
    : LanguageFlag(pagora::LanguageFlag),
      Scale(ProgramScale()),
      target_(target),
      save_(NewBitmap24(0, 0)),
      balloon_(NewBitmap24(0, 0)) {
    timer_.SetEnabled(false);
    timer_.SetInterval(100);
    timer_.OnTimer = [this] { Tick(); };
    SetHintSize(QRect(0, 0, 240, 120));
    save_ = NewBitmap24(size_.width(), size_.height());
}

void TCanvasHint::SetHintSize(const QRect& rect) {
    CheckBalloonSize(rect.size());
    const QSize size = Scale.DeviceSize(rect.size());
    CheckBalloonSize(size);
    size_ = QRect(rect.topLeft(), size);
    balloon_ = NewBitmap24(size.width(), size.height());
    tailX1_ = size.width() / 8;
    tailX2_ = size.width() / 16 * 3;
    tailHeight_ = size.height() / 3;
    corner_ = tailHeight_ / 4;
}

void TCanvasHint::ShowHintDelayed(int x, int y, HintText text) {
    if (shown_)
        HideHint();
    pendingX_ = x;
    pendingY_ = y;
    pendingText_ = std::move(text);
    ticks_ = 0;
    timer_.SetEnabled(true);
}

void TCanvasHint::Tick() {
    ++ticks_;
    if (ticks_ > kDelayTicks && !shown_) {
        ShowHintNow(pendingX_, pendingY_, pendingText_);
        shown_ = true;
    }
    if (ticks_ > kLifeTicks)
        HideHint();
}

void TCanvasHint::ShowHintNow(int x, int y, const HintText& text) {
    const int w = size_.width(), h = size_.height();
    x = std::clamp(x, -kFarthest, kFarthest);
    y = std::clamp(y, -kFarthest, kFarthest);
    const QSize screen = ScreenSize(target_);
    int orientation = 0;
    if (x + w > screen.width()) {
        x -= w;
        orientation += 2;
    }
    if (y + h > screen.height()) {
        y -= h;
        orientation += 1;
    }
    balloon_ = PaintBalloon(size_.size(), tailX1_, tailX2_, tailHeight_, corner_, orientation, text,
                            LanguageFlag == 1, Scale);
    orientation_ = orientation;

    CanvasLock lock(target_);
    Restore();
    if (save_.size() != balloon_.size())
        save_ = NewBitmap24(w, h);
    CopyPixels(save_, QPoint(0, 0), target_.Image(), QRect(x, y, w, h));
    target_.DrawTransparent(x, y, balloon_, kWhite);
    shownAt_ = QPoint(x, y);
    drawn_ = true;
}

void TCanvasHint::HideHint() {
    shown_ = false;
    ticks_ = 0;
    timer_.SetEnabled(false);
    CanvasLock lock(target_);
    Restore();
}

void TCanvasHint::Restore() {
    if (!drawn_)
        return;
    // One block copy, past any clip: exactly what was there comes back.
    target_.Changed(CopyPixels(target_.Image(), shownAt_, save_, save_.rect()));
    drawn_ = false;
}

}  // namespace pagora
