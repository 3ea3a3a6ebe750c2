// The real book window with its picture viewer and thumbnail browser in this
// process, on the tests' 1024 x 768 screen, over an album that kfa makes from
// photos whose colours tell their number.
#pragma once

#include <QEvent>
#include <QRgb>
#include <string>

#include "BookWindow.h"

namespace pagora {
class TPicView;
class TfrmRowse;
}  // namespace pagora

namespace pagora::test {

constexpr int kViewsPictures = 30;
constexpr int kViewsPhotoWidth = 640, kViewsPhotoHeight = 480;

// Member k's content replaced, its directory number kept.
Album Replace(Album album, const std::string& name, Bytes content);

class ViewsTest : public BookWindowTest {
  protected:
    // Photo k is PageColour(k), titled "Photo k", described "About k", shot
    // on 2021-07-15; photo 4 is titled "beach.JPG".
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    static const Album& ViewsAlbum() { return *views_; }
    static std::string ViewsPath() { return Path("views.kfa"); }

    // The album as a book of its pages with that many pictures.
    void OpenViews(int pictures, const std::string& album = ViewsPath());
    TPicView& Viewer() const;
    TfrmRowse& Browser() const;
    // The picture whose colour the viewer shows at (x, y), or 0 for none.
    int ShownAt(int x, int y) const;
    int ShownPicture() const;  // at the screen's centre
    // Until the viewer has no step, transition or load under way.
    void Settle() const;
    // Until the browser's loader has nothing to do.
    void SettleBrowser() const;
    void ViewerKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
    // A mouse event at device (x, y) of the widget.
    static void Mouse(QWidget* widget, QEvent::Type type, int x, int y,
                      Qt::MouseButton button = Qt::NoButton);
    // One notch of the wheel: 1 away from the user, -1 towards.
    void Wheel(int notches) const;

  private:
    static inline Album* views_ = nullptr;
};

}  // namespace pagora::test
