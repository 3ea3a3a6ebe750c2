#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gfx/Canvas.h"
#include "platform/Form.h"
#include "platform/Thread.h"
#include "views/ShowRandom.h"

namespace pagora {

class TAnimateThread;
class TCustomPicShow;

// 0 = custom drawing, 1..127 the transitions of the style table.
using TShowStyle = int;

enum TBackgroundMode { bmNone, bmTiled, bmStretched, bmCentered };

// How the control follows its parent: not at all, or filling its client area.
enum class TAlign { alNone, alClient };

using TNotifyEvent = std::function<void(TCustomPicShow* sender)>;
// The new picture and the display bitmap.
using TCustomDrawEvent =
    std::function<void(TCustomPicShow* sender, QImage& picture, QImage& screen)>;
using TMouseEvent =
    std::function<void(TCustomPicShow* sender, Qt::MouseButton button, int x, int y)>;
using TMouseMoveEvent = std::function<void(TCustomPicShow* sender, int x, int y)>;

// Shows a picture by animating it in over what the control showed before, in
// one of 127 styles. Its back buffer is the last painted image (PaintBuffer);
// a frame is composed into Display in the UI thread and only the changed part
// is copied into the back buffer. A handler may Stop, Execute or destroy the
// control from inside any event, the animation thread's calls included.
// Pictures, PicRect and pointer positions are in device pixels.
class TCustomPicShow : public PaintBox {
  public:
    explicit TCustomPicShow(QWidget* parent = nullptr);
    ~TCustomPicShow() override;

    // Starts a transition unless one is busy or there is no picture. A failure
    // while preparing frees the work bitmaps, clears Busy and is passed on.
    void Execute();
    // Ends a busy transition at once; OnComplete is not fired.
    void Stop();

    int Progress() const { return progress_; }
    // Clamped to 100; ignored when not busy or unchanged.
    void SetProgress(int value);
    bool Busy() const { return busy_; }
    bool Stopping() const { return stopping_; }
    bool Painting() const { return painting_; }
    // What the control shows, the picture's size.
    const QImage& Display() const { return display_; }
    // Where Display sits in the control.
    QRect PicRect() const { return picRect_; }
    // The old screen content and the new picture; alive only while busy.
    const QImage& OldPic() const { return oldPic_; }
    const QImage& Pic() const { return pic_; }
    // The last painted image: the control's back buffer.
    const QImage& PaintBuffer() const { return BackBuffer(); }
    // The running animation thread, or none.
    const TAnimateThread* AnimateThread() const { return running_; }

    // The random styles draw from this generator; a seed fixes their frames.
    void SetRandomSeed(uint64_t seed) { random_.Seed(seed); }

  protected:
    TShowStyle Style() const { return style_; }
    void SetStyle(TShowStyle style);
    int Step() const { return step_; }
    // Clamped to 1..100.
    void SetStep(int step);
    int Delay() const { return delay_; }
    void SetDelay(int ms);
    bool Reverse() const { return reverse_; }
    void SetReverse(bool reverse);
    bool Manual() const { return manual_; }
    void SetManual(bool manual);
    bool Threaded() const { return threaded_; }
    void SetThreaded(bool threaded) { threaded_ = threaded; }
    // Recorded only: the animation thread keeps the default priority.
    ThreadPriority GetThreadPriority() const { return threadPriority_; }
    void SetThreadPriority(ThreadPriority priority) { threadPriority_ = priority; }
    const QImage& Picture() const { return picture_; }
    void SetPicture(const QImage& picture);
    const QImage& BgPicture() const { return bgPicture_; }
    void SetBgPicture(const QImage& picture);
    TBackgroundMode BgMode() const { return bgMode_; }
    void SetBgMode(TBackgroundMode mode);
    bool Center() const { return center_; }
    void SetCenter(bool center);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    bool StretchFine() const { return stretchFine_; }
    void SetStretchFine(bool fine);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    TNotifyEvent OnProgress;
    TNotifyEvent OnComplete;
    TNotifyEvent OnChange;
    TCustomDrawEvent OnBeforeNewFrame;
    TCustomDrawEvent OnAfterNewFrame;
    TCustomDrawEvent OnCustomDraw;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

    // Display sized and PicRect set, OldPic taken from the back buffer, Pic
    // drawn, and the first frame composed.
    virtual void Prepare();
    void Animate();
    void AnimationComplete();
    // One frame for the current progress.
    void UpdateDisplay();

