#pragma once

#include <QAction>
#include <QColor>
#include <QImage>
#include <QMenu>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "archive/AlbumArchive.h"
#include "archive/AlbumProfile.h"
#include "archive/HotSpotRecord.h"
#include "archive/Stream.h"
#include "book/BookLayout.h"
#include "book/BookSettings.h"
#include "book/LoadThread.h"
#include "book/PageSlot.h"
#include "book/PageStacks.h"
#include "book/PictureExport.h"
#include "book/TCanvasHint.h"
#include "book/TPlaythread.h"
#include "book/TStrongLabel.h"
#include "platform/FileDialog.h"
#include "platform/Form.h"
#include "platform/MediaPlayer.h"
#include "platform/SoundEffect.h"
#include "platform/Timer.h"
#include "shell/OptionTarget.h"
#include "shell/TfrmToolbar.h"
#include "views/ViewLinks.h"

namespace pagora {

class TfrmFlash;

// The book window: the album as a book lying open on a tiled background.
class TVudadezEroz : public Form {
  public:
    // Runs the whole start-up; throws when the album cannot be shown, after
    // its workers have been stopped.
    TVudadezEroz(Form* owner, int32_t baseLow, int32_t baseHigh, const AlbumProfile* profile,
                 std::unique_ptr<AlbumArchive> archive, QString albumPath);
    ~TVudadezEroz() override;

    void LayoutBook();
    void CreateBuffers();
    void LoadBookPictures();
    void LoadBackground(const std::string& path);
    void LoadSettings();
    void ApplyEnglishCaptions();
    void NExitClick();

    // The profile's count, held to what the album can hold.
    int PictureCount() const;

    void DrawLeftPage();
    void DrawRightPage();
    void DrawLeftStack();
    void DrawRightStack(Canvas& canvas);

    // Turning pages: one spread forward or back, with the curl.
    void TurnForward();
    void TurnBack();
    void AnimateTurnForward();
    void AnimateTurnBack();
    // Called after each frame of a turn reaches the screen, with the frame's
    // phase (0 lift, 1 edge, 2 fall); for measuring and watching the curl.
    std::function<void(int phase)> FrameShown;
    // Hands the loader its next job once it has finished the last one.
    void QueuePages(int32_t page, uint8_t direction);

    // The page commands.
    void lblDownClick();
    void lblUPClick();
    void NUpPageClick() { lblUPClick(); }
    void NDownPageClick() { lblDownClick(); }
    void NAllScreenClick();
    void NSmallPicClick();
    void NPlayClick();
    void TimerTimer();
    void NOptionClick();
    // The book's settings as the options dialog reaches them, and the dialog
    // shown modally over the owner (any of the views).
    OptionTarget Options();
    void ShowOptions(QWidget* owner);
    // What the floating toolbar's buttons do in the views.
    ToolbarTargets ToolbarCommands();
    void NBmpClick();
    void NJpgClick();

    // The music: the player's notify handler, and the track after the one
    // that ended.
    void MediaplayerEnd();
    void NextTrack();

    // Tests one page's hot spots at (px, py) of its picture, then the page
    // edge stacks at the pointer's (X, Y); true when it set the hot zone.
    bool HitTestPage(int px, int py, const MemoryStream& info, int X, int Y);

    // Read by the other views and by tests.
    const BookLayout& Layout() const { return layout_; }
    int PicWidth = 0, PicHeight = 0, LeftPicX = 0, RightPicX = 0, PicY = 0;
    int ScreenW = 0, ScreenH = 0;
    int ShadeDepth = 0, EdgeStep = 0, SpineShade = 0, CurlLift = 0;
    int PageWidth = 0, PageHeight = 0, LeftPageX = 0, RightPageX = 0, PageY = 0;
    int CurrentPage = 0;
    int PageCount = 0;
    int JumpPage = 0;
    int64_t ArchiveBase = 0;
    int LeftStack = 0;
    int RightStack = 0;
    uint8_t HotZone = 0;
    uint8_t Turning = 0;
    uint8_t Busy = 0;
    uint8_t TimerWasOn = 0;
    int Tag = 0;  // -1 while the start command runs
    uint8_t ShowInfo = 0;
    uint8_t BackRangOn = 0;
    uint8_t BackMusicOn = 0;
    int32_t TurnTime = 0;
    QColor BackColor;
    QString ViewKey;
    QString AlbumPath;
    QString HotPicture;
    std::string HotPictureMember;  // the member's stored name
    std::string WorkFolder;
    std::string BackMusic;
    std::string BackPic;
    AlbumProfile Profile;

