#include "platform/Timer.h"

#include <limits>

#include "platform/MessageBox.h"

namespace pagora {

Timer::Timer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (OnTimer)
            Guarded(OnTimer);
    });
    Apply();
}

void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Apply();
}

void Timer::SetInterval(int64_t milliseconds) {
    interval_ = milliseconds;
    Apply();
}

void Timer::Apply() {
    if (!enabled_ || interval_ <= 0) {
        timer_.stop();
        return;
    }
    timer_.setInterval(
        static_cast<int>(std::min<int64_t>(interval_, std::numeric_limits<int>::max())));
    timer_.start();
}

}  // namespace pagora
