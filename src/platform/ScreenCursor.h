#pragma once

#include <Qt>

namespace pagora {

// The screen cursor and its show count, kept as the application's override
// cursor: this is the one place that sets or restores it. UI thread only.

// Sets the cursor shown over every window; Qt::ArrowCursor is the default and
// removes the override.
void SetScreenCursor(Qt::CursorShape shape);
Qt::CursorShape ScreenCursor();

// Adds 1 (show) or -1 (hide) to the show count, which starts at 0, and returns
// the new count. While the count is below 0 the cursor is hidden
// (Qt::BlankCursor) whatever the screen cursor is.
int ShowCursor(bool show);

// The hourglass (Qt::WaitCursor) for a scope; the screen cursor from before is
// put back however the scope is left. Scopes nest.
class WaitCursor {
  public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    Qt::CursorShape previous_;
};

}  // namespace pagora
