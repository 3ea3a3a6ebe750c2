#include "views/TPicView.h"

#include <QApplication>
#include <QFocusEvent>
#include <QRegion>
#include <QResizeEvent>
#include <algorithm>
#include <chrono>

#include "archive/MemberNames.h"
#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/Draw.h"
#include "platform/Application.h"
#include "platform/Automation.h"
#include "platform/Globals.h"
#include "platform/MenuIcons.h"
#include "platform/MessageBox.h"
#include "platform/Messages.h"
#include "platform/PopupMenu.h"
#include "platform/ScopedFlag.h"
#include "platform/ScreenCursor.h"
#include "platform/ScreenScale.h"
#include "views/PictureInfoText.h"
#include "views/TfrmRowse.h"

namespace pagora {

namespace {

constexpr int kAutoPlayInterval = 5000;
// 10 points on the 96-dpi screen the album was made for.
constexpr int kInfoFontPixels = 13;
const QColor kInfoColor(255, 187, 0);

}  // namespace

TPicView::TPicView(QWidget* owner, int64_t archiveBase, QString viewKey, QString albumPath)
    : Form(owner),
      Archive(AlbumArchive::OpenAt(albumPath.toStdString(), archiveBase)),
      archiveBase_(archiveBase),
      viewKey_(std::move(viewKey)),
      albumPath_(std::move(albumPath)) {
    setWindowTitle(QStringLiteral("-"));
    Timer.SetInterval(kAutoPlayInterval);
    Timer.OnTimer = [this] { TimerTimer(); };
    CreateMenu();
    FormCreate();
    Loader = std::make_unique<TLoadImageThread>(*Archive, ScreenSize());
    Loader->Delivered = [this](uint8_t slot, PicSlot picture) {
        Deliver(slot, std::move(picture));
    };
}

TPicView::~TPicView() {
    ShutDown();
}

void TPicView::CreateMenu() {
    const auto run = [this](void (TPicView::*handler)()) {
        return [this, handler] { (this->*handler)(); };
    };
    PopupMenu = BuildPopupMenu(
        this, {{&NAlbumRowse, QStringLiteral("相册浏览"), QStringLiteral("Album Mode"),
                kIconAlbumMode, Qt::Key_F10, run(&TPicView::NAlbumRowseClick)},
               {&NSmallPic, QStringLiteral("缩略图浏览"), QStringLiteral("Thumbnails"),
                kIconThumbnails, Qt::Key_F11, run(&TPicView::NSmallPicClick)},
               {&N5, {}, {}},
               {&NUpPage, QStringLiteral("上一个"), QStringLiteral("Back"), kIconBack,
                Qt::Key_PageUp, run(&TPicView::NUpPageClick)},
               {&NDownPage, QStringLiteral("下一个"), QStringLiteral("Next"), kIconNext,
                Qt::Key_PageDown, run(&TPicView::NDownPageClick)},
               {&N6, {}, {}},
               {&NOption, QStringLiteral("配置"), QStringLiteral("Options .."), kIconOptions,
                QKeySequence(Qt::CTRL | Qt::Key_O), run(&TPicView::NOptionClick)},
               {&N3, {}, {}},
               {&NExit, QStringLiteral("退出"), QStringLiteral("Exit"), kIconExit, Qt::Key_Escape,
                run(&TPicView::NExitClick)}});
}

void TPicView::SetMenuImages(const std::vector<QIcon>* images) {
    if (images != nullptr)
        pagora::SetMenuImages(PopupMenu, *images);
}

void TPicView::FormCreate() {
    PicShow = new TPicShow(this);
    PicShow->SetAlign(TAlign::alClient);
    PicShow->setGeometry(rect());
    PicShow->OnComplete = [this](TCustomPicShow*) { TransitionDone(); };
    PicShow->hide();
    random_.seed(
        static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
}

QSize TPicView::ScreenSize() const {
    return ScreenDeviceSize();
}

void TPicView::ShutDown() {
    closing_ = true;
    Timer.SetEnabled(false);
    LensDown();
    if (PicShow != nullptr)
        PicShow->Stop();
    // Deliveries still waiting are served while the loader stops; closing_
    // keeps them from presenting.
    Loader.reset();
}

void TPicView::ShowPicture(int n) {
    if (PictureCount <= 0 || closing_ || stepping_)
        return;
    PictureNo = std::clamp(n, 1, PictureCount);
    {
        WaitCursor hourglass;
        Navigate(TStep::Reload);
    }
    if (!closing_)
        ShowFullScreen();
}

int TPicView::PreviousNumber() const {
    return PictureNo < 2 ? PictureCount : PictureNo - 1;
}

int TPicView::NextNumber() const {
    return PictureNo < PictureCount ? PictureNo + 1 : 1;
}

bool TPicView::WaitForLoader() {
    if (!Loader)
        return false;
    WaitUntil([this] { return closing_ || Loader->Idle(); }, Loader.get());
    return !closing_;
}

void TPicView::Navigate(TStep step) {
    if (stepping_ || closing_ || PictureCount <= 0 || !Loader)
        return;
    ScopedFlag busy(stepping_);
    LensDown();
    if (step == TStep::Reload) {
        Reload();
        return;
    }
    WaitCursor hourglass;
    Step(step == TStep::Next);
}

void TPicView::Reload() {
    CurrentName = PictureName(PictureNo);
    LoadCurrent();
    Present(true);
    PrevSlot.Ready = 0;
    NextSlot.Ready = 0;
    if (!WaitForLoader())
        return;
    Loader->RequestLoad(PictureName(NextNumber()), 1);
    if (!WaitForLoader())
        return;
    Loader->RequestLoad(PictureName(PreviousNumber()), 0);
}

void TPicView::Step(bool forward) {
    // The step before has delivered its prefetch once the loader is idle.
    if (!WaitForLoader())
        return;
    PicSlot& behind = forward ? PrevSlot : NextSlot;
    PicSlot& ahead = forward ? NextSlot : PrevSlot;
    behind = Current;
    behind.Ready = HasPicture;
    behind.Name = CurrentName;
    PictureNo = forward ? NextNumber() : PreviousNumber();
    CurrentName = PictureName(PictureNo);
    TakeCurrent(ahead);
    Present(false);
    ahead.Ready = 0;
    Loader->RequestLoad(PictureName(forward ? NextNumber() : PreviousNumber()), forward ? 1 : 0);
}

void TPicView::TakeCurrent(const PicSlot& slot) {
    if (slot.Ready && SameMemberName(slot.Name, CurrentName)) {
        Current = slot;
        FullBitmap = QImage();
        HasPicture = 1;
    } else {
        LoadCurrent();
    }
}

void TPicView::LoadCurrent() {
    std::string failed;
    Current = LoadPicSlot(*Archive, CurrentName, ScreenSize(), &failed);
    if (!failed.empty() && automation::Active())
        automation::Record("viewer " + failed);
    Current.Ready = 1;
    FullBitmap = QImage();
    HasPicture = 1;
}

void TPicView::Deliver(uint8_t slot, PicSlot picture) {
    picture.Ready = 1;
    (slot == 0 ? PrevSlot : NextSlot) = picture;
    if (closing_ || !SameMemberName(picture.Name, CurrentName))
        return;
    Current = std::move(picture);
    FullBitmap = QImage();
    HasPicture = 1;
    Present(false);
}

void TPicView::Compose(Canvas& canvas) {
    const QRect screen(0, 0, canvas.Width(), canvas.Height());
    const QImage& picture = Current.ScreenBitmap;
    const QRect shown = picture.isNull() ? QRect()
                                         : QRect((screen.width() - picture.width()) / 2,
                                                 (screen.height() - picture.height()) / 2,
                                                 picture.width(), picture.height());
    canvas.PenColor = BackColor;
    canvas.BrushColor = BackColor;
    canvas.BrushClear = false;
    // Only the album's colour around the picture: the picture covers the rest.
    for (const QRect& band : QRegion(screen).subtracted(shown))
        canvas.FillRect(band);
    if (!picture.isNull())
        canvas.Draw(shown.left(), shown.top(), picture);
    DrawInfo(canvas);
}

void TPicView::DrawInfo(Canvas& canvas) {
    if (!links_.ShowInfo || !links_.ShowInfo() || !Current.Info)
        return;
    const std::vector<InfoLine> lines =
        PictureInfoLines(*Current.Info, CurrentName, LanguageFlag == 1);
    if (lines.empty())
        return;
    QFont font(LanguageFlag == 1 ? QStringLiteral("Courier New") : QStringLiteral("宋体"));
    font.setPixelSize(Scaled(kInfoFontPixels));
    font.setBold(true);
    canvas.Font = font;
    canvas.FontColor = kInfoColor;
    canvas.BrushClear = true;
    for (const InfoLine& line : lines)
        canvas.TextOut(Scaled(kInfoLeft), Scaled(line.Top), line.Text);
    canvas.BrushClear = false;
}

void TPicView::Present(bool direct) {
    if (!HasPicture || closing_)
        return;
    LensDown();
    if (direct) {
        Canvas& canvas = GetCanvas();
        CanvasBatch batch(canvas);
        Compose(canvas);
        return;
    }
    if (InTransition())
        return;  // the running one finishes, then the form shows the newest picture
    // Kept between transitions: a new screen-sized bitmap each step costs its page faults.
    if (frame_.size() != GetCanvas().Image().size())
        frame_ = QImage(GetCanvas().Image().size(), kBitmapFormat);
    Canvas canvas(&frame_);
    Compose(canvas);
    StartTransition(frame_);
}

void TPicView::StartTransition(const QImage& frame) {
    // From what the screen shows: the control's own last picture (black
    // before its first) may be long gone from it.
    PicShow->setGeometry(rect());
    if (PicShow->BackBuffer().size() != PicShow->DeviceSize()) {
        // A hidden child hears of its size only when shown; its buffer must fit now.
        QResizeEvent resized(PicShow->size(), PicShow->size());
        QApplication::sendEvent(PicShow, &resized);
        // Painted once, its buffer is what a transition starts from.
        PicShow->Invalidate();
    }
    PicShow->GetCanvas().Draw(0, 0, GetCanvas().Image());
    PicShow->SetPicture(frame);
    PicShow->SetStyle(std::uniform_int_distribution<int>(1, 127)(random_));
    PicShow->Execute();
    PicShow->show();
    PicShow->raise();
}

void TPicView::TransitionDone() {
    PicShow->hide();
    PicShow->Stop();
    // The frame is ours again, to be drawn over in place next time.
    PicShow->SetPicture(QImage());
    Invalidate();
}

bool TPicView::InTransition() const {
    return PicShow != nullptr && PicShow->Busy();
}

bool TPicView::Settled() const {
    return !stepping_ && !InTransition() && (!Loader || Loader->Idle());
}

void TPicView::FormPaint() {
    if (InTransition())
        return;
    Present(true);
}

bool TPicView::MagnifierDown() const {
    return links_.MagnifierDown && links_.MagnifierDown();
}

bool TPicView::LensIsUp() const {
    return Magnifier != nullptr;
}

void TPicView::LensUp(int x, int y) {
    if (Magnifier || !HasPicture)
        return;
    Canvas& canvas = GetCanvas();
    const int width = canvas.Width(), height = canvas.Height();
    // A picture scaled down to the screen is magnified from its own pixels.
    const bool scaledDown =
        !Current.JpegSize.isEmpty() && Current.ScreenBitmap.width() < Current.JpegSize.width();
    if (scaledDown && FullBitmap.isNull()) {
        WaitCursor hourglass;
        FullBitmap = DecodeFullBitmap(Current);
    }
    if (scaledDown && !FullBitmap.isNull())
        Magnifier = std::make_unique<TMagnifier>(canvas, FullBitmap, width, height, BackColor);
    else
        Magnifier = std::make_unique<TMagnifier>(canvas, width, height);
    Magnifier->SetLensWidth(width / 4);
    Magnifier->SetLensHeight(height / 4);
    Magnifier->MoveTo(x, y);
}

void TPicView::LensMove(int x, int y) {
    if (Magnifier)
        Magnifier->MoveTo(x, y);
}

void TPicView::LensDown() {
    Magnifier.reset();
}

void TPicView::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers shifts =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (shifts == Qt::ControlModifier && key == Qt::Key_O)
        NOptionClick();
    // The toolbar's auto-play button names this key.
    if (shifts == Qt::ControlModifier && key == Qt::Key_P)
        ToolBtnPlayClick();
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
        case Qt::Key_PageDown:
            Navigate(TStep::Next);
            break;
        case Qt::Key_PageUp:
            Navigate(TStep::Previous);
            break;
        case Qt::Key_F10:
            NAlbumRowseClick();
            break;
        case Qt::Key_F11:
            NSmallPicClick();
            break;
        case Qt::Key_Escape:
            // The menu's key for Exit.
            if (shifts == Qt::NoModifier)
                NExitClick();
            break;
        default:
            break;
    }
}

