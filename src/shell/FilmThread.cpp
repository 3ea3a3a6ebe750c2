#include "shell/FilmThread.h"

#include <QRect>
#include <algorithm>

#include "platform/Tick.h"

namespace pagora {

TThreadAnimation::TThreadAnimation(Canvas& picture, Canvas& canvas, int width, int height)
    : picture_(&picture), canvas_(&canvas), width_(width), height_(height) {
    SetPriority(ThreadPriority::Highest);
}

void DrawFilmFrame(Canvas& target, const QImage& picture, int offset, int width, int height) {
    if (width <= 0 || height <= 0)
        return;
    const int w = picture.width();
    const int rows = std::min(picture.height(), height);
    offset = std::clamp(offset, 0, w);
    // The album's strip may be shorter, narrower or empty: copy what exists.
    int covered = 0;
    CanvasLock lock(target);
    CanvasBatch batch(target);
    if (rows > 0 && w > 0) {
        const int head = std::min(width, w - offset);
        if (head > 0)
            target.CopyRect(QRect(0, 0, head, rows), picture, QRect(offset, 0, head, rows));
        covered = head;
        if (head < width) {
            const int rest = std::min(width - head, w);
            target.CopyRect(QRect(head, 0, rest, rows), picture, QRect(0, 0, rest, rows));
            covered += rest;
        }
    }
    const int filled = covered > 0 ? rows : 0;
    if (covered < width && filled > 0)
        target.FillRect(QRect(covered, 0, width - covered, filled));
    if (filled < height)
        target.FillRect(QRect(0, filled, width, height - filled));
}

void TThreadFilm::Execute() {
    CanvasLock pictureLock(*picture_);
    const QImage& picture = picture_->Image();
    int offset = 0;
    while (!Terminated()) {
        DrawFilmFrame(*canvas_, picture, offset, width_, height_);
        for (int i = 0; i < 5 && !Terminated(); ++i)
            Sleep(10);
        offset = NextFilmOffset(offset, picture.width(), Step);
    }
}

}  // namespace pagora
