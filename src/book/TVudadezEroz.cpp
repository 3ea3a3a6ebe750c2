#include "book/TVudadezEroz.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>

#include "archive/AlbumSetupInfo.h"
#include "archive/HelperLibrary.h"
#include "archive/MemberNames.h"
#include "book/BackgroundTile.h"
#include "book/CoverShade.h"
#include "book/MusicFiles.h"
#include "book/PageStacks.h"
#include "gfx/Bitmap.h"
#include "gfx/Draw.h"
#include "gfx/Folders.h"
#include "gfx/PictureError.h"
#include "gfx/PictureFile.h"
#include "platform/Application.h"
#include "platform/Automation.h"
#include "platform/GbkText.h"
#include "platform/Globals.h"
#include "platform/IniFile.h"
#include "platform/MenuIcons.h"
#include "platform/MessageBox.h"
#include "platform/Messages.h"
#include "platform/SectionName.h"
#include "shell/TfrmFlash.h"
#include "shell/TfrmToolbar.h"
#include "views/TPicView.h"
#include "views/TfrmRowse.h"

namespace pagora {

namespace {

// The splash pictures are shown at their own size in a box of about 558 x 278;
// anything far larger is not a splash picture.
constexpr int64_t kMaxSplashArea = int64_t{1} << 24;

QColor FromColorRef(uint32_t value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

}  // namespace

TVudadezEroz::TVudadezEroz(Form* owner, int32_t baseLow, int32_t baseHigh,
                           const AlbumProfile* profile, std::unique_ptr<AlbumArchive> archive,
                           QString albumPath)
    : Form(owner),
      Profile(*profile),
      lblDown(this),
      lblUP(this),
      lblPage(this),
      Archive(std::move(archive)) {
    AlbumPath = std::move(albumPath);
    ArchiveBase = static_cast<int64_t>((uint64_t(uint32_t(baseHigh)) << 32) | uint32_t(baseLow));
    setWindowTitle(QStringLiteral("-"));
    CreateComponents();
    try {
        FormCreate();
    } catch (...) {
        ShutDown();
        throw;
    }
}

TVudadezEroz::~TVudadezEroz() {
    ShutDown();
}

void TVudadezEroz::CreateComponents() {
    PopupMenu = new QMenu(this);
    NAllScreen = PopupMenu->addAction(QStringLiteral("全屏观赏"));
    NSmallPic = PopupMenu->addAction(QStringLiteral("缩略图浏览"));
    N1 = PopupMenu->addSeparator();
    NUpPage = PopupMenu->addAction(QStringLiteral("上一页"));
    NUpPage->setEnabled(false);
    NDownPage = PopupMenu->addAction(QStringLiteral("下一页"));
    N2 = PopupMenu->addSeparator();
    NPlay = PopupMenu->addAction(QStringLiteral("自动播放"));
    NPlay->setCheckable(true);
    N3 = PopupMenu->addSeparator();
    NOutMenu = PopupMenu->addMenu(QStringLiteral("导出"));
    NOut = NOutMenu->menuAction();
    NOut->setEnabled(false);
    NBmp = NOutMenu->addAction(QStringLiteral("位图图片（Bmp）"));
    NJpg = NOutMenu->addAction(QStringLiteral("压缩图片（Jpg）"));
    NOption = PopupMenu->addAction(QStringLiteral("配置"));
    N6 = PopupMenu->addSeparator();
    NExit = PopupMenu->addAction(QStringLiteral("退出"));

    const std::vector<QIcon>& icons = MenuIcons();
    const std::pair<QAction*, int> images[] = {{NAllScreen, 7}, {NSmallPic, 6}, {NUpPage, 4},
                                               {NDownPage, 5},  {NBmp, 0},      {NJpg, 2},
                                               {NOption, 1},    {NExit, 3}};
    for (const auto& [action, index] : images)
        action->setIcon(icons.at(index));
    NAllScreen->setShortcut(Qt::Key_F12);
    NSmallPic->setShortcut(Qt::Key_F11);
    NUpPage->setShortcut(Qt::Key_PageUp);
    NDownPage->setShortcut(Qt::Key_PageDown);
    NPlay->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    NBmp->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    NJpg->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_J));
    NOption->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    NExit->setShortcut(Qt::Key_Escape);
    // The keys are the form's own; the menu only shows them.
    for (QAction* action : PopupMenu->actions())
        action->setShortcutContext(Qt::WidgetShortcut);
    for (QAction* action : NOutMenu->actions())
        action->setShortcutContext(Qt::WidgetShortcut);

