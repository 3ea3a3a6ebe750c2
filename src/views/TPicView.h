#pragma once

#include <QAction>
#include <QColor>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QString>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "archive/AlbumArchive.h"
#include "platform/Form.h"
#include "platform/Timer.h"
#include "views/PicSlot.h"
#include "views/TCustomPicShow.h"
#include "views/TLoadImageThread.h"
#include "views/TMagnifier.h"
#include "views/ViewLinks.h"

namespace pagora {

class Canvas;

// The full-screen picture viewer: one album picture at a time, fitted to the
// screen and centred on the album's colour, with its information text. The
// pictures before and after the current one are decoded ahead by the loader,
// so a step only hands over ready bitmaps.
class TPicView : public Form {
  public:
    // Opens the viewer's own archive on the album file; throws AlbumError
    // when it cannot.
    TPicView(QWidget* owner, int64_t archiveBase, QString viewKey, QString albumPath);
    ~TPicView() override;

    void SetColor(const QColor& color) { BackColor = color; }
    void SetMenuImages(const std::vector<QIcon>* images);
    void SetPictureCount(int count) { PictureCount = count < 0 ? 0 : count; }
    void SetLinks(ViewLinks links) { links_ = std::move(links); }

    int64_t ArchiveBase() const { return archiveBase_; }
    const QString& ViewKey() const { return viewKey_; }
    const QString& AlbumPath() const { return albumPath_; }
    QColor Color() const { return BackColor; }

    enum class TStep { Previous, Next, Reload };

    // Opens the viewer on picture n (1..PictureCount) and brings it to the front.
    void ShowPicture(int n);
    // Steps made while one is under way are ignored.
    void Navigate(TStep step);

    void NUpPageClick() { Navigate(TStep::Previous); }
    void NDownPageClick() { Navigate(TStep::Next); }
    // Auto-play on or off.
    void ToolBtnPlayClick();
    void TimerTimer();
    void NAlbumRowseClick();
    void NSmallPicClick();
    void NOptionClick();
    void NExitClick();

    // Stops the loader and any transition for good; the owner calls it before
    // it takes down what they use.
    void ShutDown();

    // True while a step waits for the loader or shows its picture.
    bool Stepping() const { return stepping_ != 0; }
    // True while a transition covers the form.
    bool InTransition() const;
    // True while the magnifier lens is up.
    bool LensIsUp() const;
    // No step, transition or load under way.
    bool Settled() const;
    // True once the viewer is shut down or the program is ending.
    bool Closing() const { return closing_; }

    // Where the viewer was opened from: 1 the book, 2 the thumbnail browser.
    int Tag = 0;
    int PictureCount = 0;
    int PictureNo = 0;
    uint8_t HasPicture = 0;
    std::string CurrentName;
    PicSlot PrevSlot, NextSlot;
    // The current picture; its full-size bitmap is decoded when the lens needs it.
    PicSlot Current;
    QImage FullBitmap;
    QColor BackColor = QColor(128, 128, 0);
    pagora::Timer Timer;
    std::unique_ptr<AlbumArchive> Archive;
    std::unique_ptr<TLoadImageThread> Loader;
    // The transition control over the whole form, shown only while it runs.
    TPicShow* PicShow = nullptr;
    std::unique_ptr<TMagnifier> Magnifier;

    QMenu* PopupMenu = nullptr;
    QAction *NAlbumRowse = nullptr, *NSmallPic = nullptr, *N5 = nullptr, *NUpPage = nullptr,
            *NDownPage = nullptr, *N6 = nullptr, *NOption = nullptr, *N3 = nullptr,
            *NExit = nullptr;

  protected:
    void FormPaint() override;
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers) override;
    void FormMouseDown(Qt::MouseButton button, int x, int y) override;
    void FormMouseMove(int x, int y) override;
    void FormMouseUp(Qt::MouseButton button, int x, int y) override;
    void FormMouseWheel(int delta, int x, int y) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    // The menu in the language of LanguageFlag.
    void CreateMenu();
    void FormCreate();
    // The screen's picture: the album's colour, the picture centred, the text.
    void Compose(Canvas& canvas);
    void DrawInfo(Canvas& canvas);
    // Shows the current picture, at once or through a transition.
    void Present(bool direct);
    void StartTransition(const QImage& frame);
    void TransitionDone();
    void Step(bool forward);
    void Reload();
    // Makes the picture CurrentName names current, from the slot when it holds
    // it, else decoded here and now.
    void TakeCurrent(const PicSlot& slot);
    void LoadCurrent();
    void Deliver(uint8_t slot, PicSlot picture);
    // False when the program is ending and the wait was cut short.
    bool WaitForLoader();
    // The picture numbers beside the current one, wrapping at both ends.
    int PreviousNumber() const;
    int NextNumber() const;
    QSize ScreenSize() const;
    bool MagnifierDown() const;
    void LensUp(int x, int y);
    void LensMove(int x, int y);
    void LensDown();
    // What every way out of the viewer does first.
    void Leave();
    void SetAutoPlay(bool on);
    // Back to where the viewer was opened from.
    void ReturnToOrigin();
    void ShowBrowser();

    int64_t archiveBase_;
    QString viewKey_;
    QString albumPath_;
    ViewLinks links_;
    QImage frame_;
    std::mt19937 random_;
    uint8_t stepping_ = 0;
    bool closing_ = false;
};

}  // namespace pagora
