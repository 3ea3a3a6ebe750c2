#include "platform/ScreenCursor.h"

#include <QCursor>
#include <QGuiApplication>
#include <QThread>

namespace pagora {
namespace {

struct CursorState {
    Qt::CursorShape Shape = Qt::ArrowCursor;
    int ShowCount = 0;
    bool Overridden = false;  // one entry of ours on Qt's override stack
};

CursorState& State() {
    Q_ASSERT(!qApp || QThread::currentThread() == qApp->thread());
    static CursorState state;
    return state;
}

void Apply() {
    CursorState& s = State();
    Qt::CursorShape shown = s.ShowCount < 0 ? Qt::BlankCursor : s.Shape;
    if (shown == Qt::ArrowCursor) {
        if (s.Overridden)
            QGuiApplication::restoreOverrideCursor();
        s.Overridden = false;
    } else if (s.Overridden) {
        QGuiApplication::changeOverrideCursor(QCursor(shown));
    } else {
        QGuiApplication::setOverrideCursor(QCursor(shown));
        s.Overridden = true;
    }
}

}  // namespace

void SetScreenCursor(Qt::CursorShape shape) {
    State().Shape = shape;
    Apply();
}

Qt::CursorShape ScreenCursor() {
    return State().Shape;
}

int ShowCursor(bool show) {
    int count = State().ShowCount += show ? 1 : -1;
    Apply();
    return count;
}

WaitCursor::WaitCursor() : previous_(ScreenCursor()) {
    SetScreenCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    SetScreenCursor(previous_);
}

}  // namespace pagora
