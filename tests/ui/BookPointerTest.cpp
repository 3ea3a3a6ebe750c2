// The book window answering the pointer and the menu keys: hover zones and
// cursors, hot spots and their balloons, page-edge jumps, the popup menu's
// export entry, the slide show, the other views and the export itself.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <filesystem>
#include <optional>

#include "BookWindow.h"
#include "archive/HotSpotRecord.h"
#include "gfx/PictureFile.h"
#include "platform/FileDialog.h"
#include "platform/Globals.h"
#include "platform/MessageBox.h"
#include "shell/TfrmOption.h"
#include "views/TPicView.h"
#include "views/TfrmRowse.h"

namespace pagora {
namespace {

using namespace test;

HotSpotRecord Spot(int left, int top, int width, int height, const std::string& picture,
                   const std::string& description = "A quiet lake") {
    HotSpotRecord spot;
    spot.Left = left;
    spot.Top = top;
    spot.Width = width;
    spot.Height = height;
    spot.PictureName = picture;
    spot.Title = "Lake";
    spot.Description = description;
    spot.ShootTime = 38288.5;
    return spot;
}

// Odd pages carry one spot without a balloon; even pages two overlapping ones.
Bytes PageSpots(int page) {
    if (page % 2 == 1)
        return WriteHotSpots({Spot(10, 20, 100, 80, "PIC1.jpg", "SYSTEMSETNO")});
    return WriteHotSpots({Spot(10, 20, 100, 80, "PIC2.jpg"), Spot(50, 50, 100, 100, "PIC3.jpg")});
}

class BookPointerTest : public BookWindowTest {
  protected:
    static void SetUpTestSuite() { SetUpBook(20, PageSpots); }
    static void TearDownTestSuite() { TearDownBook(); }
    void TearDown() override {
        SetFileDialogSeam({});
        SetMessageSink({});
        BookWindowTest::TearDown();
    }

