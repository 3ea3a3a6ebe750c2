// kfa make of 48 photographs of 6000 x 4000 at --jobs 1 and at the number of
// cores, beside the sum of one fitted decode per photo (the least the work
// can take); then one photo turned upright without loss beside decoding,
// turning and encoding it again, as kfa did before.
//
//   build/bench/bench_make [RUNS]
//
// The photographs are written once into the build's bench-data folder.
#include <sched.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchTimer.h"
#include "ExifPhoto.h"
#include "LosslessTurn.h"
#include "PageArt.h"
#include "Spawn.h"
#include "SyntheticPhoto.h"
#include "TestFiles.h"
#include "book/BookLayout.h"
#include "gfx/Orientation.h"
#include "gfx/PictureFile.h"

namespace {

namespace fs = std::filesystem;
using pagora::bench::BestMs;
using pagora::bench::Spawn;
using pagora::test::Bytes;

constexpr int kPhotos = 48;
constexpr int kDistinct = 4;  // drawing a photograph this size takes seconds
constexpr int kWidth = 6000, kHeight = 4000;
constexpr int kScreenW = 1920, kScreenH = 1080;
constexpr int kReencodeQuality = 92;  // kfa's, for photos it cannot turn losslessly

int Cores() {
    cpu_set_t set;
    CPU_ZERO(&set);
    return sched_getaffinity(0, sizeof set, &set) == 0 ? CPU_COUNT(&set) : 1;
}

std::string When(int i) {
    char text[32];
    std::snprintf(text, sizeof text, "2024:06:%02d %02d:%02d:00", 1 + i / 24, i % 24, i % 60);
    return text;
}

// 48 camera JPEGs with their shooting times, made once.
std::vector<std::string> Photos(const std::string& folder) {
    fs::create_directories(folder);
    std::vector<std::string> paths;
    std::vector<Bytes> drawn;
    for (int i = 0; i < kPhotos; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/photo-%02d.jpg", i + 1);
        paths.push_back(folder + name);
        if (fs::exists(paths.back()))
            continue;
        if (drawn.empty()) {
            std::printf("drawing %d photographs of %d x %d into %s ...\n", kDistinct, kWidth,
                        kHeight, folder.c_str());
            std::fflush(stdout);
            for (int k = 0; k < kDistinct; ++k)
                drawn.push_back(
                    pagora::EncodeJpeg(pagora::test::SyntheticPhoto(kWidth, kHeight, 11 + k), 90));
        }
        Bytes photo = drawn[i % kDistinct];
        const Bytes exif = pagora::test::ExifSegment(1, When(i), "");
        photo.insert(photo.begin() + 2, exif.begin(), exif.end());
        pagora::test::WriteFile(paths.back(), photo);
    }
    return paths;
}

double MakeMs(const std::string& folder, const std::string& album, int jobs, int runs) {
    return BestMs(
        [&] {
            if (!Spawn({KFA_PATH, "make", folder, "-o", album, "--name", "Bench", "--jobs",
                        std::to_string(jobs)})) {
                std::fprintf(stderr, "kfa make --jobs %d failed\n", jobs);
                std::exit(1);
            }
        },
        runs);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2;
    const std::string data = BENCH_DATA_DIR;
    const std::string folder = data + "/make48";
    const std::vector<std::string> photos = Photos(folder);
    const std::string album = data + "/make48.kfa";
    const int cores = Cores();

    const pagora::BookLayout layout = pagora::ComputeBookLayout(kScreenW, kScreenH);
    const QSize box = kfa::PhotoBox(QSize(layout.PicWidth, layout.PicHeight)).size();
    const double floorMs = BestMs(
        [&] {
            for (const std::string& path : photos)
                pagora::DecodeJpegToBox(pagora::test::ReadFile(path), path, box.width(),
                                        box.height(), false, false);
        },
        runs);
    const double oneMs = MakeMs(folder, album, 1, runs);
    const double allMs = MakeMs(folder, album, cores, runs);
    fs::remove(album);

    std::printf("%d photographs of %d x %d (%.1f MB each), album for %d x %d, %d cores\n", kPhotos,
                kWidth, kHeight, fs::file_size(photos[0]) / 1e6, kScreenW, kScreenH, cores);
    std::printf("%-44s %9.0f ms\n", "one fitted decode per photo (floor)", floorMs);
    std::printf("%-44s %9.0f ms  x%.2f floor\n", "kfa make --jobs 1", oneMs, oneMs / floorMs);
    char label[64];
    std::snprintf(label, sizeof label, "kfa make --jobs %d", cores);
    std::printf("%-44s %9.0f ms  x%.2f floor, %.2f times --jobs 1's speed\n\n", label, allMs,
                allMs / floorMs, oneMs / allMs);

    // Orientation 6, the usual portrait: a perfect turn for 16 x 16 MCUs.
    const Bytes jpeg = pagora::test::ReadFile(photos[0]);
    const double reencodeMs = BestMs(
        [&] {
            QImage upright = pagora::OrientUpright(pagora::DecodeJpeg(jpeg, "photo"), 6);
            pagora::EncodeJpeg(upright, kReencodeQuality);
        },
        runs);
    bool lossless = true;
    const double losslessMs =
        BestMs([&] { lossless = kfa::TurnUprightLosslessly(jpeg, 6).has_value(); }, runs);
    std::printf("one photo turned upright (EXIF orientation 6):\n");
    std::printf("%-44s %9.0f ms\n", "decode, turn, encode at quality 92", reencodeMs);
    std::printf("%-44s %9.0f ms  %.1f times faster%s\n", "turned without loss (tjTransform)",
                losslessMs, reencodeMs / losslessMs, lossless ? "" : " (NOT PERFECT)");
    return 0;
}
