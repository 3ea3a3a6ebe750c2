// PNG pictures through libpng, read from memory. Every colour type and depth
// becomes 8-bit B, G, R, X; alpha is composited over white, the colour of the
// paper a transparent background picture lies on.
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/PictureDecode.h"
#include "gfx/PictureError.h"
#include "gfx/PictureFile.h"

namespace pagora {

namespace {

struct PngSource {
    const uint8_t* Data;
    size_t Size;
    size_t Position;
    char Message[256];
};

// libpng's error callback must not return: it longjmps to the setjmp of
// RunGuarded, whose frame owns nothing, and the caller throws.
[[noreturn]] void OnError(png_structp png, png_const_charp message) {
    auto* source = static_cast<PngSource*>(png_get_error_ptr(png));
    std::snprintf(source->Message, sizeof source->Message, "%s", message ? message : "error");
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadBytes(png_structp png, png_bytep out, size_t count) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (count > source->Size - source->Position)
        png_error(png, "the data ends early");
    std::memcpy(out, source->Data + source->Position, count);
    source->Position += count;
}

using Step = void (*)(png_structp png, png_infop info, void* arg);

[[gnu::noinline]] bool RunGuarded(png_structp png, png_infop info, Step step, void* arg) {
    if (setjmp(png_jmpbuf(png)) != 0)
        return false;
    step(png, info, arg);
    return true;
}

class PngReader {
  public:
    PngReader(std::span<const uint8_t> bytes, const std::string& what)
        : source_{bytes.data(), bytes.size(), 0, {}}, what_(what) {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source_, OnError, OnWarning);
        if (png_)
            info_ = png_create_info_struct(png_);
        if (!png_ || !info_) {
            png_destroy_read_struct(&png_, &info_, nullptr);
            throw PictureError(what + ": cannot decode PNG: out of memory");
        }
        png_set_read_fn(png_, &source_, ReadBytes);
    }
    ~PngReader() { png_destroy_read_struct(&png_, &info_, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    QImage Decode(int64_t maxArea) {
        Run([](png_structp png, png_infop info, void*) { png_read_info(png, info); }, nullptr);
        CheckPictureSize(png_get_image_width(png_, info_), png_get_image_height(png_, info_),
                         maxArea, what_);
        bool alpha = false;
        Run(
            [](png_structp png, png_infop info, void* arg) {
                int type = png_get_color_type(png, info);
                int depth = png_get_bit_depth(png, info);
                bool transparent = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
                if (type == PNG_COLOR_TYPE_PALETTE)
                    png_set_palette_to_rgb(png);
                if ((type & PNG_COLOR_MASK_COLOR) == 0 && depth < 8)
                    png_set_expand_gray_1_2_4_to_8(png);
                if (transparent)
                    png_set_tRNS_to_alpha(png);
                if (depth == 16)
                    png_set_scale_16(png);
                if ((type & PNG_COLOR_MASK_COLOR) == 0)
                    png_set_gray_to_rgb(png);
                png_set_bgr(png);
                bool hasAlpha = transparent || (type & PNG_COLOR_MASK_ALPHA) != 0;
                if (!hasAlpha)
                    png_set_filler(png, 0xff, PNG_FILLER_AFTER);
                png_set_interlace_handling(png);
                png_read_update_info(png, info);
                *static_cast<bool*>(arg) = hasAlpha;
            },
            &alpha);
        QImage picture = NewPicture(png_get_image_width(png_, info_),
                                    png_get_image_height(png_, info_), maxArea, what_);
        if (png_get_rowbytes(png_, info_) != static_cast<size_t>(picture.width()) * 4)
            throw PictureError(what_ + ": cannot decode PNG: unexpected row layout");
        std::vector<png_bytep> rows(static_cast<size_t>(picture.height()));
        for (int y = 0; y < picture.height(); ++y)
            rows[static_cast<size_t>(y)] = picture.scanLine(y);
        Run([](png_structp png, png_infop,
               void* arg) { png_read_image(png, static_cast<png_bytepp>(arg)); },
            rows.data());
        if (alpha) {
            for (int y = 0; y < picture.height(); ++y) {
                uint8_t* p = picture.scanLine(y);
                for (int x = 0; x < picture.width(); ++x, p += 4) {
                    unsigned a = p[3];
                    p[0] = OverWhite(p[0], a);
                    p[1] = OverWhite(p[1], a);
                    p[2] = OverWhite(p[2], a);
                    p[3] = 0xff;
                }
            }
        }
        return picture;
    }

  private:
    void Run(Step step, void* arg) {
        if (!RunGuarded(png_, info_, step, arg))
            throw PictureError(what_ + ": cannot decode PNG: " + source_.Message);
    }

    PngSource source_;
    std::string what_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

}  // namespace

QImage DecodePng(std::span<const uint8_t> bytes, const std::string& what, int64_t maxArea) {
    if (bytes.empty())
        throw PictureError(what + ": empty file");
    PngReader reader(bytes, what);
    return reader.Decode(maxArea);
}

}  // namespace pagora
