// The page curl at three screen sizes: composing one frame of each phase
// straight into a window's buffer and showing it, beside the 30 ms frame
// period and a memcpy of the frame's bytes (the floor). Then the curl on a
// 3840 x 2160 screen reached as 1920 x 1080 at scale 2 (a second run of this
// program) beside the same screen unscaled. Then the real book window at
// 3840 x 2160: the time from Space to the first frame of the turn, with the
// pages' decode still in the way and without it.
//
//   build/bench/bench_turn
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "BenchTimer.h"
#include "OffscreenScreen.h"
#include "SyntheticPhoto.h"
#include "archive/AlbumArchive.h"
#include "archive/AlbumProfile.h"
#include "archive/AlbumWriter.h"
#include "archive/MemberNames.h"
#include "book/BookLayout.h"
#include "book/PageCurl.h"
#include "book/TVudadezErozNew.h"
#include "gfx/Bitmap.h"
#include "gfx/PictureFile.h"
#include "platform/Form.h"
#include "platform/Messages.h"

using pagora::bench::BestMs;
using Clock = std::chrono::steady_clock;

namespace {

constexpr double kFramePeriodMs = 30;
constexpr int kScreenW = 3840, kScreenH = 2160;

// Every frame of a phase of T = 450 ms, 30 ms apart; the mean per frame.
template <typename Frame>
double PerFrame(Frame&& frame) {
    const int T = 450;
    std::vector<int> times;
    for (int t = 0; t < T; t += 30)
        times.push_back(t);
    const double ms = BestMs(
        [&] {
            for (int t : times)
                frame(t, T);
        },
        3);
    return ms / times.size();
}

// The window is width x height logical pixels; the curl is laid out on its
// device pixels. Returns the mean per frame of the four phases shown.
double Curl(int width, int height, bool print = true) {
    using namespace pagora;
    Form window;
    window.resize(width, height);
    window.show();
    ProcessMessages();
    Canvas& screen = window.GetCanvas();
    width = screen.Width();
    height = screen.Height();
    const BookLayout b = ComputeBookLayout(width, height);
    const int PW = b.PageWidth, PH = b.PageHeight, L = b.CurlLift, H = L + PH;
    const QImage page = test::SyntheticPhoto(PW, PH, 3);
    const QImage under = test::SyntheticPhoto(PW, H, 4);
    const int Xl = b.LeftPageX, Xr = b.RightPageX, Y = b.PageY;

    const size_t bytes = size_t(PW) * H * 4;
    std::vector<uint8_t> from(bytes, 7), to(bytes, 1);
    const double floorMs = BestMs([&] { std::memcpy(to.data(), from.data(), bytes); }, 9);
    if (print)
        std::printf("\n%d x %d: page %d x %d, frame up to %d x %d (%.1f MB)\n", width, height, PW,
                    PH, PW, H, bytes / 1e6);
    if (print)
        std::printf("  %-34s %8.3f ms\n", "memcpy of a full frame (floor)", floorMs);

    double shown = 0;
    auto row = [&](const char* what, double ms) {
        if (print)
            std::printf("  %-34s %8.3f ms  x%.2f of floor  %4.1f%% of the frame period\n", what, ms,
                        ms / floorMs, 100 * ms / kFramePeriodMs);
        if (std::strstr(what, "only") == nullptr)
            shown += ms / 4;
    };
    auto show = [&](const QRect& r) { screen.Changed(r); };
    row("forward lift", PerFrame([&](int t, int T) {
            const int c = LiftWidth(PW, T, t);
            show(ComposeCurlFrame(screen.Image(), {Xr, Y - L}, PW, H, under, 0, page, L,
                                  ForwardLiftColumns(PW, c)));
        }));
    row("forward fall", PerFrame([&](int t, int T) {
            const int l = FallWidth(PW, T, t);
            show(ComposeCurlFrame(screen.Image(), {Xl + PW - l, Y - L}, l, H, under, l - PW, page,
                                  L, ForwardFallColumns(PW, l)));
        }));
    row("back lift", PerFrame([&](int t, int T) {
            const int c = LiftWidth(PW, T, t);
            show(ComposeCurlFrame(screen.Image(), {Xl, Y - L}, PW, H, under, 0, page, L,
                                  BackLiftColumns(PW, PW, c)));
        }));
    row("back fall", PerFrame([&](int t, int T) {
            const int w = FallWidth(PW, T, t);
            show(ComposeCurlFrame(screen.Image(), {Xr, Y - L}, w, H, under, 0, page, L,
                                  BackFallColumns(PW, w)));
        }));
    row("forward lift, composed only", PerFrame([&](int t, int T) {
            ComposeCurlFrame(screen.Image(), {Xr, Y - L}, PW, H, under, 0, page, L,
                             ForwardLiftColumns(PW, LiftWidth(PW, T, t)));
        }));
    return shown;
}

// The program again on a screen of the same device pixels at scale 2, which
// prints its mean frame last.
double ScaledCurl(const QString& config) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config);
    environment.insert("QT_SCALE_FACTOR", "2");
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {"--scaled-curl"});
    if (!child.waitForFinished(600000) || child.exitCode() != 0)
        return -1;
    const QList<QByteArray> lines = child.readAllStandardOutput().trimmed().split('\n');
    return lines.last().toDouble();
}

