// The book's commands besides turning: the popup menu, the slide show, the
// other views, the options and the export of the picture under the pointer.
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <memory>

#include "book/PictureExport.h"
#include "book/TVudadezEroz.h"
#include "platform/FileDialog.h"
#include "platform/GbkText.h"
#include "platform/Globals.h"
#include "platform/MessageBox.h"
#include "shell/TfrmOption.h"
#include "shell/TfrmToolbar.h"
#include "views/TPicView.h"
#include "views/TfrmRowse.h"

namespace pagora {

int TVudadezEroz::HotPictureNumber() const {
    // "PIC12.jpg": three letters, the number, four letters of extension.
    const QString& name = HotPicture;
    if (name.size() < 8)
        return 0;
    const QString digits = name.mid(3, name.size() - 7);
    int number = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9' || number > 100000000)
            return 0;
        number = number * 10 + (c.unicode() - u'0');
    }
    return number >= 1 && number <= PictureCount() ? number : 0;
}

void TVudadezEroz::FormMouseDown(Qt::MouseButton button, int x, int y) {
    if (Busy || Turning)
        return;
    if (Tag == 0)
        FormMouseMove(x, y);
    if (button == Qt::RightButton) {
        NOut->setEnabled(HotZone == 2);
        PopupMenu->popup(GlobalFromDevice(QPoint(x, y)));
        return;
    }
    if (button != Qt::LeftButton)
        return;
    switch (HotZone) {
        case 0:
            lblUPClick();
            break;
        case 1:
            lblDownClick();
            break;
        case 2:
            if (const int n = HotPictureNumber())
                OpenPicture(n);
            else
                HotZone = 3;
            break;
        case 4:
            JumpToPage();
            break;
        default:
            break;
    }
}

void TVudadezEroz::OpenPicture(int n) {
    if (Busy || Turning || PicViewForm == nullptr)
        return;
    PicViewForm->Tag = 1;
    TimerWasOn = BookTimer.Enabled() ? 1 : 0;
    BookTimer.SetEnabled(false);
    PicViewForm->ShowPicture(n);
    ActiveCanvas = &PicViewForm->GetCanvas();
    ViewMode = 2;
    if (ToolbarForm != nullptr)
        ToolbarForm->SetToolbarShape(true, true);
}

void TVudadezEroz::NAllScreenClick() {
    // Without pictures there is nothing to show full screen.
    if (PictureCount() == 0)
        return;
    const int n = HotZone == 2 ? HotPictureNumber() : 1;
    OpenPicture(n != 0 ? n : 1);
}

void TVudadezEroz::NSmallPicClick() {
    if (PictureCount() == 0 || RowseForm == nullptr || Turning)
        return;
    // The show turns the hidden book on, and is as it was on the way back.
    TimerWasOn = BookTimer.Enabled() ? 1 : 0;
    RowseForm->ShowBrowser();
    ActiveCanvas = &RowseForm->GetCanvas();
    ViewMode = 3;
    if (ToolbarForm != nullptr)
        ToolbarForm->SetToolbarShape(false, true);
}

ViewLinks TVudadezEroz::MakeViewLinks() {
    ViewLinks links;
    links.ShowBook = [this] { ReturnToBook(); };
    links.SetToolbarShape = [](bool leftTab, bool rightTab) {
        if (ToolbarForm != nullptr)
            ToolbarForm->SetToolbarShape(leftTab, rightTab);
    };
    links.MagnifierDown = [] { return ToolbarForm != nullptr && ToolbarForm->MagnifierDown(); };
    links.PlayingChanged = [](bool playing) {
        if (ToolbarForm != nullptr)
            ToolbarForm->ShowPlaying(playing);
    };
    links.ShowInfo = [this] { return ShowInfo != 0; };
    links.ShowOptions = [this](QWidget* owner) { ShowOptions(owner); };
    return links;
}

void TVudadezEroz::ReturnToBook() {
    BookTimer.SetEnabled(TimerWasOn != 0);
    // The menu's tick follows, so the next tick or Ctrl+P finds the two agreeing.
    NPlay->setChecked(TimerWasOn != 0);
    ShowFullScreen();
    // The views are the book's own windows, which a window manager keeps
    // above it: they step aside rather than behind.
    if (PicViewForm != nullptr)
        PicViewForm->hide();
    if (RowseForm != nullptr)
        RowseForm->hide();
    ActiveCanvas = &GetCanvas();
    ViewMode = 1;
    if (ToolbarForm != nullptr)
        ToolbarForm->SetToolbarShape(false, true);
}

