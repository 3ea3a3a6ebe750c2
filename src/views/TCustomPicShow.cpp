#include "views/TCustomPicShow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "gfx/Bitmap.h"
#include "gfx/BlockCopy.h"
#include "gfx/Rounding.h"
#include "platform/MessageBox.h"
#include "platform/Messages.h"
#include "platform/Tick.h"
#include "views/PicShowFrame.h"
#include "views/PicShowStyles.h"
#include "views/TAnimateThread.h"

namespace pagora {

namespace {

// A thread whose control went away inside one of its synchronous calls: it
// cannot be joined there, so it is joined from the event loop once it ends.
void JoinLater(std::shared_ptr<TAnimateThread> thread) {
    QTimer::singleShot(1, QCoreApplication::instance(), [thread] {
        if (!thread->Finished())
            JoinLater(thread);
    });
}

// The largest rectangle of a w x h picture's shape inside the client, centred.
QRect AspectFit(QSize picture, QSize client) {
    const int64_t w = picture.width(), h = picture.height();
    const int64_t cw = client.width(), ch = client.height();
    if (w <= 0 || h <= 0 || cw <= 0 || ch <= 0)
        return QRect(QPoint(0, 0), client);
    int64_t fw = cw, fh = ch;
    if (cw * h >= ch * w)
        fw = RoundDivHalfEven(ch * w, h);
    else
        fh = RoundDivHalfEven(cw * h, w);
    return QRect(int((cw - fw) / 2), int((ch - fh) / 2), int(fw), int(fh));
}

}  // namespace

TCustomPicShow::TCustomPicShow(QWidget* parent)
    : PaintBox(parent), color_(palette().color(QPalette::Window)) {
    resize(100, 100);
    setMouseTracking(true);
}

TCustomPicShow::~TCustomPicShow() {
    destroying_ = true;
    alive_.reset();
    stopping_ = true;
    if (align_ == TAlign::alClient && parentWidget() != nullptr)
        parentWidget()->removeEventFilter(this);
    // Stops a running transition: no handler runs any more, and a thread that
    // is inside one of its calls (this destruction came from a handler there)
    // is joined once that call is over.
    for (auto& thread : threads_) {
        thread->Detach();
        thread->Terminate();
        if (thread->InCall())
            JoinLater(std::shared_ptr<TAnimateThread>(thread.release()));
        else
            thread->WaitFor();
    }
    threads_.clear();
    running_ = nullptr;
    busy_ = false;
}

void TCustomPicShow::Execute() {
    if (busy_ || picture_.isNull() || picture_.width() <= 0 || picture_.height() <= 0)
        return;
    ReapThreads(false);
    busy_ = true;
    const uint64_t generation = ++generation_;
    loopRunning_ = false;
    failed_ = false;
    const std::weak_ptr<int> alive = alive_;
    try {
        Prepare();
    } catch (...) {
        if (!alive.expired() && generation_ == generation) {
            oldPic_ = QImage();
            pic_ = QImage();
            busy_ = false;
        }
        throw;
    }
    if (alive.expired() || generation_ != generation || !busy_)
        return;
    if (!manual_)
        Animate();
}

void TCustomPicShow::Stop() {
    if (!busy_ || stopping_)
        return;
    const std::weak_ptr<int> alive = alive_;
    stopping_ = true;
    if (TAnimateThread* thread = running_) {
        thread->Terminate();
        if (thread->InCall()) {
            // Called from a handler inside the thread's own call: it cannot be
            // waited for here; it ends when the call returns.
            running_ = nullptr;
            QMetaObject::invokeMethod(
                this, [this] { ReapThreads(false); }, Qt::QueuedConnection);
            AnimationComplete();
        } else {
            // Serves the thread's pending calls; its end runs AnimationComplete.
            thread->WaitFor();
            if (alive.expired())
                return;
            if (running_ == thread) {
                running_ = nullptr;
                AnimationComplete();
            }
            ReapThreads(false);
        }
    } else {
        AnimationComplete();
    }
    if (!alive.expired())
        stopping_ = false;
}

void TCustomPicShow::SetProgress(int value) {
    value = std::clamp(value, 0, 100);
    if (!busy_ || value == progress_)
        return;
    if (value < progress_ && !painting_)
        showAll_ = true;
    ApplyProgress(value);
}

void TCustomPicShow::ApplyProgress(int value) {
    const std::weak_ptr<int> alive = alive_;
    const uint64_t generation = generation_;
    progress_ = value;
    UpdateDisplay();
    if (alive.expired() || generation_ != generation || !busy_)
        return;
    if (TNotifyEvent handler = OnProgress)
        handler(this);
}

void TCustomPicShow::SetStyle(TShowStyle style) {
    style_ = std::clamp(style, 0, kMaxShowStyle);
}

void TCustomPicShow::SetStep(int step) {
    step_ = std::clamp(step, 1, 100);
}

void TCustomPicShow::SetDelay(int ms) {
    delay_ = std::clamp(ms, 0, 65535);
}

void TCustomPicShow::SetReverse(bool reverse) {
    reverse_ = reverse;
}

void TCustomPicShow::SetManual(bool manual) {
    if (manual == manual_)
        return;
    manual_ = manual;
    if (!busy_)
        progress_ = reverse_ ? 100 : 0;
    else if (!manual_ && running_ == nullptr && !loopRunning_)
        Animate();
}

void TCustomPicShow::SetPicture(const QImage& picture) {
    picture_ = picture;
    // The picture's pixels are device pixels; the control is sized in Qt's.
    if (autoSize_ && align_ == TAlign::alNone && !picture_.isNull())
        resize(Scale().LogicalCover(picture_.rect()).size());
    if (TNotifyEvent handler = OnChange)
        handler(this);
}

void TCustomPicShow::SetBgPicture(const QImage& picture) {
    bgPicture_ = picture;
    if (!bgPicture_.isNull())
        MakeBitmap24(bgPicture_);
    Repaint();
}

void TCustomPicShow::SetBgMode(TBackgroundMode mode) {
    bgMode_ = mode;
    Repaint();
}

void TCustomPicShow::SetCenter(bool center) {
    center_ = center;
    Repaint();
}

void TCustomPicShow::SetStretch(bool stretch) {
    stretch_ = stretch;
    Repaint();
}

void TCustomPicShow::SetStretchFine(bool fine) {
    stretchFine_ = fine;
    Repaint();
}

void TCustomPicShow::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
}

