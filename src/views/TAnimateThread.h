#pragma once

#include "platform/Thread.h"

namespace pagora {

class TCustomPicShow;

// Paces a transition: it only measures time, sleeps, and asks the UI thread
// (synchronously) to advance the progress; every frame is composed there. Its
// last synchronous call is the control's end handler. The control owns it and
// joins it; once the control lets go (Detach) its calls do nothing.
class TAnimateThread final : public Thread {
  public:
    // Starts at once.
    explicit TAnimateThread(TCustomPicShow* owner);
    ~TAnimateThread() override { Stop(); }

    // UI thread only.
    void Detach() { owner_ = nullptr; }
    bool InCall() const { return inCall_; }

  protected:
    void Execute() override;

  private:
    // Read and written on the UI thread only, inside the synchronous calls.
    TCustomPicShow* owner_;
    bool inCall_ = false;
};

}  // namespace pagora
