#include "views/RowseLoadThread.h"

#include <exception>
#include <string>

#include "archive/AlbumArchive.h"
#include "archive/MemberNames.h"
#include "gfx/Orientation.h"
#include "platform/Automation.h"
#include "views/BrowserGrid.h"
#include "views/PreviewCache.h"

namespace pagora::rowse {

TLoadThread::TLoadThread(const AlbumArchive& archive, PreviewCache& cache,
                         const std::atomic<int>& thumbPage, QSize previewBox)
    : archive_(archive), cache_(cache), thumbPage_(thumbPage), previewBox_(previewBox) {
    Resume();
}

TLoadThread::~TLoadThread() {
    {
        std::lock_guard lock(Lock);
        stopping_ = true;
    }
    wake_.notify_all();
    Stop();
}

void TLoadThread::RequestPass() {
    {
        std::lock_guard lock(Lock);
        pending_ = true;
        paused_ = false;
    }
    wake_.notify_all();
}

void TLoadThread::Pause() {
    std::lock_guard lock(Lock);
    paused_ = true;
    pending_ = false;
}

bool TLoadThread::Idle() const {
    std::lock_guard lock(Lock);
    return waiting_ && !pending_;
}

bool TLoadThread::ShouldPark() {
    std::lock_guard lock(Lock);
    return paused_ || stopping_ || Terminated();
}

void TLoadThread::Execute() {
    for (;;) {
        {
            std::unique_lock lock(Lock);
            waiting_ = true;
            wake_.wait(lock, [this] { return pending_ || stopping_ || Terminated(); });
            waiting_ = false;
            if (stopping_ || Terminated())
                return;
            pending_ = false;
        }
        LoadPage();
    }
}

void TLoadThread::LoadPage() {
    const int page = thumbPage_.load(std::memory_order_acquire);
    const PageRange range = PagePictures(page, cache_.Count());
    for (int k = range.First; k <= range.Last; ++k) {
        if (cache_.Has(k))
            continue;
        if (ShouldPark())
            return;
        Preview = MakePreview(k);
        cache_.Store(k, Preview);
        Preview = QImage();
        LoadedCell = k % BrowserGrid::kPerPage;
        if (thumbPage_.load(std::memory_order_acquire) != page) {
            // The page changed: its pass starts at once, unless a pause came too.
            std::lock_guard lock(Lock);
            if (!paused_)
                pending_ = true;
            return;
        }
        Synchronize([this] {
            if (CellLoaded)
                CellLoaded(LoadedCell);
        });
    }
}

QImage TLoadThread::MakePreview(int k) {
    const std::string name = SmallPictureName(int64_t{k} + 1);
    // A missing or damaged preview leaves its cell empty for the run.
    try {
        if (auto bytes = archive_.Extract(name))
            return DecodeUprightJpegToBox(*bytes, name, previewBox_.width(), previewBox_.height(),
                                          false, false);
        if (automation::Active())
            automation::Record("browser " + name + ": the album has no such picture");
    } catch (const std::exception& error) {
        if (automation::Active())
            automation::Record(std::string("browser ") + error.what());
    }
    return {};
}

}  // namespace pagora::rowse
