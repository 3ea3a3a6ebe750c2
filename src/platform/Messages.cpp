#include "platform/Messages.h"

#include <QCoreApplication>
#include <chrono>
#include <thread>

#include "platform/Thread.h"

namespace pagora {

void ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    CheckSynchronize();
}

bool WaitUntil(const std::function<bool()>& condition, const Thread* thread) {
    for (;;) {
        if (condition())
            return true;
        if (thread != nullptr && thread->Finished())
            return condition();
        ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace pagora
