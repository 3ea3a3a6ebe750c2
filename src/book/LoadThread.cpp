#include "book/LoadThread.h"

#include <exception>
#include <string>

#include "archive/AlbumArchive.h"
#include "archive/MemberNames.h"
#include "gfx/PictureFile.h"
#include "platform/Automation.h"

namespace pagora {

TLoadThread::TLoadThread(const AlbumArchive& archive, PageSlot (&pageSlots)[4], int picWidth,
                         int picHeight)
    : archive_(archive), slots_(pageSlots), picWidth_(picWidth), picHeight_(picHeight) {
    Resume();
}

TLoadThread::~TLoadThread() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    Stop();
}

void TLoadThread::Request(int32_t page, uint8_t direction) {
    {
        std::lock_guard lock(mutex_);
        PendingPage = page;
        PendingDir = direction == 0 ? 0 : 1;
    }
    wake_.notify_all();
}

bool TLoadThread::Idle() const {
    std::lock_guard lock(mutex_);
    return waiting_ && PendingDir == 2 && JobDir == 2;
}

uint8_t TLoadThread::Job() const {
    std::lock_guard lock(mutex_);
    return JobDir;
}

void TLoadThread::Execute() {
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            JobDir = 2;
            // The request is tested and waited for under one lock, so one made
            // in between cannot be missed.
            waiting_ = true;
            wake_.wait(lock, [this] { return PendingDir != 2 || stopping_ || Terminated(); });
            waiting_ = false;
            if (stopping_ || Terminated())
                return;
            JobPage = PendingPage;
            JobDir = PendingDir;
            PendingDir = 2;
        }
        // The right page first: it is the one the next forward turn shows.
        Half = 1;
        LoadHalf();
        Half = 0;
        LoadHalf();
    }
}

void TLoadThread::LoadHalf() {
    const int64_t page = Half == 1 ? int64_t{JobPage} : int64_t{JobPage} - 1;
    const std::string name = PagePictureName(page);
    std::optional<std::vector<uint8_t>> bytes;
    // A page that cannot be read or decoded is delivered as bare paper rather
    // than ending the loader, so the turns that wait on it still end.
    try {
        bytes = archive_.Extract(name);
        if (!bytes)
            return;  // the slot keeps what it had
        WorkBmp = DecodeJpegToBox(*bytes, name, picWidth_, picHeight_, false, true);
    } catch (const std::exception& error) {
        WorkBmp = QImage();
        if (automation::Active())
            automation::Record(std::string("loader ") + error.what());
    }
    bytes.reset();
    WorkInfo = MemoryStream();
    try {
        archive_.ExtractToStream(PageInfoName(page), WorkInfo);
    } catch (const std::exception& error) {
        WorkInfo = MemoryStream();
        if (automation::Active())
            automation::Record(std::string("loader ") + error.what());
    }
    Synchronize([this] { Deliver(); });
}

void TLoadThread::Deliver() {
    const int index = SlotIndex(JobDir, Half);
    // Shares the pixels; the loader decodes the next page into a new picture.
    slots_[index].Picture = WorkBmp;
    slots_[index].Info = MemoryStream(WorkInfo.Bytes());
    if (Delivered)
        Delivered(index, Half == 1 ? int64_t{JobPage} : int64_t{JobPage} - 1);
}

}  // namespace pagora
