#include "ViewsWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <chrono>
#include <cstdlib>
#include <functional>

#include "archive/MemberNames.h"
#include "gfx/PictureFile.h"
#include "platform/Globals.h"
#include "platform/Messages.h"
#include "views/TPicView.h"
#include "views/TfrmRowse.h"

namespace pagora::test {

Album Replace(Album album, const std::string& name, Bytes content) {
    for (Member& member : album)
        if (member.Name == name)
            member.Content = std::move(content);
    return album;
}

void ViewsTest::SetUpTestSuite() {
    MakeBaseAlbum();
    std::string list;
    for (int k = 1; k <= kViewsPictures; ++k) {
        const std::string photo = "colour" + std::to_string(k) + ".jpg";
        WriteFile(Path(photo),
                  EncodeJpeg(Plain(kViewsPhotoWidth, kViewsPhotoHeight, PageColour(k)), 95));
        const std::string title = k == 4 ? "beach.JPG" : "Photo " + std::to_string(k);
        list += photo + "\t" + title + "\tAbout " + std::to_string(k) + "\t2021-07-15 14:30\n";
    }
    WriteFile(Path("views-list.txt"), TextBytes(list));
    const ProcessResult made =
        RunProgram({KFA_PATH, "make", "--list", Path("views-list.txt"), "-o", Path("views.kfa"),
                    "--name", "Views album", "--screen", "1024x768"});
    ASSERT_EQ(made.Status, 0) << made.Err;
    views_ = new Album(ReadAlbum(Path("views.kfa")));
    config_ = new TempDir;
    ::setenv("XDG_CONFIG_HOME", config_->Path().c_str(), 1);
}

void ViewsTest::TearDownTestSuite() {
    delete views_;
    views_ = nullptr;
    TearDownBook();
}

void ViewsTest::OpenViews(int pictures, const std::string& album) {
    Open(kViewsPictures, 0, album, pictures);
    ASSERT_NE(PicViewForm, nullptr);
    ASSERT_NE(RowseForm, nullptr);
    // Every frame of a transition, without the pause between them.
    PicViewForm->PicShow->SetDelay(0);
}

TPicView& ViewsTest::Viewer() const {
    return *PicViewForm;
}

TfrmRowse& ViewsTest::Browser() const {
    return *RowseForm;
}

int ViewsTest::ShownAt(int x, int y) const {
    const QRgb pixel = Viewer().GetCanvas().Image().pixel(x, y);
    for (int k = 1; k <= kViewsPictures; ++k) {
        const QRgb c = PageColour(k);
        if (std::abs(qRed(pixel) - qRed(c)) + std::abs(qGreen(pixel) - qGreen(c)) +
                std::abs(qBlue(pixel) - qBlue(c)) <
            25)
            return k;
    }
    return 0;
}

int ViewsTest::ShownPicture() const {
    return ShownAt(Viewer().GetCanvas().Width() / 2, Viewer().GetCanvas().Height() / 2);
}

namespace {

// A view that does not settle fails the test rather than hanging the run.
void SettleWithin(const std::function<bool()>& settled, const char* what) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    WaitUntil([&] { return settled() || std::chrono::steady_clock::now() > deadline; });
    EXPECT_TRUE(settled()) << what << " never settled";
}

}  // namespace

void ViewsTest::Settle() const {
    SettleWithin([this] { return Viewer().Settled(); }, "the viewer");
}

void ViewsTest::SettleBrowser() const {
    SettleWithin([this] { return !Browser().Loader || Browser().Loader->Idle(); }, "the browser");
}

void ViewsTest::Mouse(QWidget* widget, QEvent::Type type, int x, int y, Qt::MouseButton button) {
    QMouseEvent event(
        type, QPointF(x, y), widget->mapToGlobal(QPointF(x, y)), button,
        type == QEvent::MouseMove || type == QEvent::MouseButtonRelease ? Qt::NoButton : button,
        Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void ViewsTest::Wheel(int notches) const {
    const QPointF at(100, 100);
    QWheelEvent event(at, Viewer().mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&Viewer(), &event);
}

void ViewsTest::ViewerKey(int key, Qt::KeyboardModifiers modifiers) const {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&Viewer(), &press);
}

}  // namespace pagora::test
