#pragma once

#include <QString>
#include <functional>
#include <utility>
#include <vector>

#include "platform/Form.h"

class QToolButton;

namespace pagora {

class TPaintBoxXp;

// What the toolbar's buttons do in the views, handed over by the book at
// start-up; an empty command does nothing.
struct ToolbarTargets {
    std::function<void()> BookUp, BookDown;
    std::function<void()> ViewerUp, ViewerDown;
    std::function<void()> BrowserUp, BrowserDown;
    // The picture viewer's album and thumbnails commands and its auto-play.
    std::function<void()> ViewerAlbum, ViewerThumbnails, ViewerPlay;
    // Whether the viewer's auto-play runs, shown by ToolBtnPlay.
    std::function<bool()> ViewerPlaying;
    // Told before the exit wipes the screen, so that the views stop drawing.
    std::function<void()> Exiting;
};

// The floating toolbar over the three views: a window along the top edge of
// the screen, cut into a right tab (minimise, exit) shown always and a left
// tab of picture tools shown while the picture viewer is in front. It never
// takes the keyboard focus: keys stay with the views.
class TfrmToolbar : public Form {
  public:
    TfrmToolbar();
    ~TfrmToolbar() override;

    void SetTargets(ToolbarTargets targets) { targets_ = std::move(targets); }
    // Shown on top at the top of the screen.
    void ShowToolbar();
    // Cuts the window to the chosen tabs and lifts it over the views.
    void SetToolbarShape(bool leftTab, bool rightTab);

    bool Shown() const { return isVisible(); }
    bool LeftTab() const { return leftTab_; }
    bool RightTab() const { return rightTab_; }
    // Read by the picture viewer.
    bool MagnifierDown() const;
    // The auto-play button shows whether the viewer's show runs.
    void ShowPlaying(bool playing);

    void ImageRightClick();
    void ToolButton1Click();
    void ToolButton2Click();
    void ToolButton7Click();
    void ToolButton8Click();
    void ToolbtnUpClick();
    void ToolBtnDownClick();
    void ToolBtnPlayClick();

    PaintBox* ImageLeft;
    TPaintBoxXp* ImageRight;
    PaintBox* CoolbarRight;
    QWidget* ToolBar1;
    PaintBox* CoolBarLeft;
    QWidget* ToolBar2;
    QToolButton *ToolButton1, *ToolButton2, *ToolButton4, *ToolButton5;
    QToolButton *ToolButton7, *ToolButton8, *tbtnMagnifier, *ToolbtnUp, *ToolBtnDown, *ToolBtnPlay;

  protected:
    void FormPaint() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate();
    void CreateComponents();
    void Layout();

    ToolbarTargets targets_;
    // The buttons' English hints.
    std::vector<std::pair<QToolButton*, QString>> helpKeywords_;
    bool leftTab_ = false;
    bool rightTab_ = false;
};

}  // namespace pagora
