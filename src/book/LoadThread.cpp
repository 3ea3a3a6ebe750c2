#include "book/LoadThread.h"

namespace pagora {

void TLoadCustomThread::Execute() {
    while (!Terminated()) {
        if (!DoJob())
            Suspend();
    }
}

void TLoadThread::Request(int spread, bool forward) {
    {
        std::lock_guard lock(mutex_);
        requested_ = spread;
        forward_ = forward;
        pending_ = true;
    }
    Resume();
}

int TLoadThread::LastRequest() const {
    std::lock_guard lock(mutex_);
    return requested_;
}

bool TLoadThread::DoJob() {
    std::lock_guard lock(mutex_);
    const bool had = pending_;
    pending_ = false;
    return had;
}

}  // namespace pagora