void TPicView::FormMouseWheel(int delta, int /*x*/, int /*y*/) {
    // The hourglass means a picture change is under way.
    if (ScreenCursor() == Qt::WaitCursor)
        return;
    Navigate(delta < 0 ? TStep::Next : TStep::Previous);
}

void TPicView::FormMouseDown(Qt::MouseButton button, int x, int y) {
    // A step under way gets its picture on screen first.
    if (stepping_ || InTransition())
        return;
    if (button == Qt::RightButton) {
        PopupMenu->popup(GlobalFromDevice(QPoint(x, y)));
        return;
    }
    if (button != Qt::LeftButton)
        return;
    if (MagnifierDown()) {
        if (!LensIsUp())
            LensUp(x, y);
        return;
    }
    ReturnToOrigin();
}

void TPicView::FormMouseMove(int x, int y) {
    if (LensIsUp() && MagnifierDown())
        LensMove(x, y);
}

void TPicView::FormMouseUp(Qt::MouseButton /*button*/, int /*x*/, int /*y*/) {
    LensDown();
}

void TPicView::focusOutEvent(QFocusEvent* event) {
    Form::focusOutEvent(event);
    LensDown();
}

void TPicView::ToolBtnPlayClick() {
    SetAutoPlay(!Timer.Enabled());
}

