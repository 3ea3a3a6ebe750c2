// A whole reading of the book without a person, for automated runs: every
// spread turned to forward and back, the pointer over each, jumps along both
// stacks, and Esc in the middle of a last turn.
#include <QCoreApplication>
#include <QKeyEvent>
#include <string>

#include "book/TVudadezEroz.h"
#include "platform/Automation.h"

namespace pagora {

void TVudadezEroz::HoverSpread() {
    const int y = PageY + PageHeight / 2;
    const int points[][2] = {{LeftPageX + 8, y},
                             {RightPageX + PageWidth - 8, y},
                             {LeftPageX + LeftPicX + PicWidth / 2, PageY + PicY + PicHeight / 2},
                             {RightPageX + RightPicX + PicWidth / 2, PageY + PicY + PicHeight / 2},
                             {RightPageX + PageWidth + RightStack / 2, y},
                             {LeftPageX - LeftStack / 2, y},
                             {0, 0},
                             {ScreenW - 1, ScreenH - 1}};
    for (const auto& [x, yy] : points) {
        FormMouseMove(x, yy);
        if (BookHint)
            for (int tick = 0; tick < 12; ++tick)
                BookHint->Tick();
    }
}

void TVudadezEroz::ReadThrough() {
    int turns = 0;
    HoverSpread();
    while (CurrentPage <= PageCount && PageCount > 0 && !exiting_) {
        lblDownClick();
        HoverSpread();
        ++turns;
    }
    automation::Record("read forward " + std::to_string(turns) + " " + std::to_string(CurrentPage));
    turns = 0;
    while (CurrentPage > 0 && !exiting_) {
        lblUPClick();
        HoverSpread();
        ++turns;
    }
    automation::Record("read back " + std::to_string(turns) + " " + std::to_string(CurrentPage));

    // Jumps: out along the right stack, back along the left one.
    lblDownClick();
    const int y = PageY + PageHeight / 2;
    FormMouseDown(Qt::LeftButton, RightPageX + PageWidth + RightStack - 1, y);
    const int forward = CurrentPage;
    FormMouseDown(Qt::LeftButton, LeftPageX - LeftStack, y);
    automation::Record("read jumps " + std::to_string(forward) + " " + std::to_string(CurrentPage));

    // Esc while the page is in the air ends the program at once.
    QCoreApplication::postEvent(this,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    lblDownClick();
}

}  // namespace pagora
