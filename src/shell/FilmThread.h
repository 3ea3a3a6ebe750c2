#pragma once

#include <QImage>

#include "gfx/Canvas.h"
#include "platform/Thread.h"

namespace pagora {

// The strip's height and the pixels it moves left each frame, at scale 1.
constexpr int kFilmHeight = 112;
constexpr int kFilmStep = 4;

// A worker that animates a picture onto a target canvas from its own thread.
// It starts suspended at the highest priority; the owner resumes it.
class TThreadAnimation : public Thread {
  public:
    // picture: the source with its lock, held by the thread while it runs.
    // canvas: the box drawn on, of width x height pixels. Neither is owned.
    TThreadAnimation(Canvas& picture, Canvas& canvas, int width, int height);

  protected:
    Canvas* picture_;
    Canvas* canvas_;
    int width_;
    int height_;
};

// Scrolls the film strip left by kFilmStep pixels about every 50 ms, wrapping
// around the picture's width.
class TThreadFilm : public TThreadAnimation {
  public:
    using TThreadAnimation::TThreadAnimation;
    ~TThreadFilm() override { Stop(); }

    // Set before the thread is resumed.
    int Step = kFilmStep;

  protected:
    void Execute() override;
};

// One frame of the strip at the given offset into the picture: the picture
// from the offset, then again from its start where it runs out, at most
// height rows of it. Only pixels inside the picture are copied; the rest of
// the width x height box takes the target's brush colour. Locks the target.
void DrawFilmFrame(Canvas& target, const QImage& picture, int offset, int width, int height);

// The offset after this one; back to 0 once it passes the picture's width.
inline int NextFilmOffset(int offset, int pictureWidth, int step = kFilmStep) {
    offset += step;
    return offset > pictureWidth ? 0 : offset;
}

}  // namespace pagora
