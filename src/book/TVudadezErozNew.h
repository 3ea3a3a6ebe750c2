#pragma once

#include <QImage>
#include <functional>
#include <vector>

#include "book/TVudadezEroz.h"

namespace pagora {

// The book window that is created: the book with its opening. The window
// first shows the screen as it was, so nothing seems to change; then the
// album's background comes in line by line and the closed book dissolves in
// at its place, after which the book is painted as always.
class TVudadezErozNew : public TVudadezEroz {
  public:
    // The book's start-up, then the screen is taken.
    TVudadezErozNew(Form* owner, int32_t baseLow, int32_t baseHigh, const AlbumProfile* profile,
                    std::unique_ptr<AlbumArchive> archive, QString albumPath);

    // The opening's thread is stopped when it has run this long.
    static constexpr int kOpeningLimitMilliseconds = 10000;

    QImage ScreenShot;
    QImage ClosedBook;
    // True until the opening has run (false at once when automation skips it).
    bool FirstPaint = false;
    // Called with the locked canvas each time the waiting UI thread has shown
    // what the opening drew; for watching it.
    std::function<void(const QImage& screen)> OpeningShown;

  protected:
    void FormPaint() override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void TakeScreenShot();
    void MakeClosedBook();
    // Runs the animation once the window is on the screen.
    void PlayOpening();

    bool openingQueued_ = false;
    std::vector<TStrongLabel*> hiddenLabels_;
};

}  // namespace pagora
