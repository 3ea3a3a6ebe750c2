// The real book window in this process, on the tests' 1024 x 768 offscreen
// screen, over albums whose pages are flat, distinct colours.
#pragma once

#include <gtest/gtest.h>

#include <QRgb>
#include <functional>
#include <memory>
#include <string>

#include "ViewerHarness.h"
#include "archive/AlbumProfile.h"
#include "book/TVudadezErozNew.h"

namespace pagora::test {

QRgb PageColour(int page);
// A test that ended the program (EndProgram outside the application's own
// loop) leaves every later event loop ending at once; this lets them run.
void ClearEndedLoops();
// Member names are unique regardless of case: the new member replaces any
// whose name differs only in case (a page's record and a picture's).
Album Put(Album album, const std::string& name, Bytes content);

class BookWindowTest : public ViewerTest {
  protected:
    // The base album with pages 1..pages in their colours, each page's record
    // given by info(page); settings go to a private configuration folder.
    static void SetUpBook(int pages, const std::function<Bytes(int page)>& info);
    static void TearDownBook();
    static std::string BookPath() { return Path("pages.kfa"); }

    void TearDown() override;
    // Opens the album as a book of pageCount pages and shows it.
    void Open(int pageCount, int turnTime, const std::string& album = BookPath(),
              int pictureCount = -1);
    QRgb Screen(int x, int y) const { return book->GetCanvas().Image().pixel(x, y); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    std::unique_ptr<TVudadezErozNew> book;
    // The opening adds about two seconds to each book; only its own tests play it.
    bool playOpening_ = false;
    // Changes to the album's profile before the book is made, and a look at
    // the book before it is shown.
    std::function<void(AlbumProfile&)> editProfile_;
    std::function<void(TVudadezErozNew&)> beforeShow_;
    static inline TempDir* config_ = nullptr;
};

}  // namespace pagora::test
