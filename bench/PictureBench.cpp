// Decoding a real-size photograph straight into a box beside full decoding
// plus FitBitmap into the same box, with a memcpy of the full picture's bytes
// as the floor. build/bench/bench_picture [WIDTH HEIGHT]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "BenchTimer.h"
#include "SyntheticPhoto.h"
#include "gfx/Fit.h"
#include "gfx/PictureFile.h"

using pagora::bench::BestMs;

int main(int argc, char** argv) {
    int width = argc > 2 ? std::atoi(argv[1]) : 6000;
    int height = argc > 2 ? std::atoi(argv[2]) : 4000;
    QImage photo = pagora::test::SyntheticPhoto(width, height, 5);
    std::vector<uint8_t> jpeg = pagora::EncodeJpeg(photo, 90);
    std::printf("photograph %d x %d, JPEG quality 90: %.1f MB\n", width, height, jpeg.size() / 1e6);

    QImage full = pagora::DecodeJpeg(jpeg, "photo.jpg");
    const size_t bytes = static_cast<size_t>(full.sizeInBytes());
    std::vector<uint8_t> to(bytes);
    double floorMs = BestMs([&] { std::memcpy(to.data(), full.constBits(), bytes); }, 9);
    double decodeMs = BestMs([&] { full = pagora::DecodeJpeg(jpeg, "photo.jpg"); }, 3);
    std::printf("%-34s %9.2f ms\n", "memcpy of the decoded bytes (floor)", floorMs);
    std::printf("%-34s %9.2f ms  x%.1f floor\n\n", "DecodeJpeg, full size", decodeMs,
                decodeMs / floorMs);

    struct Box {
        const char* Name;
        int Width, Height;
    };
    std::printf("%-22s %11s %12s %10s %8s %9s\n", "box", "fitted", "full+fit ms", "to-box ms",
                "speedup", "PSNR dB");
    for (Box box : {Box{"page slot 451x579", 451, 579}, Box{"screen 1920x1080", 1920, 1080},
                    Box{"thumbnail 191x160", 191, 160}}) {
        QImage reference, boxed;
        double fullMs = BestMs(
            [&] {
                QImage decoded = pagora::DecodeJpeg(jpeg, "photo.jpg");
                pagora::FitBitmap(decoded, reference, false, box.Height, box.Width, false);
            },
            5);
        double boxMs = BestMs(
            [&] {
                boxed =
                    pagora::DecodeJpegToBox(jpeg, "photo.jpg", box.Width, box.Height, false, false);
            },
            5);
        char fitted[32];
        std::snprintf(fitted, sizeof fitted, "%dx%d", boxed.width(), boxed.height());
        std::printf("%-22s %11s %12.2f %10.2f %7.1fx %9.2f\n", box.Name, fitted, fullMs, boxMs,
                    fullMs / boxMs, pagora::test::Psnr(reference, boxed));
    }
    return 0;
}
