#include "BookWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <cstdlib>

#include "archive/AlbumArchive.h"
#include "archive/AlbumProfile.h"
#include "archive/MemberNames.h"
#include "gfx/PictureFile.h"
#include "platform/Globals.h"
#include "platform/Messages.h"
#include "platform/ScreenScale.h"

namespace pagora::test {

QRgb PageColour(int page) {
    return qRgb((page * 53) % 200 + 30, (page * 97 + 60) % 200 + 30, (page * 31 + 120) % 200 + 30);
}

void ClearEndedLoops() {
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

Album Put(Album album, const std::string& name, Bytes content) {
    std::erase_if(album, [&](const Member& m) {
        return QString::fromStdString(m.Name).compare(QString::fromStdString(name),
                                                      Qt::CaseInsensitive) == 0;
    });
    return With(std::move(album), name, std::move(content));
}

void BookWindowTest::SetUpBook(int pages, const std::function<Bytes(int page)>& info) {
    MakeBaseAlbum();
    // A failed make has said why; the tests of the suite then fail, not crash.
    ASSERT_NE(base_, nullptr);
    config_ = new TempDir;
    ::setenv("XDG_CONFIG_HOME", config_->Path().c_str(), 1);
    Album album = *base_;
    for (int page = 1; page <= pages; ++page) {
        album = Put(album, PagePictureName(page), EncodeJpeg(Plain(64, 48, PageColour(page)), 95));
        album = Put(album, PageInfoName(page), info(page));
    }
    album = Put(album, "CoverBack.jpg", EncodeJpeg(Plain(64, 48, qRgb(20, 20, 160)), 95));
    WriteAlbum(BookPath(), album);
}

void BookWindowTest::TearDownBook() {
    DropBaseAlbum();
    delete config_;
    config_ = nullptr;
}

void BookWindowTest::Open(int pageCount, int turnTime, const std::string& album, int pictureCount) {
    ProfileMember member = ReadProfile(Find(kProfileMember));
    member.Profile.PageCount = pageCount;
    if (pictureCount >= 0)
        member.Profile.PictureCount = pictureCount;
    if (editProfile_)
        editProfile_(member.Profile);
    book = std::make_unique<TVudadezErozNew>(nullptr, 0, 0, &member.Profile,
                                             AlbumArchive::OpenAt(album, 0),
                                             QString::fromStdString(album));
    book->TurnTime = turnTime;
    book->FirstPaint = playOpening_;
    if (beforeShow_)
        beforeShow_(*book);
    // As the program does once the book is up.
    ActiveCanvas = &book->GetCanvas();
    ViewMode = 1;
    book->ShowFullScreen();
    ProcessMessages();
    // The screen in device pixels: 1024 x 768 in the suites' own screen.
    ASSERT_EQ(QSize(book->GetCanvas().Width(), book->GetCanvas().Height()), ScreenDeviceSize());
}

void BookWindowTest::TearDown() {
    book.reset();
    ActiveCanvas = nullptr;
    ViewMode = 0;
}

void BookWindowTest::Key(int key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(book.get(), &press);
}

}  // namespace pagora::test
