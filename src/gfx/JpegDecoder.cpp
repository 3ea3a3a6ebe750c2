// JPEG pictures through libjpeg-turbo, decoded straight into kBitmapFormat rows.
#include <cstring>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Fit.h"
#include "gfx/JpegGuard.h"  // jpeglib.h, which jerror.h needs first
#include "gfx/PictureDecode.h"
#include "gfx/PictureError.h"
#include "gfx/PictureFile.h"

#include <jerror.h>

namespace pagora {

namespace {

// A progressive file may repeat scans without end, each cheap to store and
// costly to decode; real files have a dozen or so.
constexpr int kMaxJpegScans = 500;

// Shrinking a DCT-scaled picture by little aliases its finest detail: against
// full decoding plus FitBitmap, photographs score 36 dB from 1.17 times the
// fitted size and 40 dB from 1.4 times; an exact scale needs no shrinking.
constexpr double kMinResampleMargin = 1.25;

void CheckScans(j_common_ptr common) {
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->input_scan_number > kMaxJpegScans) {
        auto* errors = reinterpret_cast<jpeg::Errors*>(common->err);
        std::snprintf(errors->Message, sizeof errors->Message, "more than %d scans", kMaxJpegScans);
        std::longjmp(errors->Jump, 1);
    }
}

// Adobe's CMYK files store inverted inks (255 = none), which is what libjpeg
// writes too; others store plain inks.
void CmykToBgrx(uint8_t* row, int width, bool inverted) {
    for (int x = 0; x < width; ++x, row += 4) {
        unsigned c = row[0], m = row[1], y = row[2], k = row[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        row[0] = static_cast<uint8_t>((y * k + 127) / 255);
        row[1] = static_cast<uint8_t>((m * k + 127) / 255);
        row[2] = static_cast<uint8_t>((c * k + 127) / 255);
        row[3] = 0xff;
    }
}

class Decompressor {
  public:
    Decompressor(std::span<const uint8_t> bytes, const std::string& what) : what_(what) {
        if (bytes.empty())
            throw PictureError(what + ": empty file");
        std::memset(&info_, 0, sizeof info_);
        jpeg::InstallErrors(Common(), errors_);
        if (!jpeg::RunGuarded(
                Common(),
                [](j_common_ptr c, void*) {
                    jpeg_create_decompress(reinterpret_cast<j_decompress_ptr>(c));
                },
                nullptr)) {
            jpeg_destroy_decompress(&info_);
            throw PictureError(what + ": cannot decode JPEG: " + errors_.Message);
        }
        progress_.progress_monitor = CheckScans;
        info_.progress = &progress_;
        data_ = bytes;
    }
    ~Decompressor() { jpeg_destroy_decompress(&info_); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    jpeg_decompress_struct& Info() { return info_; }

    void ReadHeader() {
        Run(
            [](j_common_ptr c, void* arg) {
                auto* info = reinterpret_cast<j_decompress_ptr>(c);
                auto* data = static_cast<std::span<const uint8_t>*>(arg);
                jpeg_mem_src(info, data->data(), static_cast<unsigned long>(data->size()));
                jpeg_read_header(info, TRUE);
            },
            &data_);
        cmyk_ = info_.jpeg_color_space == JCS_CMYK || info_.jpeg_color_space == JCS_YCCK;
        info_.out_color_space = cmyk_ ? JCS_CMYK : JCS_EXT_BGRX;
    }

    // Sets the DCT scale n/8 and returns the output size it gives.
    QSize SetScale(int eighths) {
        info_.scale_num = static_cast<unsigned>(eighths);
        info_.scale_denom = 8;
        Run([](j_common_ptr c,
               void*) { jpeg_calc_output_dimensions(reinterpret_cast<j_decompress_ptr>(c)); },
            nullptr);
        return QSize(static_cast<int>(info_.output_width), static_cast<int>(info_.output_height));
    }

    QImage Decode(int64_t maxArea) {
        CheckPictureSize(info_.image_width, info_.image_height, maxArea, what_);
        Run([](j_common_ptr c,
               void*) { jpeg_calc_output_dimensions(reinterpret_cast<j_decompress_ptr>(c)); },
            nullptr);
        QImage picture = NewPicture(info_.output_width, info_.output_height, maxArea, what_);
        std::vector<JSAMPROW> rows(static_cast<size_t>(picture.height()));
        for (int y = 0; y < picture.height(); ++y)
            rows[static_cast<size_t>(y)] = picture.scanLine(y);
        Run([](j_common_ptr c,
               void*) { jpeg_start_decompress(reinterpret_cast<j_decompress_ptr>(c)); },
            nullptr);
        if (info_.output_components != 4 || info_.output_width != unsigned(picture.width()) ||
            info_.output_height != unsigned(picture.height()))
            throw PictureError(what_ + ": cannot decode JPEG: unexpected output layout");
        Run(
            [](j_common_ptr c, void* arg) {
                auto* info = reinterpret_cast<j_decompress_ptr>(c);
                auto* rows = static_cast<JSAMPROW*>(arg);
                while (info->output_scanline < info->output_height) {
                    JDIMENSION done = info->output_scanline;
                    if (jpeg_read_scanlines(info, rows + done, info->output_height - done) == 0)
                        ERREXIT(info, JERR_BAD_STATE);  // only a suspending source stops
                }
            },
            rows.data());
        if (cmyk_) {
            for (int y = 0; y < picture.height(); ++y)
                CmykToBgrx(picture.scanLine(y), picture.width(), info_.saw_Adobe_marker);
        }
        return picture;
    }

  private:
    j_common_ptr Common() { return reinterpret_cast<j_common_ptr>(&info_); }

    void Run(jpeg::Step step, void* arg) {
        if (!jpeg::RunGuarded(Common(), step, arg))
            throw PictureError(what_ + ": cannot decode JPEG: " + errors_.Message);
    }

    std::string what_;
    jpeg::Errors errors_;
    jpeg_progress_mgr progress_{};
    jpeg_decompress_struct info_;
    std::span<const uint8_t> data_;
    bool cmyk_ = false;
};

}  // namespace

QImage DecodeJpeg(std::span<const uint8_t> bytes, const std::string& what, int64_t maxArea) {
    Decompressor decompressor(bytes, what);
    decompressor.ReadHeader();
    return decompressor.Decode(maxArea);
}

QImage DecodeJpegToBox(std::span<const uint8_t> bytes, const std::string& what, int boxWidth,
                       int boxHeight, bool fast, bool exact, int64_t maxArea) {
    Decompressor decompressor(bytes, what);
    decompressor.ReadHeader();
    const jpeg_decompress_struct& info = decompressor.Info();
    CheckPictureSize(info.image_width, info.image_height, maxArea, what);
    QSize fitted = FitSize(static_cast<int>(info.image_width), static_cast<int>(info.image_height),
                           boxWidth, boxHeight, exact);
    if (fitted.isEmpty())
        return QImage(0, 0, kBitmapFormat);
    if (!PictureSizeAllowed(fitted.width(), fitted.height()))
        throw PictureError(what + ": cannot fit into a box of " + std::to_string(boxWidth) + " x " +
                           std::to_string(boxHeight));
    // libjpeg-turbo has SIMD inverse DCTs for 1/8, 2/8, 4/8 and 8/8 only; the
    // others run in plain C, 3/8 slower than 4/8 and 5/8 to 7/8 slower than a
    // full decode. Scales above 8/8 would invent pixels the fit averages away.
    for (int eighths : {1, 2, 4, 8}) {
        QSize scaled = decompressor.SetScale(eighths);
        if (scaled == fitted || (scaled.width() >= fitted.width() * kMinResampleMargin &&
                                 scaled.height() >= fitted.height() * kMinResampleMargin))
            break;
    }
    QImage picture = decompressor.Decode(maxArea);
    if (picture.size() == fitted)
        return picture;
    return StretchBitmap(picture, fitted.width(), fitted.height(), fast);
}

QSize JpegSize(std::span<const uint8_t> bytes, const std::string& what) {
    Decompressor decompressor(bytes, what);
    decompressor.ReadHeader();
    return QSize(static_cast<int>(decompressor.Info().image_width),
                 static_cast<int>(decompressor.Info().image_height));
}

}  // namespace pagora