    const std::pair<QAction*, void (TVudadezEroz::*)()> handlers[] = {
        {NAllScreen, &TVudadezEroz::NAllScreenClick},
        {NSmallPic, &TVudadezEroz::NSmallPicClick},
        {NUpPage, &TVudadezEroz::NUpPageClick},
        {NDownPage, &TVudadezEroz::NDownPageClick},
        {NBmp, &TVudadezEroz::NBmpClick},
        {NJpg, &TVudadezEroz::NJpgClick},
        {NOption, &TVudadezEroz::NOptionClick},
        {NExit, &TVudadezEroz::NExitClick}};
    for (const auto& [action, handler] : handlers)
        connect(action, &QAction::triggered, this,
                [this, handler = handler] { Guarded([&] { (this->*handler)(); }); });
    // The menu has ticked the item already; the command ticks it itself.
    connect(NPlay, &QAction::triggered, this, [this] {
        NPlay->setChecked(!NPlay->isChecked());
        Guarded([this] { NPlayClick(); });
    });
    BookTimer.OnTimer = [this] { TimerTimer(); };

    for (TStrongLabel* label : {&lblUP, &lblDown, &lblPage}) {
        label->SetVisible(true);
        label->setFocusPolicy(Qt::NoFocus);
    }
    for (TStrongLabel* label : {&lblUP, &lblDown})
        label->setCursor(Qt::PointingHandCursor);
    lblUP.OnClick = [this] { lblUPClick(); };
    lblDown.OnClick = [this] { lblDownClick(); };

    SavePictureDialog.DialogKind = FileDialogRequest::Kind::Save;
    SavePictureDialog.Filter = QStringLiteral("JPEG|*.jpg|Btimap|*.Bmp");
}

void TVudadezEroz::Progress(TfrmFlash& flash, int percent) {
    flash.SetProgress(percent);
    if (automation::Active())
        automation::Record("progress " + std::to_string(percent) + " " +
                           std::to_string(automation::Elapsed()));
}

