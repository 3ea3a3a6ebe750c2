// The book's opening on an offscreen window: the real TBootFlash revealing a
// screen-sized background line by line and dissolving in the closed book,
// shown by the waiting UI thread, beside the same run with its copies and
// flushes skipped (the pacing alone), and a memcpy of the bytes it moves.
//
//   build/bench/bench_opening [RUNS]
#include <QApplication>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "BenchTimer.h"
#include "SyntheticPhoto.h"
#include "book/BookLayout.h"
#include "book/TBootFlash.h"
#include "platform/Form.h"
#include "platform/Messages.h"

using pagora::bench::BestMs;
using Clock = std::chrono::steady_clock;

namespace {

constexpr double kGoal = 1.15;

// Processor time of the whole process (both threads), in milliseconds.
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct Times {
    double Wall = 1e300, Cpu = 1e300;
};

void Opening(pagora::Form& window, const QImage& back, const QImage& book, QPoint at,
             bool copiesSkipped, Times& best) {
    using namespace pagora;
    TBootFlash flash(window.GetCanvas());
    flash.SetSeed(1);
    flash.SetCopiesSkipped(copiesSkipped);
    flash.AddPicture(&back, {0, 0});
    flash.AddPicture(&book, at);
    const auto start = Clock::now();
    const double cpu = CpuMs();
    flash.PlayOn(window, 60000);
    best.Cpu = std::min(best.Cpu, CpuMs() - cpu);
    best.Wall = std::min(best.Wall,
                         std::chrono::duration<double, std::milli>(Clock::now() - start).count());
}

void Screen(int width, int height, int runs) {
    using namespace pagora;
    Form window;
    window.resize(width, height);
    window.show();
    ProcessMessages();
    const QSize size = window.BackBuffer().size();
    const BookLayout b = ComputeBookLayout(size.width(), size.height());
    const QImage back = test::SyntheticPhoto(size.width(), size.height(), 1);
    const QImage book =
        test::SyntheticPhoto(b.PageWidth + b.RightStack, b.PageHeight + b.RightStack, 2);
    const QPoint at(b.RightPageX, b.PageY);

    const size_t bytes = size_t(back.sizeInBytes() + book.sizeInBytes());
    std::vector<uint8_t> from(bytes, 7), to(bytes, 1);
    const double floorMs = BestMs([&] { std::memcpy(to.data(), from.data(), bytes); }, 9);

    // Alternated, so both kinds of run meet the same load on the machine.
    Times paced, real;
    for (int i = 0; i < runs; ++i) {
        Opening(window, back, book, at, true, paced);
        Opening(window, back, book, at, false, real);
    }
    const double ratio = real.Wall / paced.Wall;
    std::printf("\n%d x %d: background %.1f MB, closed book %d x %d\n", size.width(), size.height(),
                back.sizeInBytes() / 1e6, book.width(), book.height());
    std::printf("  %-40s %9.3f ms\n", "memcpy of the bytes revealed (floor)", floorMs);
    std::printf("  %-40s %9.1f ms  (processor %.1f ms)\n", "pacing alone (copies, flushes skipped)",
                paced.Wall, paced.Cpu);
    std::printf("  %-40s %9.1f ms  (processor %.1f ms)  x%.3f of the pacing (goal <= x%.2f)%s\n",
                "the opening, shown", real.Wall, real.Cpu, ratio, kGoal,
                ratio <= kGoal ? "" : "  OVER");
    window.hide();
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const QString config = QDir::tempPath() + "/bench-opening-screen-" +
                           QString::number(QCoreApplication::applicationPid()) + ".json";
    QFile file(config);
    file.open(QIODevice::WriteOnly);
    file.write(R"({ "screens": [ { "name": "s", "x": 0, "y": 0, "width": 3840,
        "height": 2160, "logicalDpi": 96, "physicalWidth": 800, "physicalHeight": 450 } ] })");
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    QApplication app(argc, argv);
    std::printf("the opening, best of %d runs each\n", runs);
    for (auto [w, h] : {std::pair{1920, 1080}, {3840, 2160}})
        Screen(w, h, runs);
    QFile::remove(config);
    return 0;
}
