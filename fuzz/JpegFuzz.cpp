// Decodes the input as a JPEG: its size, the whole picture, and straight into
// a small box both ways; reads its EXIF orientation and decodes it upright.
#include <cstdint>
#include <span>

#include "PictureFuzz.h"
#include "gfx/ExifOrientation.h"
#include "gfx/Orientation.h"
#include "gfx/PictureError.h"
#include "gfx/PictureFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> bytes(data, size);
    try {
        pagora::JpegSize(bytes, "fuzz.jpg");
        pagora::DecodeJpeg(bytes, "fuzz.jpg", kFuzzMaxArea);
    } catch (const pagora::PictureError&) {
    }
    try {
        pagora::DecodeJpegToBox(bytes, "fuzz.jpg", 64, 48, false, false, kFuzzMaxArea);
        pagora::DecodeJpegToBox(bytes, "fuzz.jpg", 7, 300, true, true, kFuzzMaxArea);
    } catch (const pagora::PictureError&) {
    }
    const int orientation = pagora::ExifOrientation(bytes);
    if (orientation < 1 || orientation > 8)
        __builtin_trap();
    try {
        pagora::UprightJpegSize(bytes, "fuzz.jpg");
        pagora::DecodeUprightJpegToBox(bytes, "fuzz.jpg", 40, 30, false, false, kFuzzMaxArea);
    } catch (const pagora::PictureError&) {
    }
    return 0;
}