    QImage LeftPageBmp, LeftPaper, RightPaper, CoverCopy;
    // The curl's frames are composed straight into the window's buffer.
    QImage CurlUnder, CurlSaved;
    QImage BackCover, Background, RightPageBmp;
    PageSlot PageSlots[4];
    MemoryStream LeftInfo, RightInfo;

    // Components.
    QMenu* PopupMenu = nullptr;
    QAction *NAllScreen = nullptr, *NSmallPic = nullptr, *N1 = nullptr, *NUpPage = nullptr,
            *NDownPage = nullptr, *N2 = nullptr, *NPlay = nullptr, *N3 = nullptr, *NOut = nullptr,
            *NBmp = nullptr, *NJpg = nullptr, *NOption = nullptr, *N6 = nullptr, *NExit = nullptr;
    QMenu* NOutMenu = nullptr;
    FileDialogRequest SavePictureDialog;
    TStrongLabel lblDown, lblUP, lblPage;
    Timer BookTimer;

    std::unique_ptr<MediaPlayer> Player;
    SoundEffect TurnSound;
    std::unique_ptr<TPlaythread> MusicThread;
    std::unique_ptr<TLoadThread> Loader;
    std::unique_ptr<AlbumArchive> Archive;
    std::unique_ptr<TCanvasHint> BookHint;

  protected:
    void FormPaint() override;
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers) override;
    void FormMouseDown(Qt::MouseButton button, int x, int y) override;
    void FormMouseMove(int x, int y) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate();
    void CreateComponents();
    void Progress(TfrmFlash& flash, int percent);
    // The member decoded as JPEG at exactly the page size.
    QImage LoadPagePicture(const char* member, bool halftone);
    void ShutDown();
    void RecordCaptions() const;
    StackScene Scene() const;
    void WaitForLoader();
    // A frame of the curl, composed in place on the window's buffer, is shown.
    void ShowFrame(const QRect& written, int phase);
    void SetTurnStacks();
    // Returns to spread 2 from the back cover with one turn.
    void StartCommand();
    void JumpToPage();
    // The picture number in HotPicture, or 0 when it names no picture.
    int HotPictureNumber() const;
    void OpenPicture(int n);
    HintText PictureHint(const HotSpotRecord& spot) const;
    void ShowJumpHint(int X, int Y, int target, const QString& indent);
    void ExportHotPicture(ExportKind kind);
    // An automated reading of the whole book, ending with Esc mid-turn.
    void ReadThrough();
    // An automated walk through the other views, ending with Esc mid-load.
    void WalkViews();
    // What the other views are handed of the book and the shell.
    ViewLinks MakeViewLinks();
    // Back from another view: the slide show as it was when the book was left.
    void ReturnToBook();
    void HoverSpread();
    QString NormalCaption(bool next) const;
    QString SpreadText(int page) const;
    QString ClosedText() const;
    // True once the program is ending: the turns stop drawing.
    bool exiting_ = false;

    // The file a music member is extracted to, and the turn sound's file.
    std::string MusicPath(const std::string& member) const;
    std::string TurnSoundPath() const;
    // The rustle at the start of a turn, when switched on.
    void PlayTurnSound();
    bool turnSoundTried_ = false;
    // Tracks in a row that ended as soon as they began.
    int shortPlays_ = 0;

    BookLayout layout_;
    bool painted_ = false;
};

}  // namespace pagora