void TCustomPicShow::SetColor(const QColor& color) {
    color_ = color;
    Repaint();
}

void TCustomPicShow::SetAlign(TAlign align) {
    if (align == align_)
        return;
    QWidget* parent = parentWidget();
    if (parent != nullptr && align_ == TAlign::alClient)
        parent->removeEventFilter(this);
    align_ = align;
    if (parent != nullptr && align_ == TAlign::alClient) {
        parent->installEventFilter(this);
        setGeometry(parent->rect());
    }
}

bool TCustomPicShow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize && align_ == TAlign::alClient)
        setGeometry(parentWidget()->rect());
    return PaintBox::eventFilter(watched, event);
}

void TCustomPicShow::Prepare() {
    const QSize size = picture_.size();
    if (display_.size() != size)
        display_ = NewBitmap24(size.width(), size.height());
    displayCanvas_.BrushColor = color_;
    UpdatePicRect();
    oldPic_ = NewBitmap24(size.width(), size.height());
    if (painted_) {
        const QImage& buffer = BackBuffer();
        const QRect from = stretch_ ? StretchRect() : picRect_;
        if (from.size() == size) {
            CopyPixels(oldPic_, QPoint(0, 0), buffer, from);
        } else {
            Canvas canvas(&oldPic_);
            canvas.CopyRect(oldPic_.rect(), buffer, from, true);
        }
    }
    pic_ = picture_;
    MakeBitmap24(pic_);
    lastChanged_ = QRect();
    showAll_ = true;
    // The first frame is composed even when the progress stands there already.
    ApplyProgress(reverse_ ? 100 : 0);
}

void TCustomPicShow::Animate() {
    if (!busy_ || running_ != nullptr || loopRunning_)
        return;
    if (threaded_) {
        threads_.push_back(std::make_unique<TAnimateThread>(this));
        running_ = threads_.back().get();
    } else {
        AnimateLoop();
    }
}

void TCustomPicShow::StepProgress() {
    SetProgress(reverse_ ? std::max(progress_ - step_, 0) : progress_ + step_);
}

