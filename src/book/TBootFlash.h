#pragma once

#include <QImage>
#include <QPoint>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/Thread.h"

namespace pagora {

class BufferedWidget;
class Canvas;

// The opening animation's thread: reveals its pictures one after another on a
// canvas it shares with the UI thread, each copy under the canvas's lock. The
// first picture comes in as sixteen interleaved sets of rows, 30 ms apart;
// the second dissolves in from the top, a front of random 4 x 4 squares ahead
// of a solid part; a third and later are not revealed. 300 ms pass after each.
class TBootFlash final : public Thread {
  public:
    explicit TBootFlash(Canvas& target);
    ~TBootFlash() override { Stop(); }

    // The picture is borrowed: it must stay unchanged until the thread ends.
    void AddPicture(const QImage* picture, QPoint position);
    void StartAnimation();
    // Starts and waits on the UI thread until the animation has ended, showing
    // on the window about every millisecond what the thread drew, then calling
    // shown. Nothing else is dispatched meanwhile, so no handler can draw under
    // the animation or wait on it. Past the limit the thread is stopped.
    void PlayOn(BufferedWidget& window, int limitMilliseconds,
                const std::function<void()>& shown = {});
    // True from StartAnimation until Execute has ended, however it ended.
    bool Running() const { return running_.load(); }
    int CurrentIndex() const { return currentIndex_.load(); }

    // The dissolve's squares follow this seed instead of the clock.
    void SetSeed(uint32_t seed) { seed_ = seed; }
    // Everything but the copies and their flushes: the pacing alone, for
    // measuring what the copies add.
    void SetCopiesSkipped(bool skipped) { copiesSkipped_ = skipped; }

  protected:
    void Execute() override;

  private:
    struct Entry {
        const QImage* Picture;
        QPoint Position;
    };
    // Sleeps in 5 ms steps, leaving early once termination is asked.
    void Pause(int milliseconds);
    void RevealLines(QPoint at);
    void Dissolve(QPoint at);

    Canvas& target_;
    std::vector<Entry> pictures_;
    std::atomic<int> currentIndex_{0};
    std::atomic<bool> running_{false};
    std::optional<uint32_t> seed_;
    bool copiesSkipped_ = false;
    QImage work_;
};

}  // namespace pagora
