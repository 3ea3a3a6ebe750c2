#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "ShowPictures.h"
#include "platform/Messages.h"
#include "views/TCustomPicShow.h"

namespace pagora {
namespace {

using test::CodedPicture;
using test::SamePixels;

constexpr int kW = 40, kH = 30;

// A control animating in the UI thread without pauses, recording its events.
struct Recorder {
    explicit Recorder(TPicShow& show) {
        show.SetThreaded(false);
        show.SetDelay(0);
        show.SetPicture(CodedPicture(kW, kH, 2));
        show.OnProgress = [this](TCustomPicShow* s) { progress.push_back(s->Progress()); };
        show.OnComplete = [this](TCustomPicShow*) { ++completes; };
    }
    std::vector<int> progress;
    int completes = 0;
};

// What the control shows where Display sits.
QImage Shown(const TCustomPicShow& show) {
    return show.PaintBuffer().copy(show.PicRect());
}

TEST(PicShow, HasItsDefaults) {
    TPicShow show;
    EXPECT_EQ(show.Style(), 51);
    EXPECT_EQ(show.Step(), 4);
    EXPECT_EQ(show.Delay(), 40);
    EXPECT_FALSE(show.Reverse());
    EXPECT_FALSE(show.Manual());
    EXPECT_TRUE(show.Threaded());
    EXPECT_EQ(show.GetThreadPriority(), ThreadPriority::Normal);
    EXPECT_TRUE(show.Picture().isNull());
    EXPECT_TRUE(show.BgPicture().isNull());
    EXPECT_EQ(show.BgMode(), bmTiled);
    EXPECT_FALSE(show.Center());
    EXPECT_FALSE(show.Stretch());
    EXPECT_FALSE(show.StretchFine());
    EXPECT_TRUE(show.AutoSize());
    EXPECT_EQ(show.size(), QSize(100, 100));
    EXPECT_EQ(show.Progress(), 0);
    EXPECT_FALSE(show.Busy());
}

TEST(PicShow, StepIsClampedTo1Through100) {
    TPicShow show;
    Recorder record(show);
    show.SetStep(0);
    EXPECT_EQ(show.Step(), 1);
    show.SetStep(250);
    EXPECT_EQ(show.Step(), 100);
    show.Execute();
    EXPECT_EQ(record.progress, (std::vector<int>{0, 100}));
}

class PicShowRunTest : public testing::TestWithParam<bool> {};

TEST_P(PicShowRunTest, DefaultStepRuns25FramesToTheEnd) {
    TPicShow show;
    Recorder record(show);
    show.SetThreaded(GetParam());
    show.Execute();
    EXPECT_TRUE(WaitUntil([&] { return !show.Busy(); }));
    std::vector<int> expected{0};
    for (int p = 4; p <= 100; p += 4)
        expected.push_back(p);
    EXPECT_EQ(record.progress, expected);
    EXPECT_EQ(record.completes, 1);
    EXPECT_TRUE(show.OldPic().isNull());
    EXPECT_TRUE(show.Pic().isNull());
    EXPECT_TRUE(SamePixels(show.Display(), show.Picture()));
}

INSTANTIATE_TEST_SUITE_P(Animation, PicShowRunTest, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "thread" : "loop"; });

TEST(PicShow, EveryStyleEndsOnTheNewPictureForwardAndTheOldInReverse) {
    TPicShow show;
    Recorder record(show);
    show.SetStep(30);
    show.show();
    ProcessMessages();
    const QImage pictures[] = {CodedPicture(kW, kH, 1), CodedPicture(kW, kH, 2)};
    for (int style = 0; style <= 127; ++style) {
        const QImage& next = pictures[style % 2];
        show.SetStyle(style);
        show.SetReverse(false);
        show.SetPicture(next);
        show.Execute();
        ASSERT_FALSE(show.Busy());
        EXPECT_TRUE(SamePixels(show.Display(), next)) << style;
        EXPECT_TRUE(SamePixels(Shown(show), next)) << style;
        show.SetReverse(true);
        show.SetPicture(pictures[1 - style % 2]);
        show.Execute();
        ASSERT_FALSE(show.Busy());
        EXPECT_TRUE(SamePixels(show.Display(), next)) << style;
        EXPECT_TRUE(SamePixels(Shown(show), next)) << style;
    }
    EXPECT_EQ(record.completes, 256);
}

TEST(PicShow, Style0WithoutAHandlerEndsAfterOneFrameBothWays) {
    for (bool reverse : {false, true}) {
        TPicShow show;
        Recorder record(show);
        show.SetStyle(0);
        show.SetReverse(reverse);
        show.Execute();
        EXPECT_FALSE(show.Busy());
        EXPECT_EQ(record.progress, (std::vector<int>{reverse ? 0 : 100}));
        EXPECT_EQ(record.completes, 1);
        // Never painted: the old picture is black.
        EXPECT_EQ(show.Display().pixel(3, 3), reverse ? qRgb(0, 0, 0) : show.Picture().pixel(3, 3));
    }
}

TEST(PicShow, Style0DrawsThroughItsHandler) {
    TPicShow show;
    Recorder record(show);
    show.SetStyle(0);
    show.SetStep(50);
    show.OnCustomDraw = [](TCustomPicShow* s, QImage& picture, QImage& screen) {
        screen.fill(s->Progress() == 50 ? Qt::red : Qt::blue);
        EXPECT_EQ(picture.size(), screen.size());
    };
    show.OnAfterNewFrame = [&](TCustomPicShow* s, QImage&, QImage& screen) {
        if (s->Progress() == 50) {
            EXPECT_EQ(screen.pixel(0, 0), qRgb(255, 0, 0));
        }
    };
    show.Execute();
    EXPECT_EQ(record.progress, (std::vector<int>{0, 50, 100}));
    // The last frame is the picture itself, whatever the handler drew.
    EXPECT_TRUE(SamePixels(show.Display(), show.Picture()));
}

TEST(PicShow, ManualStaysBusyUntilManualIsCleared) {
    TPicShow show;
    Recorder record(show);
    show.SetManual(true);
    show.Execute();
    EXPECT_TRUE(show.Busy());
    show.SetProgress(100);
    show.SetProgress(150);
    EXPECT_TRUE(show.Busy());
    EXPECT_EQ(show.Progress(), 100);
    show.SetProgress(60);
    EXPECT_EQ(record.progress, (std::vector<int>{0, 100, 60}));
    EXPECT_EQ(record.completes, 0);
    show.SetManual(false);
    EXPECT_FALSE(show.Busy());
    EXPECT_EQ(record.completes, 1);
    EXPECT_EQ(record.progress.back(), 100);
    // Not busy: switching Manual resets the progress to the start.
    show.SetManual(true);
    EXPECT_EQ(show.Progress(), 0);
}

TEST(PicShow, ExecuteWhenBusyOrWithoutAPictureDoesNothing) {
    TPicShow empty;
    Recorder none(empty);
    empty.SetPicture(QImage());
    empty.Execute();
    EXPECT_FALSE(empty.Busy());
    EXPECT_TRUE(none.progress.empty());

    TPicShow show;
    Recorder record(show);
    show.SetManual(true);
    show.Execute();
    const QImage first = show.Pic();
    show.SetPicture(CodedPicture(kW, kH, 3));
    show.Execute();
    EXPECT_EQ(record.progress.size(), 1u);
    EXPECT_TRUE(SamePixels(show.Pic(), first));
}

TEST(PicShow, StopEndsWithoutOnComplete) {
    TPicShow show;
    Recorder record(show);
    show.OnProgress = [&](TCustomPicShow* s) {
        record.progress.push_back(s->Progress());
        if (s->Progress() == 40)
            s->Stop();
    };
    show.Execute();
    EXPECT_FALSE(show.Busy());
    EXPECT_EQ(record.progress.back(), 40);
    EXPECT_EQ(record.completes, 0);
    EXPECT_TRUE(show.Pic().isNull());
    // Ready for the next one.
    show.OnProgress = {};
    show.Execute();
    EXPECT_EQ(record.completes, 1);
}

class FailingShow : public TPicShow {
  protected:
    void Prepare() override {
        TPicShow::Prepare();
        throw std::runtime_error("No room for the frame");
    }
};

TEST(PicShow, AFailingPrepareClearsBusyAndPassesTheErrorOn) {
    FailingShow failing;
    Recorder record(failing);
    EXPECT_THROW(failing.Execute(), std::runtime_error);
    EXPECT_FALSE(failing.Busy());
    EXPECT_TRUE(failing.OldPic().isNull());
    EXPECT_TRUE(failing.Pic().isNull());

    TPicShow show;
    Recorder other(show);
    show.OnProgress = [](TCustomPicShow*) { throw std::runtime_error("handler failed"); };
    EXPECT_THROW(show.Execute(), std::runtime_error);
    EXPECT_FALSE(show.Busy());
    show.OnProgress = {};
    show.Execute();
    EXPECT_EQ(other.completes, 1);
}

TEST(PicShow, AFailingFrameHandlerEndsTheLoopAndPassesTheErrorOn) {
    TPicShow show;
    Recorder record(show);
    show.OnAfterNewFrame = [](TCustomPicShow* s, QImage&, QImage&) {
        if (s->Progress() == 20)
            throw std::runtime_error("frame handler failed");
    };
    EXPECT_THROW(show.Execute(), std::runtime_error);
    EXPECT_FALSE(show.Busy());
    EXPECT_EQ(record.completes, 0);
}

TEST(PicShow, TheLoopSurvivesStopAndExecuteFromItsHandlers) {
    TPicShow show;
    Recorder record(show);
    const QImage second = CodedPicture(kW, kH, 5);
    bool restarted = false;
    show.OnProgress = [&](TCustomPicShow* s) {
        record.progress.push_back(s->Progress());
        if (s->Progress() == 40 && !restarted) {
            restarted = true;
            s->Stop();
            show.SetPicture(second);
            s->Execute();
        }
    };
    show.Execute();
    EXPECT_FALSE(show.Busy());
    EXPECT_EQ(record.completes, 1);
    EXPECT_EQ(record.progress.back(), 100);
    EXPECT_TRUE(SamePixels(show.Display(), second));
}

TEST(PicShow, ExecuteFromOnCompleteChainsTransitions) {
    TPicShow show;
    Recorder record(show);
    show.OnComplete = [&](TCustomPicShow* s) {
        if (++record.completes < 3) {
            show.SetPicture(CodedPicture(kW, kH, 4 + record.completes));
            s->Execute();
        }
    };
    show.Execute();
    EXPECT_FALSE(show.Busy());
    EXPECT_EQ(record.completes, 3);
    EXPECT_TRUE(SamePixels(show.Display(), CodedPicture(kW, kH, 6)));
}

// Destroyed by its own handler at each point of a frame and at the end.
struct DestroyCase {
    const char* Name;
    int At;  // progress, or -1 for OnComplete
    bool BeforeFrame;
};

class PicShowDestroyedTest : public testing::TestWithParam<DestroyCase> {};

TEST_P(PicShowDestroyedTest, FromAHandlerMidTransition) {
    const DestroyCase& c = GetParam();
    auto* show = new TPicShow;
    Recorder record(*show);
    bool destroyed = false;
    const auto destroy = [&](TCustomPicShow* s) {
        if (!destroyed && s->Progress() == c.At) {
            destroyed = true;
            delete s;
        }
    };
    if (c.At < 0)
        show->OnComplete = [&](TCustomPicShow* s) {
            destroyed = true;
            delete s;
        };
    else if (c.BeforeFrame)
        show->OnBeforeNewFrame = [&](TCustomPicShow* s, QImage&, QImage&) { destroy(s); };
    else
        show->OnProgress = destroy;
    show->Execute();
    EXPECT_TRUE(destroyed);
}

INSTANTIATE_TEST_SUITE_P(Handlers, PicShowDestroyedTest,
                         testing::Values(DestroyCase{"on_progress", 40, false},
                                         DestroyCase{"before_a_frame", 40, true},
                                         DestroyCase{"in_the_first_frame", 0, true},
                                         DestroyCase{"on_complete", -1, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(PicShow, TheFirstTransitionStartsFromBlackThenFromWhatWasShown) {
    TPicShow show;
    Recorder record(show);
    const QImage first = show.Picture(), second = CodedPicture(kW, kH, 7);
    show.SetColor(Qt::white);
    show.SetManual(true);
    show.Execute();
    EXPECT_EQ(show.OldPic().pixel(5, 5), qRgb(0, 0, 0));
    show.SetProgress(100);
    show.SetManual(false);
    ASSERT_FALSE(show.Busy());
    show.SetAutoSize(false);
    show.resize(kW + 20, kH + 10);
    show.SetCenter(true);
    show.show();
    ProcessMessages();
    EXPECT_EQ(show.PicRect(), QRect(10, 5, kW, kH));
    EXPECT_TRUE(SamePixels(Shown(show), first));
    show.SetPicture(second);
    show.SetManual(true);
    show.Execute();
    EXPECT_TRUE(SamePixels(show.OldPic(), first));
    show.SetProgress(100);
    EXPECT_TRUE(SamePixels(Shown(show), second));
    // Around the centred picture, the colour.
    EXPECT_EQ(show.PaintBuffer().pixel(2, 2), qRgb(255, 255, 255));
}

TEST(PicShow, AStretchedControlShowsEveryFrameAsAFullPaintWould) {
    TPicShow show;
    Recorder record(show);
    show.SetAutoSize(false);
    show.resize(97, 55);
    show.SetStretch(true);
    show.SetStretchFine(true);
    show.SetStyle(53);
    show.SetManual(true);
    show.show();
    ProcessMessages();
    show.Execute();
    for (int p : {10, 35, 60, 20, 90}) {
        show.SetProgress(p);
        const QImage framed = show.PaintBuffer().copy();
        show.Invalidate();
        EXPECT_TRUE(SamePixels(framed, show.PaintBuffer())) << p;
    }
}

TEST(PicShow, AlignedToTheClientAreaItFollowsItsParent) {
    QWidget parent;
    parent.resize(120, 80);
    parent.show();
    TPicShow show(&parent);
    show.SetAlign(TAlign::alClient);
    EXPECT_EQ(show.geometry(), QRect(0, 0, 120, 80));
    show.SetPicture(CodedPicture(10, 10, 1));
    EXPECT_EQ(show.size(), QSize(120, 80));
    parent.resize(150, 90);
    EXPECT_EQ(show.size(), QSize(150, 90));
}

}  // namespace
}  // namespace pagora
