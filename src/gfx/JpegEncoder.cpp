// Baseline JPEG from kBitmapFormat rows through libjpeg-turbo.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/JpegGuard.h"
#include "gfx/PictureError.h"
#include "gfx/PictureFile.h"

namespace pagora {

namespace {

class Compressor {
  public:
    Compressor() {
        std::memset(&info_, 0, sizeof info_);
        jpeg::InstallErrors(Common(), errors_);
        if (!jpeg::RunGuarded(
                Common(),
                [](j_common_ptr c, void*) {
                    jpeg_create_compress(reinterpret_cast<j_compress_ptr>(c));
                },
                nullptr)) {
            jpeg_destroy_compress(&info_);
            throw PictureError(std::string("Cannot encode JPEG: ") + errors_.Message);
        }
    }
    // libjpeg's memory destination grows its buffer with malloc; whichever
    // buffer it holds last is ours to free.
    ~Compressor() {
        jpeg_destroy_compress(&info_);
        std::free(buffer_);
    }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    std::vector<uint8_t> Encode(const QImage& picture, int quality) {
        info_.image_width = static_cast<JDIMENSION>(picture.width());
        info_.image_height = static_cast<JDIMENSION>(picture.height());
        info_.input_components = 4;
        info_.in_color_space = JCS_EXT_BGRX;
        quality_ = std::clamp(quality, 1, 100);
        rows_.resize(static_cast<size_t>(picture.height()));
        for (int y = 0; y < picture.height(); ++y)
            rows_[static_cast<size_t>(y)] = const_cast<JSAMPROW>(picture.constScanLine(y));
        Run([](j_common_ptr c, void* arg) {
            auto* self = static_cast<Compressor*>(arg);
            j_compress_ptr info = reinterpret_cast<j_compress_ptr>(c);
            jpeg_mem_dest(info, &self->buffer_, &self->size_);
            jpeg_set_defaults(info);
            jpeg_set_quality(info, self->quality_, TRUE);
            jpeg_start_compress(info, TRUE);
            while (info->next_scanline < info->image_height) {
                JDIMENSION done = info->next_scanline;
                jpeg_write_scanlines(info, self->rows_.data() + done, info->image_height - done);
            }
            jpeg_finish_compress(info);
        });
        return std::vector<uint8_t>(buffer_, buffer_ + size_);
    }

  private:
    j_common_ptr Common() { return reinterpret_cast<j_common_ptr>(&info_); }

    void Run(jpeg::Step step) {
        if (!jpeg::RunGuarded(Common(), step, this))
            throw PictureError(std::string("Cannot encode JPEG: ") + errors_.Message);
    }

    jpeg::Errors errors_;
    jpeg_compress_struct info_;
    unsigned char* buffer_ = nullptr;
    unsigned long size_ = 0;
    int quality_ = 90;
    std::vector<JSAMPROW> rows_;
};

}  // namespace

std::vector<uint8_t> EncodeJpeg(const QImage& picture, int quality) {
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0)
        throw PictureError("Cannot encode an empty picture as JPEG");
    QImage rgb = picture;
    MakeBitmap24(rgb);
    Compressor compressor;
    return compressor.Encode(rgb, quality);
}

}  // namespace pagora