void TVudadezEroz::FormCreate() {
    // The book is laid out and decoded in the screen's device pixels.
    const QSize screen = ScreenDeviceSize();
    ScreenW = screen.width();
    ScreenH = screen.height();

    TfrmFlash flash(this, LanguageFlag);
    if (auto picture = Archive->Extract("Albumflash.jpg"))
        flash.MainPicture = DecodeJpeg(*picture, "Albumflash.jpg", kMaxSplashArea);
    else
        flash.SetSmallLayout();
    if (auto film = Archive->Extract("FilmBarPhoto.jpg"))
        flash.FilmPicture = DecodeJpeg(*film, "FilmBarPhoto.jpg", kMaxSplashArea);
    flash.ShowSplash();
    flash.repaint();
    ProcessMessages();

    HotZone = 3;
    LoadSettings();
    const QString albumName = FromGbk(Profile.AlbumName);
    ViewKey = albumName + QString::number(ScreenW);

    PicViewForm = new TPicView(this, ArchiveBase, ViewKey, AlbumPath);
    PicViewForm->SetColor(BackColor);
    PicViewForm->SetMenuImages(&MenuIcons());
    PicViewForm->SetPictureCount(PictureCount());
    PicViewForm->SetLinks(MakeViewLinks());

    WorkFolder = ::pagora::WorkFolder();
    // A damaged sound or track is as good as a missing one: silence.
    const std::string soundFile = TurnSoundPath();
    if (BackRangOn && !FileExists(soundFile))
        ExtractOptional(*Archive, kTurnSoundMember, soundFile);

    Player = std::make_unique<MediaPlayer>();
    if (!Profile.MusicName.empty()) {
        const std::string path = MusicPath(Profile.MusicName);
        Player->FileName = QString::fromStdString(path);
        ExtractOptional(*Archive, Profile.MusicName, path);
    } else {
        Player->FileName = QString::fromLatin1(kNoMusic);
    }
    Player->OnNotify = [this] { MediaplayerEnd(); };
    MusicThread = std::make_unique<TPlaythread>(Player.get(), BackMusic, BackMusicOn, Archive.get(),
                                                Profile.MusicName);

    Progress(flash, 0);
    PageCount = std::clamp(Profile.PageCount, 0, Archive->MemberCount());
    CurrentPage = 0;
    Progress(flash, 2);
    LayoutBook();
    ProcessMessages();
    Progress(flash, 20);
    CreateBuffers();
    Progress(flash, 40);
    // The album's own helper library is never loaded; the built-in services are.
    LoadHelperLibrary("BaseFunction.dll");
    ProcessMessages();
    Progress(flash, 60);
    LoadBookPictures();
    Progress(flash, 75);
    ProcessMessages();
    try {
        LoadBackground(BackPic);
    } catch (const std::exception& error) {
        // A picture of the user's that no longer decodes leaves the album's
        // own background, so the album still opens and the options can mend it.
        if (BackPic.empty())
            throw;
        ShowMessage(QString::fromUtf8(error.what()));
        LoadBackground({});
    }
    Progress(flash, 90);
    WaitUntil([this] { return Player->Tag != 1; }, MusicThread.get());
    Loader = std::make_unique<TLoadThread>(*Archive, PageSlots, PicWidth, PicHeight);
    QueuePages(2, 1);
    Progress(flash, 100);

    lblPage.SetCaption(LanguageFlag == 1 ? QString::number(PageCount) + QStringLiteral(" Pages ")
                                         : QStringLiteral("共") + QString::number(PageCount) +
                                               QStringLiteral("页 "));
    lblUP.Repaint();
    lblDown.Repaint();

    RowseForm = new TfrmRowse(this, PictureCount(), Archive.get());
    RowseForm->SetMenuImages(&MenuIcons());
    RowseForm->SetColor(BackColor);
    RowseForm->SetLinks(MakeViewLinks());
    if (ToolbarForm != nullptr) {
        ToolbarForm->SetTargets(ToolbarCommands());
        ToolbarForm->ShowToolbar();
    }
    if (PictureCount() == 0) {
        for (QAction* item : {NAllScreen, NSmallPic}) {
            item->setEnabled(false);
            item->setVisible(false);
        }
    }
    ApplyEnglishCaptions();
    if (automation::Active())
        RecordCaptions();
    qApp->installEventFilter(this);
}

void TVudadezEroz::RecordCaptions() const {
    QStringList menu;
    for (const QAction* item :
         {NAllScreen, NSmallPic, NUpPage, NDownPage, NPlay, NOut, NBmp, NJpg, NOption, NExit})
        if (item->isVisible())
            menu << item->text();
    automation::Record("menu " + menu.join('|').toStdString());
    automation::Record(
        ("labels " + lblUP.Caption() + "|" + lblDown.Caption() + "|" + lblPage.Caption())
            .toStdString());
}

int TVudadezEroz::PictureCount() const {
    return std::clamp(Profile.PictureCount, 0, Archive ? Archive->MemberCount() : 0);
}

