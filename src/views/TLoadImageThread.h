#pragma once

#include <QSize>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "platform/Thread.h"
#include "views/PicSlot.h"

namespace pagora {

class AlbumArchive;

// A worker that loads one picture on request and otherwise waits.
class TcustomLoadImageThread : public Thread {
  public:
    // Slot 0 is the picture before the current one, 1 the one after.
    virtual void RequestLoad(const std::string& name, uint8_t slot) = 0;
};

// The picture viewer's loader: decodes the pictures beside the current one off
// the window thread, fitted to the screen, and hands each over on the window
// thread. A request made before the thread has taken the last one replaces it.
class TLoadImageThread final : public TcustomLoadImageThread {
  public:
    // The archive is the viewer's own; the screen is in device pixels.
    TLoadImageThread(const AlbumArchive& archive, QSize screen);
    ~TLoadImageThread() override;

    void RequestLoad(const std::string& name, uint8_t slot) override;
    // Nothing requested, nothing being loaded, the thread waiting: only then
    // may the view exchange its slots or make the next request.
    bool Idle() const;

    // Called on the window thread with each load, for the slot it was asked for.
    std::function<void(uint8_t slot, PicSlot picture)> Delivered;

  protected:
    void Execute() override;

  private:
    void LoadPicture();
    void Deliver();

    const AlbumArchive& archive_;
    const QSize screen_;
    // The loader's own, and read by Deliver while the loader waits for it.
    PicSlot loaded_;

    mutable std::mutex Lock;  // guards the fields below
    std::condition_variable wake_;
    uint8_t ActiveSlot = 2;  // 0 previous, 1 next, 2 none
    std::string ActiveName;
    uint8_t PendingSlot = 2;
    std::string PendingName;
    bool waiting_ = false;
    bool stopping_ = false;
};

}  // namespace pagora