void TVudadezEroz::NPlayClick() {
    NPlay->setChecked(!NPlay->isChecked());
    BookTimer.SetEnabled(NPlay->isChecked());
    if (BookTimer.Enabled())
        lblDownClick();
}

void TVudadezEroz::TimerTimer() {
    if (CurrentPage < PageCount)
        lblDownClick();
    else
        NPlayClick();
}

void TVudadezEroz::NOptionClick() {
    if (Turning)
        return;
    ShowOptions(this);
}

ToolbarTargets TVudadezEroz::ToolbarCommands() {
    ToolbarTargets targets;
    targets.BookUp = [this] { NUpPageClick(); };
    targets.BookDown = [this] { NDownPageClick(); };
    // Through the globals: the views may be gone at shutdown, the toolbar outlives them.
    const auto viewer = [](void (TPicView::*handler)()) {
        return [handler] {
            if (PicViewForm != nullptr)
                (PicViewForm->*handler)();
        };
    };
    const auto browser = [](void (TfrmRowse::*handler)()) {
        return [handler] {
            if (RowseForm != nullptr)
                (RowseForm->*handler)();
        };
    };
    targets.ViewerUp = viewer(&TPicView::NUpPageClick);
    targets.ViewerDown = viewer(&TPicView::NDownPageClick);
    targets.ViewerAlbum = viewer(&TPicView::NAlbumRowseClick);
    targets.ViewerThumbnails = viewer(&TPicView::NSmallPicClick);
    targets.ViewerPlay = viewer(&TPicView::ToolBtnPlayClick);
    targets.ViewerPlaying = [] { return PicViewForm != nullptr && PicViewForm->Timer.Enabled(); };
    targets.BrowserUp = browser(&TfrmRowse::NUpPageClick);
    targets.BrowserDown = browser(&TfrmRowse::NDownPageClick);
    targets.Exiting = [this] { exiting_ = true; };
    return targets;
}

OptionTarget TVudadezEroz::Options() {
    OptionTarget target;
    target.AlbumName = FromGbk(Profile.AlbumName).toStdString();
    target.TurnTime = &TurnTime;
    target.BookTimer = &BookTimer;
    target.BackMusicOn = &BackMusicOn;
    target.BackRangOn = &BackRangOn;
    target.Player = Player.get();
    target.NoMusic = QStringLiteral("NoMusicKKKK");
    target.LoadBackground = [this](const std::string& path) { LoadBackground(path); };
    target.Repaint = [this] { Invalidate(); };
    return target;
}

void TVudadezEroz::ShowOptions(QWidget* owner) {
    auto dialog = std::make_unique<TfrmOption>(owner, Options());
    dialog->ShowModal();
}

void TVudadezEroz::NBmpClick() {
    ExportHotPicture(ExportKind::Bmp);
}

void TVudadezEroz::NJpgClick() {
    ExportHotPicture(ExportKind::Jpg);
}

void TVudadezEroz::ExportHotPicture(ExportKind kind) {
    const bool bmp = kind == ExportKind::Bmp;
    SavePictureDialog.FileName =
        ProposedExportName(QCoreApplication::applicationFilePath(), HotPicture);
    SavePictureDialog.Filter = bmp ? QStringLiteral("Bitmap|*.Bmp") : QStringLiteral("JPEG|*.jpg");
    const std::optional<QString> chosen = RunFileDialog(SavePictureDialog);
    if (!chosen)
        return;
    const bool english = LanguageFlag == 1;
    try {
        ExportPicture(*Archive, HotPictureMember, ExportTarget(chosen->toStdString(), kind), kind);
    } catch (const std::exception&) {
        ShowMessage(english ? QStringLiteral("Export the picture failure!")
                            : QStringLiteral("导出图片失败！"));
        return;
    }
    ShowMessage(english ? QStringLiteral("Export complete!") : QStringLiteral("导出成功！"));
}

bool TVudadezEroz::eventFilter(QObject* watched, QEvent* event) {
    // Keys typed while another of the program's windows is in front reach the
    // view on show; never those meant for a dialog or a message box.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
        QApplication::activeModalWidget() != nullptr)
        return false;
    QWidget* window = static_cast<QWidget*>(watched)->window();
    auto* key = static_cast<QKeyEvent*>(event);
    if (ViewMode == 1 && window != this) {
        activateWindow();
        setFocus();
        Guarded([&] { FormKeyDown(key->key(), key->modifiers()); });
    } else if (ViewMode == 2 && PicViewForm != nullptr && window != PicViewForm) {
        PicViewForm->activateWindow();
        PicViewForm->setFocus();
        QKeyEvent copy(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
        QCoreApplication::sendEvent(PicViewForm, &copy);
    }
    return false;
}

}  // namespace pagora