    void PaintContent() override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    friend class TAnimateThread;
    struct AnimateStepResult {
        bool More = false;
        int Delay = 0;
    };
    // Called by the animation thread inside its synchronous calls.
    AnimateStepResult AnimateStep(TAnimateThread& thread);
    void AnimationEnded(TAnimateThread& thread);

    void AnimateLoop();
    void StepProgress();
    // Stores the progress, composes its frame and fires OnProgress.
    void ApplyProgress(int value);
    bool AtEnd() const { return progress_ == (reverse_ ? 0 : 100); }
    void UpdatePicRect();
    // Where Display is drawn in the control when stretching.
    QRect StretchRect() const;
    // Copies a changed rectangle of Display into the back buffer and shows it.
    void ShowDisplayRect(const QRect& rect);
    void Repaint();
    // Joins the threads that have ended, except those inside a call.
    void ReapThreads(bool wait);

    TShowStyle style_ = 51;
    int step_ = 4;
    int delay_ = 40;
    bool reverse_ = false;
    bool manual_ = false;
    bool threaded_ = true;
    ThreadPriority threadPriority_ = ThreadPriority::Normal;
    QImage picture_;
    QImage bgPicture_;
    TBackgroundMode bgMode_ = bmTiled;
    bool center_ = false;
    bool stretch_ = false;
    bool stretchFine_ = false;
    bool autoSize_ = true;
    QColor color_;
    TAlign align_ = TAlign::alNone;

    int progress_ = 0;
    bool busy_ = false;
    bool stopping_ = false;
    bool painting_ = false;
    bool destroying_ = false;
    bool painted_ = false;
    QImage display_;
    Canvas displayCanvas_{&display_};
    QRect picRect_;
    QImage oldPic_;
    QImage pic_;
    // The display rectangle changed by the last frame, and whether the next
    // must show the whole picture (the progress went back).
    QRect lastChanged_;
    bool showAll_ = false;
    ShowRandom random_;

    TAnimateThread* running_ = nullptr;
    std::vector<std::unique_ptr<TAnimateThread>> threads_;
    // A non-threaded loop animates the current transition, further down the stack.
    bool loopRunning_ = false;
    // A handler failed inside the thread's call; the transition ends without OnComplete.
    bool failed_ = false;
    // Counts transitions, so code below a handler sees that it started another.
    uint64_t generation_ = 0;
    // Expires when the control is destroyed, so code below a handler can tell.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

// The control with its properties published.
class TPicShow : public TCustomPicShow {
  public:
    using TCustomPicShow::TCustomPicShow;

    using TCustomPicShow::Align;
    using TCustomPicShow::AutoSize;
    using TCustomPicShow::BgMode;
    using TCustomPicShow::BgPicture;
    using TCustomPicShow::Center;
    using TCustomPicShow::Color;
    using TCustomPicShow::Delay;
    using TCustomPicShow::GetThreadPriority;
    using TCustomPicShow::Manual;
    using TCustomPicShow::Picture;
    using TCustomPicShow::Reverse;
    using TCustomPicShow::SetAlign;
    using TCustomPicShow::SetAutoSize;
    using TCustomPicShow::SetBgMode;
    using TCustomPicShow::SetBgPicture;
    using TCustomPicShow::SetCenter;
    using TCustomPicShow::SetColor;
    using TCustomPicShow::SetDelay;
    using TCustomPicShow::SetManual;
    using TCustomPicShow::SetPicture;
    using TCustomPicShow::SetReverse;
    using TCustomPicShow::SetStep;
    using TCustomPicShow::SetStretch;
    using TCustomPicShow::SetStretchFine;
    using TCustomPicShow::SetStyle;
    using TCustomPicShow::SetThreaded;
    using TCustomPicShow::SetThreadPriority;
    using TCustomPicShow::Step;
    using TCustomPicShow::Stretch;
    using TCustomPicShow::StretchFine;
    using TCustomPicShow::Style;
    using TCustomPicShow::Threaded;

    using TCustomPicShow::OnAfterNewFrame;
    using TCustomPicShow::OnBeforeNewFrame;
    using TCustomPicShow::OnChange;
    using TCustomPicShow::OnClick;
    using TCustomPicShow::OnComplete;
    using TCustomPicShow::OnCustomDraw;
    using TCustomPicShow::OnDblClick;
    using TCustomPicShow::OnMouseDown;
    using TCustomPicShow::OnMouseEnter;
    using TCustomPicShow::OnMouseLeave;
    using TCustomPicShow::OnMouseMove;
    using TCustomPicShow::OnMouseUp;
    using TCustomPicShow::OnProgress;
};

}  // namespace pagora
