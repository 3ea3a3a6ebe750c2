#include "views/TLoadImageThread.h"

#include <utility>

#include "platform/Automation.h"

namespace pagora {

TLoadImageThread::TLoadImageThread(const AlbumArchive& archive, QSize screen)
    : archive_(archive), screen_(screen) {
    Resume();
}

TLoadImageThread::~TLoadImageThread() {
    {
        std::lock_guard lock(Lock);
        stopping_ = true;
    }
    wake_.notify_all();
    Stop();
}

void TLoadImageThread::RequestLoad(const std::string& name, uint8_t slot) {
    {
        std::lock_guard lock(Lock);
        PendingName = name;
        PendingSlot = slot == 0 ? 0 : 1;
    }
    wake_.notify_all();
}

bool TLoadImageThread::Idle() const {
    std::lock_guard lock(Lock);
    return waiting_ && PendingSlot == 2 && ActiveSlot == 2;
}

void TLoadImageThread::Execute() {
    for (;;) {
        {
            std::unique_lock lock(Lock);
            ActiveSlot = 2;
            // Tested and waited for under one lock: no request is missed.
            waiting_ = true;
            wake_.wait(lock, [this] { return PendingSlot != 2 || stopping_ || Terminated(); });
            waiting_ = false;
            if (stopping_ || Terminated())
                return;
            ActiveName = PendingName;
            ActiveSlot = PendingSlot;
            PendingSlot = 2;
        }
        LoadPicture();
    }
}

void TLoadImageThread::LoadPicture() {
    // A fresh picture each time: the one handed over stays shared with the view.
    std::string failed;
    loaded_ = LoadPicSlot(archive_, ActiveName, screen_, &failed);
    if (!failed.empty() && automation::Active())
        automation::Record("viewer loader " + failed);
    Synchronize([this] { Deliver(); });
    loaded_ = PicSlot();
}

void TLoadImageThread::Deliver() {
    if (Delivered)
        Delivered(ActiveSlot, loaded_);
}

}  // namespace pagora
