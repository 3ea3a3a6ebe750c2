// Decodes the input as a TIFF.
#include <cstdint>
#include <span>

#include "PictureFuzz.h"
#include "gfx/PictureError.h"
#include "gfx/PictureFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        pagora::DecodeTiff(std::span<const uint8_t>(data, size), "fuzz.tif", kFuzzMaxArea);
    } catch (const pagora::PictureError&) {
    }
    return 0;
}
