#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace pagora {

enum class ThreadPriority { Idle, Lowest, Lower, Normal, Higher, Highest, TimeCritical };

// A worker with the classic life cycle: created suspended, started by its
// first Resume, it may suspend itself and be resumed, is asked to terminate,
// and is waited for. A thread that should run at once is resumed at the end
// of its final class's constructor, so Execute never meets a half-built object.
//
// "Suspended" is a wait on a condition variable that others can observe. A
// Resume that arrives while the thread is still running is remembered, so the
// next Suspend returns at once and no wake-up is lost.
//
// Derived classes call Stop() in their destructor, before their own members go.
class Thread {
  public:
    Thread();
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    void Resume();
    void Terminate();
    // Waits until Execute has returned. On the UI thread, calls the thread
    // makes to Synchronize meanwhile are served, so the two cannot deadlock.
    void WaitFor();
    // Terminate, wake and wait: the one way a worker is shut down.
    void Stop();

    bool Suspended() const;
    bool Terminated() const { return terminated_.load(); }
    bool Finished() const { return finished_.load(); }
    // The message of an exception that ended Execute, if one did.
    std::string FailureMessage() const;

    // Recorded only: the scheduler here gives no portable ranking.
    void SetPriority(ThreadPriority priority) { priority_ = priority; }
    ThreadPriority Priority() const { return priority_; }

  protected:
    virtual void Execute() = 0;
    // Only from the thread itself: sleeps until Resume or Terminate.
    void Suspend();
    // Runs the call on the UI thread and waits for it; an exception it throws
    // is thrown again here.
    void Synchronize(const std::function<void()>& call);

  private:
    void Run();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool wakePending_ = false;
    bool suspended_ = false;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    std::string failure_;
    ThreadPriority priority_ = ThreadPriority::Normal;
    std::thread thread_;
};

// True on the thread that runs the windows.
bool IsUiThread();

// Serves the calls workers have made to Synchronize; the UI thread's message
// processing does this too.
void CheckSynchronize();

}  // namespace pagora
