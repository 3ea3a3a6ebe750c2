#include "app/TfrmMain.h"

#include <QApplication>
#include <QFileInfo>

#include "app/AlbumSource.h"
#include "app/TfrmPassword.h"
#include "archive/AlbumError.h"
#include "book/TVudadezErozNew.h"
#include "platform/Application.h"
#include "platform/Automation.h"
#include "platform/Globals.h"
#include "platform/MessageBox.h"
#include "platform/ScreenCursor.h"
#include "shell/TfrmToolbar.h"

namespace pagora {

namespace {

constexpr int kStatusCancelled = 0;
constexpr int kStatusFailed = 1;

QString DamagedAlbumMessage() {
    return LanguageFlag == 1 ? QStringLiteral("The file may have already been damage！")
                             : QStringLiteral("像册文件可能已经被损坏，不能打开！");
}

}  // namespace

TfrmMain::TfrmMain() : Form(nullptr) {
    OpenDialog1.DialogKind = FileDialogRequest::Kind::Open;
    OpenDialog1.Filter = QStringLiteral("相册文件|*.kfa");
}

bool TfrmMain::Fail(const QString& message, int status) {
    if (!message.isEmpty())
        ShowMessage(message);
    EndProgram(status);
    return false;
}

void TfrmMain::FormShow() {
    setGeometry(0, -1000, 0, 0);
    QApplication::setApplicationDisplayName(LanguageFlag == 1 ? QStringLiteral("Pagora")
                                                              : QStringLiteral("相册观赏"));
    try {
        if (!OpenAlbum())
            return;
        WaitCursor busy;
        const uint64_t base = static_cast<uint64_t>(ArchiveBase);
        BookForm = new TVudadezErozNew(this, static_cast<int32_t>(base & 0xFFFFFFFFu),
                                       static_cast<int32_t>(base >> 32), &Profile,
                                       std::move(Archive), AlbumFile);
    } catch (const std::exception& error) {
        // The album cannot be shown: nothing stays behind but the message.
        ReportException(error);
        EndProgram(kStatusFailed);
        return;
    }
    BookForm->setWindowTitle(QApplication::applicationDisplayName());
    BookForm->ShowFullScreen();
    ActiveCanvas = &BookForm->GetCanvas();
    ViewMode = 1;
    if (ToolbarForm != nullptr)
        ToolbarForm->SetToolbarShape(false, true);
}

bool TfrmMain::OpenAlbum() {
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1) {
        switch (CheckMaker(QCoreApplication::applicationDirPath().toStdString())) {
            case MakerCheck::MakerMissing:
                return Fail(QStringLiteral("can't find main application!"), kStatusFailed);
            case MakerCheck::WrongVersion:
                return Fail(QStringLiteral("The application is error!"), kStatusFailed);
            case MakerCheck::Passed:
                break;
        }
        AlbumFile = arguments[1];
        ArchiveBase = 0;
    } else {
        const QString self = QCoreApplication::applicationFilePath();
        ArchiveBase = AppendedAlbumBase(self.toStdString());
        if (ArchiveBase != 0) {
            AlbumFile = self;
        } else {
            if (LanguageFlag == 1)
                OpenDialog1.Filter = QStringLiteral("Album File|*.kfa");
            automation::Record("open-dialog " + OpenDialog1.Filter.toStdString());
            const auto chosen = RunFileDialog(OpenDialog1);
            if (!chosen)
                return Fail(QString(), kStatusCancelled);
            AlbumFile = *chosen;
        }
    }
    QApplication::setApplicationDisplayName(
        QApplication::applicationDisplayName() + "-" +
        QString::fromStdString(AlbumTitleName(AlbumFile.toStdString())));
    automation::Record("title " + QApplication::applicationDisplayName().toStdString());

    Archive = AlbumArchive::OpenAt(AlbumFile.toStdString(), ArchiveBase);
    const auto profile = Archive->Extract("profile.dat");
    if (!profile)
        return Fail(DamagedAlbumMessage(), kStatusFailed);
    ProfileMember member;
    try {
        member = ReadProfile(*profile);
    } catch (const AlbumError&) {
        return Fail(DamagedAlbumMessage(), kStatusFailed);
    }
    Profile = member.Profile;
    MusicList = member.MusicList;

    if (!Profile.Password.empty()) {
        TfrmPassword prompt(this);
        if (!prompt.Ask(Profile.Password))
            return Fail(QString(), kStatusCancelled);
    }
    return true;
}

}  // namespace pagora