    void Mouse(QEvent::Type type, int x, int y, Qt::MouseButton button = Qt::NoButton) {
        QMouseEvent event(type, QPointF(x, y), QPointF(x, y), button,
                          type == QEvent::MouseMove ? Qt::NoButton : button, Qt::NoModifier);
        QApplication::sendEvent(book.get(), &event);
    }
    void Move(int x, int y) { Mouse(QEvent::MouseMove, x, y); }
    void Click(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        Mouse(QEvent::MouseButtonPress, x, y, button);
    }
    // Screen positions of a point of the right page's and the left page's picture.
    int RightX(int px) const { return book->RightPageX + book->RightPicX + px; }
    int LeftX(int px) const { return book->LeftPageX + book->LeftPicX + px; }
    int PicY(int py) const { return book->PageY + book->PicY + py; }
    Qt::CursorShape Cursor() const { return book->cursor().shape(); }
};

TEST_F(BookPointerTest, CornersAndHotSpotsSetZoneCursorAndBalloon) {
    Open(20, 0);
    Key(Qt::Key_Space);
    ASSERT_EQ(book->CurrentPage, 2);
    const int right = book->RightPageX + book->PageWidth, top = book->PageY,
              bottom = book->PageY + book->PageHeight;

    Move(right - 16, bottom);  // the strip's ends are inclusive
    EXPECT_EQ(book->HotZone, 1);
    EXPECT_EQ(Cursor(), Qt::DragMoveCursor);
    Move(right - 17, top + 5);
    EXPECT_EQ(book->HotZone, 3);
    EXPECT_EQ(Cursor(), Qt::ArrowCursor);
    Move(book->LeftPageX + 16, top);
    EXPECT_EQ(book->HotZone, 0);

    // Overlapping spots: the first stored wins; edges count as inside.
    Move(RightX(60), PicY(60));
    EXPECT_EQ(book->HotZone, 2);
    EXPECT_EQ(book->HotPicture, QStringLiteral("PIC2.jpg"));
    EXPECT_EQ(Cursor(), Qt::PointingHandCursor);
    Move(RightX(150), PicY(150));
    EXPECT_EQ(book->HotPicture, QStringLiteral("PIC3.jpg"));
    Move(RightX(151), PicY(150));
    EXPECT_EQ(book->HotZone, 3);

    // The balloon: drawn 1.1 s after the pointer rests, gone 8.1 s after.
    const QImage before = book->GetCanvas().Image().copy();
    Move(RightX(20), PicY(30));
    TCanvasHint& hint = *book->BookHint;
    EXPECT_TRUE(hint.TimerActive());
    for (int tick = 0; tick < 10; ++tick)
        hint.Tick();
    EXPECT_EQ(hint.ShownAtX(), -1);
    hint.Tick();
    EXPECT_EQ(hint.ShownAtX(), RightX(20));
    EXPECT_NE(book->GetCanvas().Image(), before);
    Move(RightX(200), PicY(300));  // moving on hides it at once
    EXPECT_EQ(hint.ShownAtX(), -1);
    EXPECT_EQ(book->GetCanvas().Image(), before);

    // A turn takes a drawn balloon away before anything moves.
    Move(RightX(20), PicY(30));
    for (int tick = 0; tick < 11; ++tick)
        hint.Tick();
    ASSERT_NE(hint.ShownAtX(), -1);
    const QRect balloon(hint.ShownAtX(), hint.ShownAtY(), 300, 120);
    Key(Qt::Key_Space);
    Key(Qt::Key_Return);
    EXPECT_EQ(hint.ShownAtX(), -1);
    EXPECT_EQ(book->GetCanvas().Image().copy(balloon), before.copy(balloon));

    // "SYSTEMSETNO": the hand and the zone, but no balloon.
    Move(LeftX(20), PicY(30));
    EXPECT_EQ(book->HotZone, 2);
    EXPECT_EQ(book->HotPicture, QStringLiteral("PIC1.jpg"));
    EXPECT_FALSE(hint.TimerActive());
}

TEST_F(BookPointerTest, WithoutPicturesSpotsOnlyTell) {
    Open(20, 0, BookPath(), 0);
    Key(Qt::Key_Space);
    Move(RightX(20), PicY(30));
    EXPECT_EQ(book->HotZone, 3);
    EXPECT_EQ(Cursor(), Qt::ArrowCursor);
    EXPECT_TRUE(book->BookHint->TimerActive());
    Key(Qt::Key_F12);
    Key(Qt::Key_F11);
    EXPECT_EQ(ViewMode, 1) << "no picture view without pictures";
}

TEST_F(BookPointerTest, PageEdgeStacksJumpWithOneTurn) {
    Open(20, 0);
    for (int i = 0; i < 5; ++i)
        Key(Qt::Key_Space);
    ASSERT_EQ(book->CurrentPage, 10);
    const int edge = book->RightPageX + book->PageWidth, y = book->PageY + 300;
    // The arithmetic with stacks of 10 on either side.
    book->RightStack = book->LeftStack = 10;
    Move(edge + 3, y);
    EXPECT_EQ(book->HotZone, 4);
    EXPECT_EQ(book->JumpPage, 16);
    EXPECT_EQ(Cursor(), Qt::DragCopyCursor);
    Move(edge + 10, y);
    EXPECT_EQ(book->JumpPage, 20);
    Move(book->LeftPageX - 10, y);
    EXPECT_EQ(book->JumpPage, 0);
    Move(book->LeftPageX, y);
    EXPECT_EQ(book->JumpPage, 8);
    Move(edge + 3, book->PageY);  // the page's top row is not the stack
    EXPECT_NE(book->HotZone, 4);

    book->RightStack = book->LeftStack = 8;  // what spread 10 really has
    Click(edge + 4, y);
    EXPECT_EQ(book->CurrentPage, 18);
    EXPECT_EQ(book->lblPage.Caption(), QStringLiteral("第18页/共20页"));
    Click(book->LeftPageX - book->LeftStack, y);
    EXPECT_EQ(book->CurrentPage, 0);
    EXPECT_FALSE(book->lblUP.Visible());
}

TEST_F(BookPointerTest, TheMenuOffersExportOnlyOnAPicture) {
    Open(20, 0);
    Key(Qt::Key_Space);
    Click(RightX(20), PicY(30), Qt::RightButton);
    EXPECT_TRUE(book->NOut->isEnabled());
    book->PopupMenu->hide();
    Click(RightX(300), PicY(400), Qt::RightButton);
    EXPECT_FALSE(book->NOut->isEnabled());
    book->PopupMenu->hide();
    EXPECT_EQ(book->CurrentPage, 2) << "a right click turns nothing";
}

TEST_F(BookPointerTest, SlideShowStopsOnTheLastSpreadAndStartsFromTheBackCover) {
    Open(6, 0);
    Key(Qt::Key_Space);
    Key(Qt::Key_Space);
    Key(Qt::Key_Space);
    ASSERT_EQ(book->CurrentPage, 6);
    Key(Qt::Key_P, Qt::ControlModifier);  // on the last spread it closes the book at once
    EXPECT_EQ(book->CurrentPage, 8);
    EXPECT_TRUE(book->BookTimer.Enabled());
    book->TimerTimer();
    EXPECT_FALSE(book->BookTimer.Enabled());
    EXPECT_FALSE(book->NPlay->isChecked());

    book->NPlayClick();  // from the back cover: home first, then on
    EXPECT_EQ(book->CurrentPage, 2);
    EXPECT_TRUE(book->NPlay->isChecked());
    book->TimerTimer();
    book->TimerTimer();
    EXPECT_EQ(book->CurrentPage, 6);
    book->TimerTimer();
    EXPECT_EQ(book->CurrentPage, 6) << "the show never closes the book";
    EXPECT_FALSE(book->BookTimer.Enabled());
}

TEST_F(BookPointerTest, KeysOpenTheOtherViewsAndTheOptions) {
    Open(20, 0);
    Key(Qt::Key_Space);
    Move(RightX(20), PicY(30));
    book->BookTimer.SetEnabled(true);
    Key(Qt::Key_F12);  // on a picture: that one
    EXPECT_EQ(PicViewForm->PictureNo, 2);
    EXPECT_EQ(PicViewForm->Tag, 1);
    EXPECT_EQ(book->TimerWasOn, 1);
    EXPECT_FALSE(book->BookTimer.Enabled());
    EXPECT_EQ(ViewMode, 2);
    EXPECT_EQ(ActiveCanvas, &PicViewForm->GetCanvas());
    ViewMode = 1;
    Move(RightX(300), PicY(400));
    Key(Qt::Key_F12);  // elsewhere: the first
    EXPECT_EQ(PicViewForm->PictureNo, 1);
    ViewMode = 1;
    Key(Qt::Key_F11);
    EXPECT_TRUE(RowseForm->isVisible());
    EXPECT_EQ(ViewMode, 3);
    const int options = TfrmOption::ShownCount();
    // The dialog is modal: Esc from inside its loop closes it.
    QTimer::singleShot(0, [] {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(QApplication::activeModalWidget(), &escape);
    });
    Key(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(TfrmOption::ShownCount(), options + 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    Key(Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(TfrmOption::ShownCount(), options + 1);

    // A click on a picture opens it; a hot spot naming no picture opens nothing.
    ViewMode = 1;
    Click(RightX(150), PicY(150));
    EXPECT_EQ(PicViewForm->PictureNo, 3);
    for (const char* name : {"PIC9.jpg", "PICab.jpg", "PIC0.jpg", "PIC-1.jpg", "x", "PIC1.jp"}) {
        ViewMode = 1;
        book->HotPicture = QString::fromLatin1(name);  // nothing of the album's three
        book->HotZone = 2;
        book->Tag = -1;  // click without a new hover test
        Click(0, 0);
        book->Tag = 0;
        EXPECT_EQ(book->HotZone, 3) << name;
        EXPECT_EQ(ViewMode, 1) << name;
    }
}

TEST_F(BookPointerTest, KeysInOtherWindowsReachTheBookButNotThoseInDialogs) {
    Open(20, 0);
    ViewMode = 1;
    QWidget other;
    other.show();
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    QApplication::sendEvent(&other, &space);
    EXPECT_EQ(book->CurrentPage, 2);
    QDialog dialog;
    dialog.setModal(true);
    dialog.show();
    QApplication::sendEvent(&dialog, &space);
    EXPECT_EQ(book->CurrentPage, 2);
    dialog.hide();
}

TEST_F(BookPointerTest, ExportWritesTheHotPictureOrSaysItFailed) {
    Open(20, 0, BookPath());
    Key(Qt::Key_Space);
    TempDir out;
    std::vector<QString> messages;
    SetMessageSink([&](const QString& text) { messages.push_back(text); });
    std::optional<QString> answer = QString::fromStdString(out.File("photo"));
    FileDialogRequest asked;
    SetFileDialogSeam([&](const FileDialogRequest& request) {
        asked = request;
        return answer;
    });
    Move(RightX(20), PicY(30));
    book->NJpgClick();
    EXPECT_EQ(asked.Filter, QStringLiteral("JPEG|*.jpg"));
    EXPECT_TRUE(asked.FileName.endsWith(QStringLiteral("_PIC2")));
    EXPECT_EQ(ReadFile(out.File("photo.jpg")), Find("PIC2.jpg"));
    book->NBmpClick();
    EXPECT_EQ(asked.Filter, QStringLiteral("Bitmap|*.Bmp"));
    const QImage bmp(QString::fromStdString(out.File("photo.bmp")));
    EXPECT_EQ(bmp.size(), DecodeJpeg(Find("PIC2.jpg"), "PIC2.jpg").size());
    EXPECT_EQ(messages,
              (std::vector<QString>{QStringLiteral("导出成功！"), QStringLiteral("导出成功！")}));

    answer = QString::fromStdString(out.File("missing/photo"));
    book->NJpgClick();
    EXPECT_EQ(messages.back(), QStringLiteral("导出图片失败！"));
    answer.reset();  // cancelled: nothing said
    book->NBmpClick();
    EXPECT_EQ(messages.size(), 3u);
}

}  // namespace
}  // namespace pagora