// An album of large photographs as pages, written once per run.
std::string MakeAlbum(const std::string& folder) {
    using namespace pagora;
    const std::string path = folder + "/turns.kfa";
    MemoryStream stream;
    AlbumWriter writer(stream, 0);
    const auto jpeg = [](int w, int h, uint32_t seed) {
        return EncodeJpeg(test::SyntheticPhoto(w, h, seed), 90);
    };
    writer.Add("back.jpg", jpeg(256, 256, 1));
    for (const char* name : {"Cover.jpg", "CoverBack.jpg", "LeftPage.jpg", "RightPage.jpg"})
        writer.Add(name, jpeg(1800, 1800, 2));
    for (int page = 1; page <= 8; ++page)
        writer.Add(PagePictureName(page), jpeg(3000, 2000, 10 + page));
    writer.Finish();
    QFile file(QString::fromStdString(path));
    file.open(QIODevice::WriteOnly);
    const auto& data = stream.Bytes();
    file.write(reinterpret_cast<const char*>(data.data()), qint64(data.size()));
    return path;
}

void SpaceToFirstFrame() {
    using namespace pagora;
    const std::string path = MakeAlbum(QDir::tempPath().toStdString());
    AlbumProfile profile;
    profile.PageCount = 8;
    TVudadezErozNew book(nullptr, 0, 0, &profile, AlbumArchive::OpenAt(path, 0),
                         QString::fromStdString(path));
    book.TurnTime = 600;
    book.BackRangOn = 0;
    book.FirstPaint = false;  // no opening: bench_opening times it
    book.ShowFullScreen();
    ProcessMessages();
    Clock::time_point start, first;
    bool seen = false;
    book.FrameShown = [&](int) {
        if (!seen)
            first = Clock::now();
        seen = true;
    };
    auto turn = [&] {
        seen = false;
        start = Clock::now();
        book.lblDownClick();
        return std::chrono::duration<double, std::milli>(first - start).count();
    };
    std::printf("\nthe book at %d x %d, pages of 3000 x 2000 decoded to %d x %d:\n", kScreenW,
                kScreenH, book.PicWidth, book.PicHeight);
    WaitUntil([&] { return book.Loader->Idle(); });
    const double ready = turn();     // the loader had finished: no decode in the way
    const double decoding = turn();  // pressed at once: the preload is still decoding
    std::printf("  Space to first frame, pages ready     %8.1f ms (100 ms of it the pause)\n",
                ready);
    std::printf("  Space to first frame, pages decoding  %8.1f ms\n", decoding);
    book.hide();
}

}  // namespace

int main(int argc, char** argv) {
    const QString config = pagora::bench::UseOffscreenScreen("bench-turn", kScreenW, kScreenH);
    qputenv("SDL_AUDIODRIVER", "dummy");
    if (argc > 1 && std::strcmp(argv[1], "--scaled-curl") == 0) {
        QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
            Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
        QApplication app(argc, argv);
        const double ms = Curl(kScreenW / 2, kScreenH / 2, false);
        std::printf("%.4f\n", ms);
        return 0;
    }
    QApplication app(argc, argv);
    std::printf("curl frames, per frame (the frame period is %.0f ms)\n", kFramePeriodMs);
    double unscaled = 0;
    for (auto [w, h] : {std::pair{1024, 768}, {1920, 1080}, {3840, 2160}})
        unscaled = Curl(w, h);
    // Turn about, best of three each: the machine's load changes meanwhile.
    double scaled = 1e9;
    for (int round = 0; round < 3; ++round) {
        scaled = std::min(scaled, ScaledCurl(config));
        unscaled = std::min(unscaled, Curl(kScreenW, kScreenH, false));
    }
    std::printf("\n3840 x 2160 device pixels, mean shown frame of the four phases:\n");
    std::printf("  unscaled                            %8.3f ms\n", unscaled);
    std::printf("  1920 x 1080 at scale 2              %8.3f ms  x%.2f of unscaled\n", scaled,
                scaled / unscaled);
    SpaceToFirstFrame();
    QFile::remove(config);
    return 0;
}
