// A walk through the other views without a person, for automated runs: the
// picture viewer and its steps, the thumbnail browser and its pages, a picture
// opened from a cell, back to the book, and Esc while both loaders work.
#include <QApplication>
#include <QKeyEvent>
#include <algorithm>
#include <string>

#include "book/TVudadezEroz.h"
#include "platform/Automation.h"
#include "platform/Globals.h"
#include "platform/Messages.h"
#include "views/TPicView.h"
#include "views/TfrmRowse.h"

namespace pagora {

namespace {

void PressKey(QWidget* window, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(window, &press);
}

}  // namespace

void TVudadezEroz::WalkViews() {
    TPicView* viewer = PicViewForm;
    TfrmRowse* browser = RowseForm;
    if (viewer == nullptr || browser == nullptr || PictureCount() == 0) {
        automation::Record("views none");
        NExitClick();
        return;
    }
    const auto ending = [viewer] { return viewer->Closing(); };
    const auto settle = [&] {
        WaitUntil([&] { return ending() || viewer->Settled(); });
        WaitUntil([&] { return ending() || !browser->Loader || browser->Loader->Idle(); });
    };
    const auto shown = [viewer] { return std::to_string(viewer->PictureNo); };
    // Every frame of each transition, without the pause between them.
    viewer->PicShow->SetDelay(0);

    PressKey(this, Qt::Key_F12);
    settle();
    std::string line = "views open " + shown() + " mode " + std::to_string(ViewMode);
    automation::Record(line);
    line = "views steps";
    for (int i = 0; i <= PictureCount() && !ending(); ++i) {
        PressKey(viewer, Qt::Key_Space);
        settle();
        line += " " + shown();
    }
    for (int i = 0; i < 2 && !ending(); ++i) {
        PressKey(viewer, Qt::Key_PageUp);
        settle();
        line += " " + shown();
    }
    automation::Record(line);

    PressKey(viewer, Qt::Key_F11);
    settle();
    line = "views browser mode " + std::to_string(ViewMode) + " " +
           browser->lblTotalPage->text().toStdString();
    browser->lblDownClick();
    settle();
    line += " " + browser->lblTotalPage->text().toStdString();
    browser->lblUpClick();
    settle();
    line += " " + browser->lblTotalPage->text().toStdString();
    automation::Record(line);

    const int cell = std::min(1, PictureCount() - 1);
    browser->CellMouseMove(cell);
    browser->CellClick(cell);
    settle();
    automation::Record("views cell " + shown() + " mode " + std::to_string(ViewMode));
    PressKey(viewer, Qt::Key_F10);
    automation::Record("views back mode " + std::to_string(ViewMode));

    // Esc reaches the viewer while it waits for its loader and the browser's
    // loader makes the second page.
    PressKey(this, Qt::Key_F11);
    browser->lblDownClick();
    QCoreApplication::postEvent(viewer,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    browser->CellClick(0);
}

}  // namespace pagora
