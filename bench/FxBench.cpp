// One frame of every transition style at 1920 x 1080, at progress 25, 50 and
// 75, beside a memcpy of one frame: the copy of the old picture each frame
// starts with. The goal is every style within 10 times that copy.
//
//   build/bench/bench_fx [all]    (all: every style's time, not only the slowest five)
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "BenchTimer.h"
#include "FxPictures.h"
#include "gfx/Canvas.h"
#include "views/PicShowFrame.h"
#include "views/PicShowStyles.h"

int main(int argc, char** argv) {
    using namespace pagora;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    constexpr int W = 1920, H = 1080, kGoal = 10;
    const QImage oldPic = bench::OldPicture(W, H), newPic = bench::NewPicture(W, H);
    QImage frame = NewBitmap24(W, H);
    Canvas display(&frame);

    const size_t bytes = size_t(W) * H * 4;
    std::vector<uint8_t> from(bytes, 7), to(bytes, 1);
    const auto copy = [&] { std::memcpy(to.data(), from.data(), bytes); };
    double floorMs = bench::BestMs(copy, 15);

    struct Row {
        int Style;
        double Ms;
    };
    std::vector<Row> rows;
    for (int style = 0; style <= kMaxShowStyle; ++style) {
        double sum = 0;
        for (int p : {25, 50, 75}) {
            ShowRandom random(style);
            sum += bench::BestMs(
                [&] { ComposeShowFrame(style, p, 4, oldPic, newPic, display, random); }, 5);
        }
        rows.push_back({style, sum / 3});
    }
    // The machine is shared: the copy is timed again after the styles and
    // the better time kept, so a busy spell cannot flatter the ratios.
    floorMs = std::min(floorMs, bench::BestMs(copy, 15));
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.Ms > b.Ms; });

    std::printf("transition frames at %d x %d, mean of progress 25, 50, 75, best of 5\n", W, H);
    std::printf("  %-44s %8.3f ms\n", "memcpy of one frame (the old picture's copy)", floorMs);
    std::printf(argc > 1 ? "every style, slowest first:\n" : "slowest five:\n");
    const bool all = argc > 1 && std::strcmp(argv[1], "all") == 0;
    for (size_t i = 0; i < (all ? rows.size() : 5) && i < rows.size(); ++i)
        std::printf("  %3d %-40s %8.3f ms  x%.1f of the copy\n", rows[i].Style,
                    ShowStyleAt(rows[i].Style).Name, rows[i].Ms, rows[i].Ms / floorMs);
    const auto over = std::count_if(rows.begin(), rows.end(),
                                    [&](const Row& r) { return r.Ms > kGoal * floorMs; });
    double total = 0;
    for (const Row& r : rows)
        total += r.Ms;
    std::printf("mean of all %zu styles %.3f ms (x%.1f); %td above the goal of x%d\n", rows.size(),
                total / rows.size(), total / rows.size() / floorMs, over, kGoal);
    return 0;
}
