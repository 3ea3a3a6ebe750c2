#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <stdexcept>

#include "platform/FileDialog.h"
#include "platform/Messages.h"
#include "platform/Thread.h"

namespace pagora {
namespace {

// Counts jobs handed to it and suspends itself whenever it has none, the way
// the loaders run.
class CountingWorker : public Thread {
  public:
    CountingWorker() = default;
    ~CountingWorker() override { Stop(); }
    void Give() {
        ++given;
        Resume();
    }
    std::atomic<int> given{0};
    std::atomic<int> done{0};

  protected:
    void Execute() override {
        while (!Terminated()) {
            if (done < given)
                ++done;
            else
                Suspend();
        }
    }
};

TEST(PlatformThread, RunsOnlyAfterTheFirstResume) {
    CountingWorker worker;
    EXPECT_TRUE(worker.Suspended());
    worker.given = 1;
    QThread::msleep(20);
    EXPECT_EQ(worker.done, 0);
    worker.Resume();
    EXPECT_TRUE(WaitUntil([&] { return worker.done == 1 && worker.Suspended(); }, &worker));
}

TEST(PlatformThread, NoWakeUpIsLostAcrossManyHandOvers) {
    CountingWorker worker;
    worker.Resume();
    // Work handed over at any moment, also while the worker is on its way to
    // suspend, must be done.
    for (int i = 0; i < 2000; ++i)
        worker.Give();
    EXPECT_TRUE(WaitUntil([&] { return worker.done == 2000 && worker.Suspended(); }, &worker));
}

TEST(PlatformThread, StopEndsASuspendedAndANeverStartedThread) {
    {
        CountingWorker started;
        started.Resume();
        ASSERT_TRUE(WaitUntil([&] { return started.Suspended(); }, &started));
        started.Stop();
        EXPECT_TRUE(started.Finished());
    }
    CountingWorker never;
    never.Stop();
    EXPECT_TRUE(never.Finished());
    EXPECT_EQ(never.done, 0);
}

class SyncWorker final : public Thread {
  public:
    SyncWorker() { Resume(); }
    ~SyncWorker() override { Stop(); }
    std::atomic<bool> ranOnUiThread{false};
    std::string caught;

  protected:
    void Execute() override {
        Synchronize([this] { ranOnUiThread = IsUiThread(); });
        try {
            Synchronize([] { throw std::runtime_error("bad page"); });
        } catch (const std::exception& error) {
            caught = error.what();
        }
        throw std::runtime_error("loader died");
    }
};

TEST(PlatformThread, SynchronizeRunsOnTheUiThreadAndCarriesExceptionsBack) {
    SyncWorker worker;
    // WaitFor serves the calls itself, so waiting cannot deadlock.
    worker.WaitFor();
    EXPECT_TRUE(worker.ranOnUiThread);
    EXPECT_EQ(worker.caught, "bad page");
    EXPECT_EQ(worker.FailureMessage(), "loader died");
}

TEST(PlatformThread, PollingWaitEndsWhenTheThreadHasEnded) {
    SyncWorker worker;
    // The condition never holds; the wait must still return.
    EXPECT_FALSE(WaitUntil([] { return false; }, &worker));
    EXPECT_TRUE(worker.Finished());
}

TEST(PlatformDialogs, ClassicFiltersBecomeQtFilters) {
    EXPECT_EQ(QtFilter("Album File|*.kfa"), "Album File (*.kfa)");
    EXPECT_EQ(QtFilter("JPEG|*.jpg|Btimap|*.Bmp"), "JPEG (*.jpg);;Btimap (*.Bmp)");
    EXPECT_EQ(QtFilter("Pictures|*.jpg;*.png"), "Pictures (*.jpg *.png)");
    EXPECT_EQ(QtFilter("dangling"), "");
}

}  // namespace
}  // namespace pagora
