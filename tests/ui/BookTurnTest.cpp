// The real book window, in this process on a 1024 x 768 offscreen screen,
// turned by its commands and keys; the window's buffer is checked after each
// turn against pages of flat, distinct colours.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <memory>

#include "BookWindow.h"
#include "archive/MemberNames.h"
#include "platform/Globals.h"
#include "platform/Messages.h"

namespace pagora {
namespace {

using namespace test;

Bytes PageInfo(int page) {
    return Bytes{uint8_t(page), 0, 0, uint8_t(page * 3)};
}

class BookTurnTest : public BookWindowTest {
  protected:
    static void SetUpTestSuite() { SetUpBook(20, PageInfo); }
    static void TearDownTestSuite() { TearDownBook(); }

    // The middle of the picture area of each page.
    QRgb LeftPicture() {
        return Screen(book->LeftPageX + book->LeftPicX + book->PicWidth / 2,
                      book->PageY + book->PicY + book->PicHeight / 2);
    }
    QRgb RightPicture() {
        return Screen(book->RightPageX + book->RightPicX + book->PicWidth / 2,
                      book->PageY + book->PicY + book->PicHeight / 2);
    }
    QRgb Background(int x, int y) { return book->Background.pixel(x, y); }
    void ExpectSpread(int page) {
        EXPECT_EQ(book->CurrentPage, page);
        EXPECT_TRUE(Near(LeftPicture(), PageColour(page - 1), 8)) << "spread " << page;
        EXPECT_TRUE(Near(RightPicture(), PageColour(page), 8)) << "spread " << page;
        EXPECT_EQ(book->LeftInfo.Bytes(), PageInfo(page - 1));
        EXPECT_EQ(book->RightInfo.Bytes(), PageInfo(page));
        // The picture's corner lies on the paper's place, exactly.
        const int x = book->RightPageX + book->RightPicX, y = book->PageY + book->PicY;
        EXPECT_TRUE(Near(Screen(x, y), PageColour(page), 12));
        EXPECT_FALSE(Near(Screen(x - 1, y - 1), PageColour(page), 12));
    }
};

TEST_F(BookTurnTest, ReadingThroughTheBookAndBackWithoutAnimation) {
    Open(20, 0);
    const int cx = book->RightPageX + book->PageWidth / 2, cy = book->PageY + book->PageHeight / 2;
    const QRgb cover = Screen(cx, cy);
    EXPECT_FALSE(book->lblUP.Visible());
    EXPECT_FALSE(book->NUpPage->isEnabled());
    EXPECT_EQ(book->lblPage.Caption(), QStringLiteral("共20页 "));

    Key(Qt::Key_Return);  // nothing before the cover
    EXPECT_EQ(book->CurrentPage, 0);
    Key(Qt::Key_Space);
    ExpectSpread(2);
    EXPECT_TRUE(book->lblUP.Visible());
    EXPECT_TRUE(book->NUpPage->isEnabled());
    EXPECT_EQ(book->lblPage.Caption(), QStringLiteral("第2页/共20页"));
    Key(Qt::Key_PageDown);
    ExpectSpread(4);
    EXPECT_EQ(book->LeftStack, 3);
    EXPECT_EQ(book->RightStack, 13);
    // The right stack's outermost sheet, and the background just beyond it.
    const int right = book->RightPageX + book->PageWidth, mid = book->PageY + 300;
    EXPECT_EQ(Screen(right + 13 + 1, mid), Background(right + 13 + 1, mid));
    EXPECT_NE(Screen(right + 13 - 1, mid), Background(right + 13 - 1, mid));

    for (int page = 6; page <= 20; page += 2) {
        book->lblDownClick();
        ExpectSpread(page);
    }
    EXPECT_EQ(book->lblDown.Caption(), QStringLiteral("下一页 "));
    EXPECT_EQ(book->LeftStack, 16);
    EXPECT_EQ(book->RightStack, 0);

    // Past the last spread the book closes on its back cover.
    book->lblDownClick();
    EXPECT_EQ(book->CurrentPage, 22);
    EXPECT_EQ(book->lblDown.Caption(), QStringLiteral("封面"));
    EXPECT_FALSE(book->NDownPage->isEnabled());
    EXPECT_EQ(book->lblPage.Caption(), QStringLiteral("第20页/共20页"));
    EXPECT_TRUE(Near(Screen(book->LeftPageX + 100, cy), qRgb(20, 20, 160), 40));
    EXPECT_EQ(Screen(cx, cy), Background(cx, cy));
    Key(Qt::Key_Space);  // "Home": back to the first spread with one turn
    ExpectSpread(2);
    EXPECT_EQ(book->lblDown.Caption(), QStringLiteral("下一页 "));
    EXPECT_TRUE(book->NDownPage->isEnabled());
    EXPECT_EQ(book->Tag, 0);
    EXPECT_EQ(book->lblPage.Caption(), QStringLiteral("第2页/共20页"));

    Key(Qt::Key_PageUp);
    EXPECT_EQ(book->CurrentPage, 0);
    EXPECT_EQ(Screen(cx, cy), cover);
    const int lx = book->LeftPageX + book->PageWidth / 2;
    EXPECT_EQ(Screen(lx, cy), Background(lx, cy));
    EXPECT_FALSE(book->lblUP.Visible());
    EXPECT_FALSE(book->NUpPage->isEnabled());
    EXPECT_EQ(book->lblPage.Caption(), QStringLiteral("共20页 "));
    EXPECT_EQ(book->Turning, 0);
    EXPECT_EQ(book->Busy, 0);
}

TEST_F(BookTurnTest, AnimatedTurnsIgnoreInputUntilTheyEnd) {
    LanguageFlag = 1;
    Open(5, 400);
    // A key waiting when the turn starts is handled during its frames.
    QApplication::postEvent(book.get(),
                            new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier));
    book->lblDownClick();
    ExpectSpread(2);
    EXPECT_EQ(book->lblPage.Caption(), QStringLiteral("2/5"));
    ProcessMessages();
    EXPECT_EQ(book->CurrentPage, 2);