void TPicView::SetAutoPlay(bool on) {
    Timer.SetEnabled(on);
    if (links_.PlayingChanged)
        links_.PlayingChanged(on);
}

void TPicView::TimerTimer() {
    // The lens keeps a copy of the picture under it; a step would leave it stale.
    if (LensIsUp())
        return;
    Navigate(TStep::Next);
}

void TPicView::Leave() {
    LensDown();
    SetAutoPlay(false);
}

void TPicView::ReturnToOrigin() {
    if (Tag == 1) {
        NAlbumRowseClick();
        return;
    }
    ShowBrowser();
}

void TPicView::NAlbumRowseClick() {
    Leave();
    if (links_.ShowBook)
        links_.ShowBook();
}

void TPicView::NSmallPicClick() {
    ShowBrowser();
}

void TPicView::ShowBrowser() {
    if (RowseForm == nullptr)
        return;
    Leave();
    RowseForm->ShowBrowser();
    ActiveCanvas = &RowseForm->GetCanvas();
    ViewMode = 3;
    if (links_.SetToolbarShape)
        links_.SetToolbarShape(false, true);
}

void TPicView::NOptionClick() {
    if (links_.ShowOptions)
        links_.ShowOptions(this);
}

void TPicView::NExitClick() {
    Leave();
    // The wipe runs on the form's canvas, which the transition covers.
    PicShow->Stop();
    PicShow->hide();
    BlindsToBlack(GetCanvas(), GetCanvas().Width(), GetCanvas().Height());
    automation::Record("exit");
    closing_ = true;
    EndProgram(0);
}

}  // namespace pagora