void TCustomPicShow::AnimateLoop() {
    const std::weak_ptr<int> alive = alive_;
    const uint64_t generation = generation_;
    // False once a handler (or a message handled meanwhile) stopped, restarted
    // or destroyed the control: whoever did so finished this transition.
    const auto current = [&] { return !alive.expired() && generation_ == generation && busy_; };
    loopRunning_ = true;
    try {
        for (;;) {
            const uint32_t start = GetTickCount();
            StepProgress();
            if (!current())
                break;
            if (AtEnd() || manual_ || stopping_)
                break;
            WaitUntil([&] {
                return !current() || manual_ || stopping_ ||
                       GetTickCount() - start > uint32_t(delay_);
            });
            if (!current() || manual_ || stopping_)
                break;
        }
    } catch (...) {
        // A handler failed: the transition ends without OnComplete and the
        // error goes to whoever started it.
        if (current()) {
            loopRunning_ = false;
            stopping_ = true;
            AnimationComplete();
            stopping_ = false;
        }
        throw;
    }
    if (!current())
        return;
    loopRunning_ = false;
    AnimationComplete();
}

TCustomPicShow::AnimateStepResult TCustomPicShow::AnimateStep(TAnimateThread& thread) {
    if (&thread != running_ || !busy_ || manual_ || stopping_)
        return {};
    const std::weak_ptr<int> alive = alive_;
    const uint64_t generation = generation_;
    try {
        StepProgress();
    } catch (const std::exception& error) {
        // There is no caller to pass it to: it is shown, and the transition ends.
        ReportException(error);
        if (!alive.expired() && generation_ == generation && running_ == &thread)
            failed_ = true;
        return {};
    }
    if (alive.expired() || generation_ != generation || running_ != &thread || !busy_)
        return {};
    return {!AtEnd() && !manual_ && !stopping_, delay_};
}

void TCustomPicShow::AnimationEnded(TAnimateThread& thread) {
    if (&thread != running_)
        return;
    running_ = nullptr;
    QMetaObject::invokeMethod(
        this, [this] { ReapThreads(false); }, Qt::QueuedConnection);
    if (failed_) {
        // A handler failed in a frame: the transition ends without OnComplete.
        failed_ = false;
        const bool stopping = stopping_;
        stopping_ = true;
        AnimationComplete();
        stopping_ = stopping;
        return;
    }
    if (busy_ && !stopping_ && !manual_ && !AtEnd()) {
        // Manual was switched on and off again before the thread noticed.
        Animate();
        return;
    }
    AnimationComplete();
}

void TCustomPicShow::AnimationComplete() {
    running_ = nullptr;
    if (!stopping_ && manual_)
        return;
    busy_ = false;
    pic_ = QImage();
    oldPic_ = QImage();
    if (destroying_ || stopping_)
        return;
    if (TNotifyEvent handler = OnComplete)
        handler(this);
}

void TCustomPicShow::UpdateDisplay() {
    if (!busy_ || display_.isNull() || pic_.isNull() || oldPic_.isNull())
        return;
    const std::weak_ptr<int> alive = alive_;
    const uint64_t generation = generation_;
    const auto current = [&] { return !alive.expired() && generation_ == generation && busy_; };
    DrawOldPicture(displayCanvas_, oldPic_);
    if (TCustomDrawEvent handler = OnBeforeNewFrame) {
        handler(this, pic_, display_);
        if (!current())
            return;
    }
    QRect changed;
    if (style_ == 0) {
        if (TCustomDrawEvent handler = OnCustomDraw) {
            handler(this, pic_, display_);
            if (!current())
                return;
            if (progress_ == 100)
                CopyPixels(display_, QPoint(0, 0), pic_, pic_.rect());
        } else {
            // Nothing draws the frames between: the transition jumps to its end.
            if (!reverse_)
                CopyPixels(display_, QPoint(0, 0), pic_, pic_.rect());
            progress_ = reverse_ ? 0 : 100;
        }
        changed = display_.rect();
    } else {
        changed = DrawShowStyle(style_, progress_, step_, pic_, displayCanvas_, random_);
    }
    // Also what the last frame changed, which this one may have given back.
    const QRect shown = showAll_ ? display_.rect() : changed | lastChanged_;
    showAll_ = false;
    lastChanged_ = changed;
    if (TCustomDrawEvent handler = OnAfterNewFrame) {
        handler(this, pic_, display_);
        if (!current())
            return;
    }
    if (!painting_)
        ShowDisplayRect(shown);
}

void TCustomPicShow::UpdatePicRect() {
    const QSize client = DeviceSize();
    const QSize size = display_.isNull() ? picture_.size() : display_.size();
    picRect_ = QRect(QPoint(0, 0), size);
    if (center_)
        picRect_.moveTo((client.width() - size.width()) / 2, (client.height() - size.height()) / 2);
}

QRect TCustomPicShow::StretchRect() const {
    const QSize client = DeviceSize();
    if (!stretchFine_)
        return QRect(QPoint(0, 0), client);
    return AspectFit(display_.isNull() ? picture_.size() : display_.size(), client);
}