void TVudadezEroz::LayoutBook() {
    layout_ = ComputeBookLayout(ScreenW, ScreenH,
                                [scale = Scale()](int pixels) { return scale.Scaled(pixels); });
    PageWidth = layout_.PageWidth;
    PageHeight = layout_.PageHeight;
    PageY = layout_.PageY;
    RightPageX = layout_.RightPageX;
    LeftPageX = layout_.LeftPageX;
    LeftStack = layout_.LeftStack;
    RightStack = layout_.RightStack;
    ShadeDepth = layout_.ShadeDepth;
    EdgeStep = layout_.EdgeStep;
    SpineShade = layout_.SpineShade;
    CurlLift = layout_.CurlLift;
    PicWidth = layout_.PicWidth;
    PicHeight = layout_.PicHeight;
    PicY = layout_.PicY;
    LeftPicX = layout_.LeftPicX;
    RightPicX = layout_.RightPicX;

    lblUP.SetPosition(layout_.UpLabelLeft, layout_.LabelTop);
    lblDown.SetPosition(layout_.DownLabelLeft, layout_.LabelTop);
    lblPage.SetPosition(layout_.PageLabelLeft, layout_.LabelTop);
    lblUP.SetCaption(NormalCaption(false));
    lblUP.SetVisible(false);
    lblDown.SetCaption(NormalCaption(true));
    if (automation::Active())
        automation::Record(
            "layout PageWidth=" + std::to_string(PageWidth) +
            " PageHeight=" + std::to_string(PageHeight) + " PageY=" + std::to_string(PageY) +
            " LeftPageX=" + std::to_string(LeftPageX) + " RightPageX=" +
            std::to_string(RightPageX) + " RightStack=" + std::to_string(RightStack) +
            " ShadeDepth=" + std::to_string(ShadeDepth) + " PicWidth=" + std::to_string(PicWidth) +
            " PicHeight=" + std::to_string(PicHeight) +
            " LabelTop=" + std::to_string(layout_.LabelTop));
}

void TVudadezEroz::CreateBuffers() {
    // Every pixel of the background is tiled over, so it need not start black.
    if (!PictureSizeAllowed(ScreenW, ScreenH))
        throw PictureError("The screen is too large for the background");
    Background = QImage(ScreenW, ScreenH, kBitmapFormat);
    const int curlHeight = PageHeight + CurlLift;
    for (QImage* curl : {&CurlUnder, &CurlSaved})
        *curl = NewBitmap24(PageWidth, curlHeight);
    // The covers and papers are decoded at this size by LoadBookPictures.
    LeftPageBmp = NewBitmap24(PageWidth, PageHeight);
    for (PageSlot& slot : PageSlots)
        slot.Picture = NewBitmap24(PicWidth, PicHeight);
    BookHint = std::make_unique<TCanvasHint>(GetCanvas());
}

QImage TVudadezEroz::LoadPagePicture(const char* member, bool halftone) {
    const auto bytes = Archive->Extract(member);
    if (!bytes)
        throw PictureError(std::string(member) + ": the album has no such picture");
    return DecodeJpegToBox(*bytes, member, PageWidth, PageHeight, !halftone, true);
}

void TVudadezEroz::LoadBookPictures() {
    RightPageBmp = LoadPagePicture("Cover.jpg", true);
    ShadeCover(RightPageBmp, ShadeDepth, SpineShade);
    CoverCopy = RightPageBmp.copy();
    LeftPaper = LoadPagePicture("LeftPage.jpg", false);
    BackCover = LoadPagePicture("CoverBack.jpg", false);
    ShadeBackCover(BackCover, ShadeDepth);
    RightPaper = LoadPagePicture("RightPage.jpg", false);
}

void TVudadezEroz::LoadBackground(const std::string& path) {
    QImage picture;
    if (!path.empty()) {
        LoadPictureFile(picture, path);
    } else {
        const auto bytes = Archive->Extract("back.jpg");
        if (!bytes)
            throw PictureError("back.jpg: the album has no such picture");
        picture = DecodeJpeg(*bytes, "back.jpg");
    }
    TileBackground(Background, picture);
}

