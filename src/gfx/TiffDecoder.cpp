// TIFF pictures through libtiff, read from memory: the first image of the
// file, turned upright by its orientation tag, alpha composited over white.
#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "gfx/Bitmap.h"
#include "gfx/PictureDecode.h"
#include "gfx/PictureError.h"
#include "gfx/PictureFile.h"

namespace pagora {

namespace {

// libtiff's largest single buffer (a strip or a tile): a whole 8-bit RGBA
// picture at the area limit in one strip still fits.
constexpr tmsize_t kMaxTiffBuffer = static_cast<tmsize_t>(kMaxPictureArea) * 4;

struct TiffSource {
    const uint8_t* Data;
    uint64_t Size;
    uint64_t Position;
    char Message[256];
};

tmsize_t ReadBytes(thandle_t handle, void* out, tmsize_t count) {
    auto* source = static_cast<TiffSource*>(handle);
    if (count <= 0 || source->Position >= source->Size)
        return 0;
    uint64_t n = std::min<uint64_t>(static_cast<uint64_t>(count), source->Size - source->Position);
    std::memcpy(out, source->Data + source->Position, n);
    source->Position += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t WriteBytes(thandle_t, void*, tmsize_t) {
    return -1;
}

toff_t SeekTo(thandle_t handle, toff_t offset, int whence) {
    auto* source = static_cast<TiffSource*>(handle);
    uint64_t base = whence == SEEK_CUR ? source->Position : whence == SEEK_END ? source->Size : 0;
    if (whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END)
        return static_cast<toff_t>(-1);
    // Offsets come from the file; one past the end is allowed, as for files.
    if (offset > UINT64_MAX - base)
        return static_cast<toff_t>(-1);
    source->Position = base + offset;
    return source->Position;
}

int CloseSource(thandle_t) {
    return 0;
}

toff_t SourceSize(thandle_t handle) {
    return static_cast<TiffSource*>(handle)->Size;
}

int MapSource(thandle_t, void**, toff_t*) {
    return 0;
}
void UnmapSource(thandle_t, void*, toff_t) {}

// The first error is the cause; later ones are its echoes.
int OnError(TIFF*, void* user, const char* module, const char* format, va_list args) {
    auto* source = static_cast<TiffSource*>(user);
    if (source->Message[0] == '\0') {
        int n = 0;
        if (module && *module)
            n = std::snprintf(source->Message, sizeof source->Message, "%s: ", module);
        if (n >= 0 && static_cast<size_t>(n) < sizeof source->Message)
            std::vsnprintf(source->Message + n, sizeof source->Message - n, format, args);
    }
    return 1;  // handled: nothing reaches stderr
}

int OnWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

void SilenceGlobalHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
    });
}

class TiffOptions {
  public:
    explicit TiffOptions(TiffSource* source) : options_(TIFFOpenOptionsAlloc()) {
        if (!options_)
            throw PictureError("Cannot decode TIFF: out of memory");
        TIFFOpenOptionsSetMaxSingleMemAlloc(options_, kMaxTiffBuffer);
        TIFFOpenOptionsSetErrorHandlerExtR(options_, OnError, source);
        TIFFOpenOptionsSetWarningHandlerExtR(options_, OnWarning, source);
    }
    ~TiffOptions() { TIFFOpenOptionsFree(options_); }
    TiffOptions(const TiffOptions&) = delete;
    TiffOptions& operator=(const TiffOptions&) = delete;
    TIFFOpenOptions* Get() { return options_; }

  private:
    TIFFOpenOptions* options_;
};

class TiffFile {
  public:
    explicit TiffFile(TIFF* tiff) : tiff_(tiff) {}
    ~TiffFile() {
        if (tiff_)
            TIFFClose(tiff_);
    }
    TiffFile(const TiffFile&) = delete;
    TiffFile& operator=(const TiffFile&) = delete;
    TIFF* Get() { return tiff_; }

  private:
    TIFF* tiff_;
};

}  // namespace

QImage DecodeTiff(std::span<const uint8_t> bytes, const std::string& what, int64_t maxArea) {
    if (bytes.empty())
        throw PictureError(what + ": empty file");
    SilenceGlobalHandlers();
    TiffSource source{bytes.data(), bytes.size(), 0, {}};
    auto failure = [&](const char* fallback) {
        return PictureError(
            what + ": cannot decode TIFF: " + (source.Message[0] ? source.Message : fallback));
    };
    TiffOptions options(&source);
    // "m": no memory mapping, libtiff only reads through ReadBytes.
    TiffFile file(TIFFClientOpenExt(what.c_str(), "rm", &source, ReadBytes, WriteBytes, SeekTo,
                                    CloseSource, SourceSize, MapSource, UnmapSource,
                                    options.Get()));
    if (!file.Get())
        throw failure("not a TIFF file");
    uint32_t width = 0, height = 0;
    if (!TIFFGetField(file.Get(), TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(file.Get(), TIFFTAG_IMAGELENGTH, &height))
        throw failure("no picture size");
    QImage picture = NewPicture(width, height, maxArea, what);
    // 32-bit rows have no padding, so the picture is the contiguous raster
    // libtiff wants; it fills it with premultiplied R, G, B, A bytes.
    auto* raster = reinterpret_cast<uint32_t*>(picture.bits());
    if (!TIFFReadRGBAImageOriented(file.Get(), width, height, raster, ORIENTATION_TOPLEFT, 1))
        throw failure("cannot read the picture");
    size_t count = static_cast<size_t>(width) * height;
    for (size_t i = 0; i < count; ++i) {
        uint32_t p = raster[i];
        unsigned white = 255 - TIFFGetA(p);
        unsigned r = std::min(255u, TIFFGetR(p) + white);
        unsigned g = std::min(255u, TIFFGetG(p) + white);
        unsigned b = std::min(255u, TIFFGetB(p) + white);
        raster[i] = 0xff000000u | (r << 16) | (g << 8) | b;
    }
    return picture;
}

}  // namespace pagora
