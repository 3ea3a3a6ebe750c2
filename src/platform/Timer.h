#pragma once

#include <QTimer>
#include <cstdint>
#include <functional>

namespace pagora {

// An interval timer on the UI thread. An interval of 0 or less never fires;
// the handler is guarded.
class Timer {
  public:
    Timer();
    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }
    void SetInterval(int64_t milliseconds);
    int64_t Interval() const { return interval_; }
    std::function<void()> OnTimer;

  private:
    void Apply();

    QTimer timer_;
    bool enabled_ = false;
    int64_t interval_ = 1000;
};

}  // namespace pagora
