// The page commands of the book window: the labels, the keys and the jumps.
#include "book/TVudadezEroz.h"
#include "platform/Globals.h"
#include "platform/Messages.h"
#include "platform/ScopedFlag.h"

namespace pagora {

namespace {

const QString kHome = QStringLiteral("Home");
const QString kHomeChinese = QStringLiteral("封面");

}  // namespace

QString TVudadezEroz::NormalCaption(bool next) const {
    if (LanguageFlag == 1)
        return next ? QStringLiteral("Next") : QStringLiteral("Back");
    return next ? QStringLiteral("下一页 ") : QStringLiteral("上一页 ");
}

QString TVudadezEroz::SpreadText(int page) const {
    const QString p = QString::number(page), n = QString::number(PageCount);
    if (LanguageFlag == 1)
        return p + "/" + n;
    return QStringLiteral("第") + p + QStringLiteral("页/") + QStringLiteral("共") + n +
           QStringLiteral("页");
}

QString TVudadezEroz::ClosedText() const {
    if (LanguageFlag == 1)
        return QString::number(PageCount) + QStringLiteral(" Pages");
    return QStringLiteral("共") + QString::number(PageCount) + QStringLiteral("页 ");
}

void TVudadezEroz::lblDownClick() {
    if (Busy || Turning)
        return;
    if (lblDown.Caption() == kHomeChinese || lblDown.Caption() == kHome) {
        StartCommand();
        return;
    }
    ScopedFlag busy(Busy);
    HotZone = 0;
    TurnForward();
    if (exiting_)
        return;
    if (CurrentPage > 0) {
        lblUP.SetVisible(true);
        NUpPage->setEnabled(true);
    }
    lblUP.SetCaption(NormalCaption(false));
    lblDown.SetCaption(NormalCaption(true));
    if (CurrentPage > PageCount) {
        lblDown.SetCaption(LanguageFlag != 0 ? kHome : kHomeChinese);
        NDownPage->setEnabled(false);
        lblDown.Repaint();
        ProcessMessages();
    }
    lblPage.SetCaption(SpreadText(std::min(CurrentPage, PageCount)));
    lblUP.Repaint();
    lblDown.Repaint();
}

void TVudadezEroz::lblUPClick() {
    if (Busy || Turning)
        return;
    ScopedFlag busy(Busy);
    HotZone = 1;
    TurnBack();
    if (exiting_)
        return;
    if (CurrentPage < PageCount) {
        lblDown.SetVisible(true);
        NDownPage->setEnabled(true);
    }
    if (CurrentPage == 0) {
        lblUP.SetVisible(false);
        NUpPage->setEnabled(false);
        lblPage.SetCaption(ClosedText());
    } else {
        lblPage.SetCaption(SpreadText(std::min(CurrentPage, PageCount)));
    }
    lblUP.SetCaption(NormalCaption(false));
    lblDown.SetCaption(NormalCaption(true));
    lblUP.Repaint();
    lblDown.Repaint();
    ProcessMessages();
}

void TVudadezEroz::StartCommand() {
    if (Busy || Turning)
        return;
    HotZone = 4;
    JumpPage = 2;
    Tag = -1;
    struct TagReset {
        int& tag;
        ~TagReset() { tag = 0; }
    } reset{Tag};
    FormMouseDown(Qt::LeftButton, 0, 0);
}

void TVudadezEroz::JumpToPage() {
    // One turn from the spread shown straight to the target.
    const int J = JumpPage;
    if (CurrentPage < J) {
        QueuePages(J, 1);
        CurrentPage = J - 2;
        lblDownClick();
        QueuePages(CurrentPage - 2, 0);
    } else {
        QueuePages(J, 0);
        CurrentPage = J + 2;
        lblUPClick();
        QueuePages(CurrentPage + 2, 1);
    }
}

void TVudadezEroz::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers shifts =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (shifts == Qt::ControlModifier) {
        if (key == Qt::Key_O)
            NOptionClick();
        else if (key == Qt::Key_P)
            NPlayClick();
        return;
    }
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_PageUp:
            lblUPClick();
            break;
        case Qt::Key_Space:
        case Qt::Key_PageDown:
            lblDownClick();
            break;
        case Qt::Key_Escape:
            NExitClick();
            break;
        case Qt::Key_F11:
            NSmallPicClick();
            break;
        case Qt::Key_F12:
            NAllScreenClick();
            break;
        default:
            break;
    }
}

}  // namespace pagora
