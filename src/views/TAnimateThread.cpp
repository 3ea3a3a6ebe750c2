#include "views/TAnimateThread.h"

#include <algorithm>

#include "platform/Tick.h"
#include "views/TCustomPicShow.h"

namespace pagora {

namespace {

// Sleeps are cut into slices so that a Stop is not kept waiting for a long Delay.
constexpr int kSleepSliceMs = 5;

}  // namespace

TAnimateThread::TAnimateThread(TCustomPicShow* owner) : owner_(owner) {
    Resume();
}

void TAnimateThread::Execute() {
    while (!Terminated()) {
        const uint32_t start = GetTickCount();
        TCustomPicShow::AnimateStepResult step;
        Synchronize([&] {
            if (owner_ == nullptr)
                return;
            inCall_ = true;
            step = owner_->AnimateStep(*this);
            inCall_ = false;
        });
        if (!step.More || Terminated())
            break;
        const int spent = int(GetTickCount() - start);
        for (int left = step.Delay - spent; left > 0 && !Terminated(); left -= kSleepSliceMs)
            Sleep(std::min(left, kSleepSliceMs));
    }
    Synchronize([this] {
        if (owner_ == nullptr)
            return;
        inCall_ = true;
        owner_->AnimationEnded(*this);
        inCall_ = false;
    });
}

}  // namespace pagora
