#pragma once

#include <QImage>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

#include "archive/Stream.h"
#include "book/PageSlot.h"
#include "platform/Thread.h"

namespace pagora {

class AlbumArchive;

// A worker that loads pages on request and otherwise waits.
class TLoadCustomThread : public Thread {
  public:
    // Direction 0 loads the backward pair of the spread, 1 the forward pair.
    virtual void Request(int32_t page, uint8_t direction) = 0;
    // Nothing requested, nothing being loaded, the thread waiting: only then
    // may the window read the slots or hand over the next request.
    virtual bool Idle() const = 0;
};

// The book's page loader: fills the window's four page slots with the two
// pages of a spread, the right one first, decoding and scaling off the window
// thread. A request made while a job runs replaces any earlier queued one.
//
// It extracts from the book's archive while the window thread, the music and
// the thumbnails do too; that is safe only because the archive reads by
// position and never changes after it is opened.
class TLoadThread final : public TLoadCustomThread {
  public:
    // The slots are the window's and are written only on its thread.
    TLoadThread(const AlbumArchive& archive, PageSlot (&pageSlots)[4], int picWidth, int picHeight);
    ~TLoadThread() override;

    void Request(int32_t page, uint8_t direction) override;
    bool Idle() const override;
    // The direction of the job in progress, 2 when there is none.
    uint8_t Job() const;

    // Called on the window thread after each delivery, with the slot and the
    // page it now holds.
    std::function<void(int slot, int64_t page)> Delivered;

    // Read on the loader's thread only, and by Deliver while the loader waits.
    uint8_t Half = 0;
    QImage WorkBmp;
    MemoryStream WorkInfo;
    uint8_t JobDir = 2;  // 0 backward, 1 forward, 2 none
    int32_t JobPage = 0;

  protected:
    void Execute() override;

  private:
    void LoadHalf();
    void Deliver();

    const AlbumArchive& archive_;
    PageSlot* slots_;  // four
    const int picWidth_, picHeight_;

    mutable std::mutex mutex_;  // guards the fields below and JobDir's reset
    std::condition_variable wake_;
    uint8_t PendingDir = 2;  // 2: nothing queued
    int32_t PendingPage = 0;
    bool waiting_ = false;
    bool stopping_ = false;
};

}  // namespace pagora
