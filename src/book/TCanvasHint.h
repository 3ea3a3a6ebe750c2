#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <vector>

#include "platform/ScreenScale.h"
#include "platform/Timer.h"

namespace pagora {

class Canvas;

// One row of a balloon: Label drawn bold, then Value in the normal style.
struct HintRow {
    QString Label;
    QString Value;
};
using HintText = std::vector<HintRow>;

// A hint balloon drawn straight onto a window's canvas by the mouse pointer,
// its tail's tip at the pointer. What it covers is kept and put back when it
// goes. UI thread only.
class TCanvasHint {
  public:
    explicit TCanvasHint(Canvas& target);  // not owned
    TCanvasHint(const TCanvasHint&) = delete;
    TCanvasHint& operator=(const TCanvasHint&) = delete;

    // The balloon's size at scale 1, made Scale times larger; callers pass
    // Left = Top = 0. Throws std::invalid_argument for an empty or oversized
    // rectangle.
    void SetHintSize(const QRect& rect);
    // Shown after 1.1 s of no further request, taken away 8 s later.
    void ShowHintDelayed(int x, int y, HintText text);
    // Shown at once until HideHint; the timer is left alone.
    void ShowHintNow(int x, int y, const HintText& text);
    void HideHint();
    // One 100 ms tick of the timer.
    void Tick();

    // Where the balloon's top-left is drawn; X is -1 when nothing is.
    int ShownAtX() const { return drawn_ ? shownAt_.x() : -1; }
    int ShownAtY() const { return shownAt_.y(); }
    bool Shown() const { return shown_; }
    int TickCount() const { return ticks_; }
    bool TimerActive() const { return timer_.Enabled(); }
    // 0 tail top-left, 1 bottom-left, 2 top-right, 3 bottom-right.
    int Orientation() const { return orientation_; }
    QSize Size() const { return size_.size(); }
    int TailX1() const { return tailX1_; }
    int TailX2() const { return tailX2_; }
    int TailHeight() const { return tailHeight_; }
    int Corner() const { return corner_; }

    // 1 English, anything else Chinese; starts as the program's LanguageFlag.
    int LanguageFlag;
    // Sizes, rows and letters keep their physical size; positions are the
    // canvas's device pixels. Starts as the program's scale.
    ScreenScale Scale;

  private:
    void Restore();

    Canvas& target_;
    QImage save_;
    QImage balloon_;
    Timer timer_;
    QRect size_;
    // Apart from the position: a balloon may well be drawn at x = -1.
    bool drawn_ = false;
    QPoint shownAt_;
    int ticks_ = 0;
    bool shown_ = false;
    int pendingX_ = 0, pendingY_ = 0;
    HintText pendingText_;
    int orientation_ = 0;
    int tailX1_ = 0, tailX2_ = 0, tailHeight_ = 0, corner_ = 0;
};

// The balloon picture itself: white where the target shows through. size and
// the tail are in device pixels; the text's rows and letters take the scale.
QImage PaintBalloon(QSize size, int tailX1, int tailX2, int tailHeight, int corner, int orientation,
                    const HintText& text, bool english, ScreenScale scale = ScreenScale());

}  // namespace pagora
