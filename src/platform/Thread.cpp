#include "platform/Thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <deque>
#include <exception>
#include <stdexcept>

namespace pagora {

namespace {

// A call a worker waits on until the UI thread has run it.
struct SyncCall {
    const std::function<void()>* Call = nullptr;
    std::exception_ptr Error;
    bool Done = false;
};

std::mutex syncMutex;
std::condition_variable syncDone;
std::deque<SyncCall*> syncQueue;

}  // namespace

bool IsUiThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

void CheckSynchronize() {
    for (;;) {
        SyncCall* job = nullptr;
        {
            std::lock_guard lock(syncMutex);
            if (syncQueue.empty())
                return;
            job = syncQueue.front();
            syncQueue.pop_front();
        }
        try {
            (*job->Call)();
        } catch (...) {
            job->Error = std::current_exception();
        }
        {
            std::lock_guard lock(syncMutex);
            job->Done = true;
        }
        syncDone.notify_all();
    }
}

Thread::Thread() {
    suspended_ = true;
    thread_ = std::thread([this] { Run(); });
}

Thread::~Thread() {
    // Derived classes have stopped the thread already; this is the backstop for
    // a thread that never got past its first wait.
    Terminate();
    if (thread_.joinable())
        thread_.join();
}

void Thread::Run() {
    {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return wakePending_ || terminated_.load(); });
        wakePending_ = false;
        suspended_ = false;
    }
    if (!terminated_.load()) {
        try {
            Execute();
        } catch (const std::exception& error) {
            std::lock_guard lock(mutex_);
            failure_ = error.what();
        } catch (...) {
            std::lock_guard lock(mutex_);
            failure_ = "Unknown error";
        }
    }
    finished_.store(true);
}

void Thread::Resume() {
    {
        std::lock_guard lock(mutex_);
        wakePending_ = true;
    }
    wake_.notify_all();
}

void Thread::Terminate() {
    {
        std::lock_guard lock(mutex_);
        terminated_.store(true);
    }
    wake_.notify_all();
}

void Thread::Suspend() {
    std::unique_lock lock(mutex_);
    suspended_ = true;
    wake_.wait(lock, [this] { return wakePending_ || terminated_.load(); });
    wakePending_ = false;
    suspended_ = false;
}

bool Thread::Suspended() const {
    std::lock_guard lock(mutex_);
    return suspended_;
}

std::string Thread::FailureMessage() const {
    std::lock_guard lock(mutex_);
    return failure_;
}

void Thread::WaitFor() {
    if (!thread_.joinable())
        return;
    if (std::this_thread::get_id() == thread_.get_id())
        throw std::logic_error("A thread cannot wait for itself");
    const bool serve = IsUiThread() || QCoreApplication::instance() == nullptr;
    while (!finished_.load()) {
        if (serve)
            CheckSynchronize();
        std::unique_lock lock(syncMutex);
        syncDone.wait_for(lock, std::chrono::milliseconds(1));
    }
    thread_.join();
}

void Thread::Stop() {
    Terminate();
    WaitFor();
}

void Thread::Synchronize(const std::function<void()>& call) {
    if (IsUiThread()) {
        call();
        return;
    }
    SyncCall job;
    job.Call = &call;
    {
        std::lock_guard lock(syncMutex);
        syncQueue.push_back(&job);
    }
    // Wakes WaitFor on the UI thread as well as the event loop.
    syncDone.notify_all();
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(
            app, [] { CheckSynchronize(); }, Qt::QueuedConnection);
    std::unique_lock lock(syncMutex);
    syncDone.wait(lock, [&job] { return job.Done; });
    if (job.Error)
        std::rethrow_exception(job.Error);
}

}  // namespace pagora