    book->lblDownClick();
    ExpectSpread(4);
    // Five pages: the next spread would hold page 5 alone, and is the back cover.
    book->lblDownClick();
    EXPECT_EQ(book->CurrentPage, 6);
    EXPECT_EQ(book->lblDown.Caption(), QStringLiteral("Home"));
    EXPECT_EQ(book->lblPage.Caption(), QStringLiteral("5/5"));
    book->lblUPClick();
    ExpectSpread(4);
    EXPECT_EQ(book->lblDown.Caption(), QStringLiteral("Next"));
    book->lblUPClick();
    book->lblUPClick();
    EXPECT_EQ(book->CurrentPage, 0);
    EXPECT_EQ(book->lblPage.Caption(), QStringLiteral("5 Pages"));
    LanguageFlag = 0;
}

TEST_F(BookTurnTest, EscapeInTheMiddleOfATurnEndsIt) {
    Open(20, 2000);
    int frames = 0;
    book->FrameShown = [&](int) {
        if (++frames == 3)
            QApplication::postEvent(
                book.get(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    };
    book->lblDownClick();
    EXPECT_LT(frames, 6) << "the turn stopped drawing";
    EXPECT_EQ(book->Turning, 0);
    EXPECT_EQ(book->Busy, 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(book->GetCanvas().Image().pixel(10, 10), 0xff000000u) << "the blinds closed";
}

TEST_F(BookTurnTest, ABookWithoutPagesStaysClosed) {
    Open(0, 0);
    const QImage before = book->GetCanvas().Image().copy();
    Key(Qt::Key_Space);
    book->lblUPClick();
    EXPECT_EQ(book->CurrentPage, 0);
    EXPECT_EQ(book->lblDown.Caption(), QStringLiteral("下一页 "));
    EXPECT_EQ(book->lblPage.Caption(), QStringLiteral("共0页 "));
    EXPECT_EQ(book->GetCanvas().Image(), before);
}

}  // namespace
}  // namespace pagora
