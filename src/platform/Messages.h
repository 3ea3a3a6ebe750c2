#pragma once

#include <functional>

namespace pagora {

class Thread;

// Handles the window messages that are waiting, and the workers' calls to
// Synchronize.
void ProcessMessages();

// Polls until the condition holds, processing messages and sleeping about a
// millisecond between polls. Returns false instead when the thread given has
// ended first, so a wait on a worker that died does not hang.
bool WaitUntil(const std::function<bool()>& condition, const Thread* thread = nullptr);

}  // namespace pagora