void TVudadezEroz::LoadSettings() {
    BookSettings settings;
    settings.TimerInterval = BookTimer.Interval();
    if (auto record = Archive->Extract("AlbumProInfo.dat")) {
        MemoryStream stream(std::move(*record));
        TAlbumSetupInfo1_1 info(&stream);
        info.Load();
        ApplySetupRecord(settings, info);
    }
    const IniFile file(WindowsFolder() + "/Leafhall.ini");
    ApplySettingsFile(settings, file, EscapeSectionName(FromGbk(Profile.AlbumName).toStdString()));
    TurnTime = settings.TurnTime;
    BookTimer.SetInterval(settings.TimerInterval);
    ShowInfo = settings.ShowInfo ? 1 : 0;
    BackColor = FromColorRef(settings.BackColor);
    BackMusic = settings.BackMusic;
    BackPic = settings.BackPic;
    BackMusicOn = settings.BackMusicOn ? 1 : 0;
    BackRangOn = settings.BackRangOn ? 1 : 0;
    if (automation::Active())
        automation::Record("settings TurnTime=" + std::to_string(TurnTime) +
                           " Interval=" + std::to_string(BookTimer.Interval()));
}

void TVudadezEroz::ApplyEnglishCaptions() {
    if (LanguageFlag != 1)
        return;
    NAllScreen->setText(QStringLiteral("Full Screen"));
    NSmallPic->setText(QStringLiteral("Thumbnails"));
    NUpPage->setText(QStringLiteral("Back"));
    NDownPage->setText(QStringLiteral("Next"));
    NPlay->setText(QStringLiteral("Start Slide Show"));
    NOut->setText(QStringLiteral("Export"));
    NBmp->setText(QStringLiteral("Bitmap Image"));
    NJpg->setText(QStringLiteral("JPEG Image"));
    NOption->setText(QStringLiteral("Options .."));
    NExit->setText(QStringLiteral("Exit"));
}

StackScene TVudadezEroz::Scene() const {
    return StackScene{layout_, Background, CoverCopy, LeftPaper, RightPaper};
}

void TVudadezEroz::DrawLeftPage() {
    pagora::DrawLeftPage(GetCanvas(), Scene(), LeftStack, LeftPageBmp);
}

void TVudadezEroz::DrawRightPage() {
    pagora::DrawRightPage(GetCanvas(), Scene(), RightStack, RightPageBmp);
}

void TVudadezEroz::FormPaint() {
    if (Background.isNull())
        return;
    Canvas& canvas = GetCanvas();
    {
        CanvasBatch batch(canvas);
        canvas.Draw(0, 0, Background);
        if (CurrentPage != 0)
            DrawLeftPage();
        if (CurrentPage <= PageCount)
            DrawRightPage();
    }
    if (!painted_) {
        painted_ = true;
        automation::Record("painted " + std::to_string(automation::Elapsed()));
        if (const std::string path = automation::SnapshotPath(); !path.empty())
            canvas.Image().save(QString::fromStdString(path));
        if (automation::Then() == "escape")
            QCoreApplication::postEvent(
                this, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        else if (automation::Then() == "read")
            QTimer::singleShot(0, this, [this] { Guarded([this] { ReadThrough(); }); });
        else if (automation::Then() == "views")
            QTimer::singleShot(0, this, [this] { Guarded([this] { WalkViews(); }); });
    }
}

void TVudadezEroz::NExitClick() {
    exiting_ = true;
    BlindsToBlack(GetCanvas(), GetCanvas().Width(), GetCanvas().Height());
    automation::Record("exit");
    EndProgram(0);
}

void TVudadezEroz::ShutDown() {
    if (qApp != nullptr)
        qApp->removeEventFilter(this);
    if (ToolbarForm != nullptr)
        ToolbarForm->SetTargets({});
    // The views' loaders and transitions go before anything they use: the
    // browser reads this archive.
    if (PicViewForm != nullptr && PicViewForm->parent() == this)
        PicViewForm->ShutDown();
    if (RowseForm != nullptr && RowseForm->parent() == this)
        RowseForm->ShutDown();
    BookHint.reset();
    // Workers go first: they read the archive and deliver into the buffers.
    Loader.reset();
    MusicThread.reset();
    FreeHelperLibrary();
    if (Player)
        Player->Close();
    Player.reset();
    Archive.reset();
    if (PicViewForm != nullptr && PicViewForm->parent() == this)
        PicViewForm = nullptr;
    if (RowseForm != nullptr && RowseForm->parent() == this)
        RowseForm = nullptr;
}

}  // namespace pagora
