#include <gtest/gtest.h>

#include <QThread>

#include "ShowPictures.h"
#include "platform/Messages.h"
#include "views/TAnimateThread.h"
#include "views/TCustomPicShow.h"

namespace pagora {
namespace {

// A threaded transition of 100 frames about 2 ms apart, recording its events.
struct Threaded {
    explicit Threaded(TPicShow& show) {
        show.SetThreaded(true);
        show.SetStep(1);
        show.SetDelay(2);
        show.SetPicture(test::CodedPicture(48, 32, 2));
        show.OnProgress = [this](TCustomPicShow* s) { last = s->Progress(); };
        show.OnComplete = [this](TCustomPicShow*) { ++completes; };
    }
    int last = -1;
    int completes = 0;
};

// Lets the thread's pending calls and the event loop run for a while.
void Settle(int ms = 30) {
    for (int i = 0; i < ms; ++i) {
        ProcessMessages();
        QThread::msleep(1);
    }
}

TEST(PicShowThread, StopWaitsForTheThreadAndFiresNoOnComplete) {
    TPicShow show;
    Threaded record(show);
    show.Execute();
    ASSERT_NE(show.AnimateThread(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return record.last >= 10; }));
    show.Stop();
    EXPECT_FALSE(show.Busy());
    EXPECT_EQ(show.AnimateThread(), nullptr);
    const int stoppedAt = record.last;
    Settle();
    EXPECT_EQ(record.last, stoppedAt);
    EXPECT_EQ(record.completes, 0);
    EXPECT_LT(stoppedAt, 100);
}

TEST(PicShowThread, StopFromAHandlerInsideTheThreadsCall) {
    TPicShow show;
    Threaded record(show);
    show.OnProgress = [&](TCustomPicShow* s) {
        record.last = s->Progress();
        if (s->Progress() == 20)
            s->Stop();
    };
    show.Execute();
    ASSERT_TRUE(WaitUntil([&] { return !show.Busy(); }));
    Settle();
    EXPECT_EQ(record.last, 20);
    EXPECT_EQ(record.completes, 0);
    // The stopped thread was joined; the next transition runs to its end.
    show.SetStep(25);
    show.Execute();
    ASSERT_TRUE(WaitUntil([&] { return !show.Busy(); }));
    EXPECT_EQ(record.completes, 1);
}

TEST(PicShowThread, ExecuteFromOnCompleteStartsTheNextThread) {
    TPicShow show;
    Threaded record(show);
    show.SetStep(20);
    show.OnComplete = [&](TCustomPicShow* s) {
        if (++record.completes < 3)
            s->Execute();
    };
    show.Execute();
    ASSERT_TRUE(WaitUntil([&] { return record.completes == 3 && !show.Busy(); }));
    Settle();
    EXPECT_EQ(record.completes, 3);
}

TEST(PicShowThread, DestroyedFromAHandlerInsideTheThreadsCall) {
    auto* show = new TPicShow;
    Threaded record(*show);
    bool destroyed = false;
    show->OnProgress = [&](TCustomPicShow* s) {
        if (s->Progress() == 15) {
            destroyed = true;
            delete s;
        }
    };
    show->Execute();
    ASSERT_TRUE(WaitUntil([&] { return destroyed; }));
    // The thread ends after the call and is joined from the event loop.
    Settle(50);
}

TEST(PicShowThread, DestroyedFromOnComplete) {
    auto* show = new TPicShow;
    Threaded record(*show);
    show->SetStep(50);
    bool destroyed = false;
    show->OnComplete = [&](TCustomPicShow* s) {
        destroyed = true;
        delete s;
    };
    show->Execute();
    ASSERT_TRUE(WaitUntil([&] { return destroyed; }));
    Settle(50);
}

TEST(PicShowThread, DestroyedWhileTheThreadRuns) {
    Threaded* record = nullptr;
    {
        TPicShow show;
        record = new Threaded(show);
        show.Execute();
        ASSERT_TRUE(WaitUntil([&] { return record->last >= 5; }));
    }
    EXPECT_EQ(record->completes, 0);
    delete record;
    Settle();
}

TEST(PicShowThread, ManualPausesAndResumesTheThread) {
    TPicShow show;
    Threaded record(show);
    show.Execute();
    ASSERT_TRUE(WaitUntil([&] { return record.last >= 10; }));
    show.SetManual(true);
    ASSERT_TRUE(WaitUntil([&] { return show.AnimateThread() == nullptr; }));
    EXPECT_TRUE(show.Busy());
    const int pausedAt = record.last;
    Settle();
    EXPECT_EQ(record.last, pausedAt);
    // Off and on and off again before the thread has noticed: one thread runs on.
    show.SetManual(false);
    show.SetManual(true);
    show.SetManual(false);
    ASSERT_TRUE(WaitUntil([&] { return !show.Busy(); }));
    EXPECT_EQ(record.last, 100);
    EXPECT_EQ(record.completes, 1);
}

}  // namespace
}  // namespace pagora
