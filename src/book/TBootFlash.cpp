#include "book/TBootFlash.h"

#include <chrono>
#include <random>
#include <thread>

#include "gfx/Bitmap.h"
#include "gfx/BlockCopy.h"
#include "gfx/Canvas.h"
#include "platform/BufferedWidget.h"
#include "platform/Tick.h"

namespace pagora {

namespace {

constexpr int kLinePasses = 16;
constexpr int kLinePassPause = 30;
constexpr int kSquareSize = 4;
constexpr int kSquaresPerStep = 201;
constexpr int kDissolveStep = 8;
constexpr int kDissolveFront = 16;  // rows the squares run ahead of the solid part
constexpr int kDissolveSleep = 10;
constexpr int kPauseAfterPicture = 300;
constexpr int kPauseSlice = 5;

}  // namespace

TBootFlash::TBootFlash(Canvas& target) : target_(target) {
    SetPriority(ThreadPriority::Highest);
}

void TBootFlash::AddPicture(const QImage* picture, QPoint position) {
    pictures_.push_back({picture, position});
}

void TBootFlash::StartAnimation() {
    running_ = true;
    Resume();
}

void TBootFlash::PlayOn(BufferedWidget& window, int limitMilliseconds,
                        const std::function<void()>& shown) {
    const auto show = [&] {
        if (window.FlushPending() && shown)
            shown();
    };
    const uint32_t start = GetTickCount();
    StartAnimation();
    while (Running() && !Finished()) {
        if (GetTickCount() - start > uint32_t(limitMilliseconds))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        show();
    }
    Stop();
    show();
}

void TBootFlash::Pause(int milliseconds) {
    for (int i = 0; i < milliseconds / kPauseSlice && !Terminated(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(kPauseSlice));
}

void TBootFlash::Execute() {
    struct Finish {
        TBootFlash& Flash;
        ~Finish() {
            Flash.work_ = QImage();
            Flash.running_ = false;
        }
    } finish{*this};
    for (int index = 0; index < int(pictures_.size()) && !Terminated(); ++index) {
        currentIndex_ = index;
        const Entry& entry = pictures_[size_t(index)];
        work_ = NewBitmap24(entry.Picture->width(), entry.Picture->height());
        CopyPixels(work_, {0, 0}, *entry.Picture, entry.Picture->rect());
        if (index == 0)
            RevealLines(entry.Position);
        else if (index == 1)
            Dissolve(entry.Position);
        Pause(kPauseAfterPicture);
    }
}

void TBootFlash::RevealLines(QPoint at) {
    const int w = work_.width(), h = work_.height();
    for (int pass = 0; pass < kLinePasses && !Terminated(); ++pass) {
        if (!copiesSkipped_) {
            for (int r = pass; r < h; r += kLinePasses) {
                CanvasLock lock(target_);
                target_.CopyRect(QRect(at.x(), at.y() + r, w, 1), work_, QRect(0, r, w, 1));
            }
        }
        Pause(kLinePassPause);
    }
}

void TBootFlash::Dissolve(QPoint at) {
    const int w = work_.width(), h = work_.height();
    if (w <= 0 || h <= 0)
        return;
    const uint32_t seed =
        seed_ ? *seed_ : uint32_t(std::chrono::steady_clock::now().time_since_epoch().count());
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> column(0, w - 1), row(0, kDissolveFront - 1);
    // Squares near the edges and the first bands reach past the picture;
    // CopyRect clips them to both bitmaps.
    for (int s = 0; s <= h + 2 * kDissolveFront && !Terminated(); s += kDissolveStep) {
        {
            CanvasLock lock(target_);
            CanvasBatch batch(target_);
            for (int i = 0; i < kSquaresPerStep; ++i) {
                const int b = column(random), c = s + row(random);
                if (!copiesSkipped_)
                    target_.CopyRect(QRect(at.x() + b, at.y() + c, kSquareSize, kSquareSize), work_,
                                     QRect(b, c, kSquareSize, kSquareSize));
            }
            const QRect band(0, s - kDissolveFront, w, kDissolveFront);
            if (!copiesSkipped_)
                target_.CopyRect(band.translated(at), work_, band);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kDissolveSleep));
    }
}

}  // namespace pagora