void TCustomPicShow::ShowDisplayRect(const QRect& rect) {
    if (rect.isEmpty() || display_.isNull())
        return;
    Canvas& canvas = GetCanvas();
    CanvasLock lock(canvas);
    if (!stretch_) {
        const QRect target = rect.translated(picRect_.topLeft()) & picRect_;
        canvas.CopyRect(target, display_, target.translated(-picRect_.topLeft()));
        return;
    }
    // The changed part of the stretched picture, widened to whole pixels; the
    // whole picture is drawn through it so the pixels match a full paint.
    const QRect dest = StretchRect();
    const double sx = double(dest.width()) / display_.width();
    const double sy = double(dest.height()) / display_.height();
    const QRect target = QRect(QPoint(dest.x() + int(std::floor(rect.left() * sx)) - 1,
                                      dest.y() + int(std::floor(rect.top() * sy)) - 1),
                               QPoint(dest.x() + int(std::ceil((rect.right() + 1) * sx)),
                                      dest.y() + int(std::ceil((rect.bottom() + 1) * sy)))) &
                         dest;
    canvas.SetClipRegion(target);
    canvas.CopyRect(dest, display_, display_.rect(), true);
    canvas.ClearClip();
}

void TCustomPicShow::Repaint() {
    if (isVisible())
        Invalidate();
}

void TCustomPicShow::PaintContent() {
    if (!IsUiThread() || painting_)
        return;
    painting_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{painting_};
    Canvas& canvas = GetCanvas();
    CanvasLock lock(canvas);
    const QRect client(QPoint(0, 0), BackBuffer().size());
    UpdatePicRect();
    canvas.BrushColor = color_;
    canvas.FillRect(client);
    if (!bgPicture_.isNull()) {
        switch (bgMode_) {
            case bmTiled: {
                QPainter painter(&canvas.Image());
                painter.fillRect(client, QBrush(bgPicture_));
                canvas.Changed(client);
                break;
            }
            case bmStretched:
                canvas.StretchDraw(client, bgPicture_, true);
                break;
            case bmCentered:
                canvas.Draw((client.width() - bgPicture_.width()) / 2,
                            (client.height() - bgPicture_.height()) / 2, bgPicture_);
                break;
            case bmNone:
                break;
        }
    }
    if (!display_.isNull()) {
        if (stretch_)
            canvas.StretchDraw(StretchRect(), display_, true);
        else
            canvas.Draw(picRect_.x(), picRect_.y(), display_);
    }
    painted_ = true;
}

void TCustomPicShow::ReapThreads(bool wait) {
    for (auto it = threads_.begin(); it != threads_.end();) {
        TAnimateThread* thread = it->get();
        const bool joinable = thread != running_ && !thread->InCall();
        if (joinable && (wait || thread->Finished())) {
            thread->WaitFor();
            it = threads_.erase(it);
        } else {
            ++it;
        }
    }
}

void TCustomPicShow::enterEvent(QEnterEvent* event) {
    PaintBox::enterEvent(event);
    if (TNotifyEvent handler = OnMouseEnter)
        Guarded([&] { handler(this); });
}

void TCustomPicShow::leaveEvent(QEvent* event) {
    PaintBox::leaveEvent(event);
    if (TNotifyEvent handler = OnMouseLeave)
        Guarded([&] { handler(this); });
}

void TCustomPicShow::mousePressEvent(QMouseEvent* event) {
    const QPoint at = Scale().DevicePoint(event->position());
    if (TMouseEvent handler = OnMouseDown)
        Guarded([&] { handler(this, event->button(), at.x(), at.y()); });
}

void TCustomPicShow::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = Scale().DevicePoint(event->position());
    const std::weak_ptr<int> alive = alive_;
    if (TMouseEvent handler = OnMouseUp)
        Guarded([&] { handler(this, event->button(), at.x(), at.y()); });
    if (alive.expired())
        return;
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        if (TNotifyEvent handler = OnClick)
            Guarded([&] { handler(this); });
}

void TCustomPicShow::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = Scale().DevicePoint(event->position());
    if (TMouseMoveEvent handler = OnMouseMove)
        Guarded([&] { handler(this, at.x(), at.y()); });
}

void TCustomPicShow::mouseDoubleClickEvent(QMouseEvent* event) {
    PaintBox::mouseDoubleClickEvent(event);
    if (TNotifyEvent handler = OnDblClick)
        Guarded([&] { handler(this); });
}

}  // namespace pagora
