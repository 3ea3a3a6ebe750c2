#pragma once

#include <QImage>
#include <QSize>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "platform/Thread.h"

namespace pagora {

class AlbumArchive;
class PreviewCache;

namespace rowse {

// The thumbnail browser's loader (no kin of the book's page loader): makes the
// previews of the page shown, cell by cell, and has each cell shown as soon as
// its preview is stored. A pass ends early when the page changes, starting
// the next one at once, and parks between previews when asked to pause.
class TLoadThread final : public Thread {
  public:
    // The archive is the book's (its reads are positional and may overlap);
    // thumbPage is the browser's current page.
    TLoadThread(const AlbumArchive& archive, PreviewCache& cache, const std::atomic<int>& thumbPage,
                QSize previewBox);
    ~TLoadThread() override;

    // A pass over the current page, after the one under way.
    void RequestPass();
    // Parks after the preview in progress; a later request starts it again.
    void Pause();
    // No pass running or requested.
    bool Idle() const;

    // Called on the window thread after a preview of the current page is
    // stored, with its cell.
    std::function<void(int cell)> CellLoaded;

    // Read on the loader's thread only, and by CellLoaded while it waits.
    QImage Preview;
    int LoadedCell = -1;

  protected:
    void Execute() override;

  private:
    void LoadPage();
    // The preview of picture k (0-based), null when it cannot be made.
    QImage MakePreview(int k);
    bool ShouldPark();

    const AlbumArchive& archive_;
    PreviewCache& cache_;
    const std::atomic<int>& thumbPage_;
    const QSize previewBox_;

    mutable std::mutex Lock;  // guards the fields below
    std::condition_variable wake_;
    bool pending_ = false;
    bool paused_ = false;
    bool waiting_ = false;
    bool stopping_ = false;
};

}  // namespace rowse
}  // namespace pagora
