#include "PictureWriters.h"

#include <png.h>
#include <tiffio.h>
#include <turbojpeg.h>

#include <QBuffer>
#include <QImageWriter>
#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace pagora::test {

namespace {

// A sample of channel c at (x, y) in 0..max, varied enough to catch swaps.
unsigned Sample(int x, int y, int c, unsigned max) {
    return static_cast<unsigned>(x * 37 + y * 11 + c * 71 + x * y * 3) % (max + 1);
}

uint8_t Over(double c, double a) {
    return static_cast<uint8_t>(std::lround(c * a / 255.0 + 255.0 - a));
}

QImage NewExpected(int width, int height) {
    return QImage(width, height, QImage::Format_RGB32);
}

void AppendPng(png_structp png, png_bytep data, size_t size) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void FlushPng(png_structp) {}

// Owns nothing, so libpng's longjmp on error skips no destructor.
bool WritePngRows(Bytes* out, int width, int height, const PngKind* kind, png_colorp palette,
                  int paletteSize, png_bytep alphas, int alphaCount, png_color_16p transparent,
                  png_bytepp rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, AppendPng, FlushPng);
    png_set_IHDR(png, info, width, height, kind->BitDepth, kind->ColorType,
                 kind->Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (palette)
        png_set_PLTE(png, info, palette, paletteSize);
    if (alphaCount > 0 || transparent)
        png_set_tRNS(png, info, alphas, alphaCount, transparent);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

QImage ColourRamp(int width, int height) {
    QImage image = NewExpected(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           qRgb(Sample(x, y, 0, 255), Sample(x, y, 1, 255), Sample(x, y, 2, 255)));
    return image;
}

int MaxChannelDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        throw std::invalid_argument("MaxChannelDifference: sizes differ");
    QImage ra = a.convertToFormat(QImage::Format_RGB32),
           rb = b.convertToFormat(QImage::Format_RGB32);
    int worst = 0;
    for (int y = 0; y < ra.height(); ++y)
        for (int x = 0; x < ra.width(); ++x) {
            QRgb p = ra.pixel(x, y), q = rb.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

TestPicture MakePng(int width, int height, const PngKind& kind) {
    const bool palette = kind.ColorType == PNG_COLOR_TYPE_PALETTE;
    const bool colour = (kind.ColorType & PNG_COLOR_MASK_COLOR) != 0 && !palette;
    const bool alpha = (kind.ColorType & PNG_COLOR_MASK_ALPHA) != 0;
    const int channels = palette ? 1 : (colour ? 3 : 1) + (alpha ? 1 : 0);
    const unsigned max = (1u << kind.BitDepth) - 1;
    const int bitsPerPixel = channels * kind.BitDepth;
    const size_t rowBytes = (static_cast<size_t>(width) * bitsPerPixel + 7) / 8;

    std::vector<png_color> colours(static_cast<size_t>(max) + 1);
    std::vector<png_byte> alphas(colours.size());
    for (size_t i = 0; i < colours.size(); ++i) {
        colours[i] = {static_cast<png_byte>(i * 53), static_cast<png_byte>(i * 97 + 20),
                      static_cast<png_byte>(i * 151 + 7)};
        alphas[i] = static_cast<png_byte>(i % 3 == 0 ? 255 : i * 37);
    }
    png_color_16 transparentGrey{};
    transparentGrey.gray = static_cast<png_uint_16>(Sample(0, 0, 0, max));

    std::vector<Bytes> rows(static_cast<size_t>(height), Bytes(rowBytes, 0));
    QImage expected = NewExpected(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned v[4];
            for (int c = 0; c < channels; ++c) {
                v[c] = Sample(x, y, c, max);
                if (alpha && c == channels - 1 && x % 5 == 0)
                    v[c] = max;  // some opaque pixels among the translucent
                size_t bit = (static_cast<size_t>(x) * channels + c) * kind.BitDepth;
                if (kind.BitDepth == 16) {
                    rows[y][bit / 8] = static_cast<uint8_t>(v[c] >> 8);
                    rows[y][bit / 8 + 1] = static_cast<uint8_t>(v[c]);
                } else {
                    rows[y][bit / 8] |= static_cast<uint8_t>(v[c] << (8 - kind.BitDepth - bit % 8));
                }
            }
            double r, g, b, a = 255;
            if (palette) {
                r = colours[v[0]].red, g = colours[v[0]].green, b = colours[v[0]].blue;
                if (kind.Transparency)
                    a = alphas[v[0]];
            } else {
                double scale = 255.0 / max;
                r = v[0] * scale;
                g = colour ? v[1] * scale : r;
                b = colour ? v[2] * scale : r;
                if (alpha)
                    a = v[channels - 1] * scale;
                else if (kind.Transparency && v[0] == transparentGrey.gray)
                    a = 0;
            }
            expected.setPixel(x, y, qRgb(Over(r, a), Over(g, a), Over(b, a)));
        }
    }
    std::vector<png_bytep> rowPointers;
    for (Bytes& row : rows)
        rowPointers.push_back(row.data());
    Bytes out;
    bool paletteAlpha = palette && kind.Transparency;
    bool greyKey = !palette && kind.Transparency;
    if (!WritePngRows(&out, width, height, &kind, palette ? colours.data() : nullptr,
                      static_cast<int>(colours.size()), paletteAlpha ? alphas.data() : nullptr,
                      paletteAlpha ? static_cast<int>(alphas.size()) : 0,
                      greyKey ? &transparentGrey : nullptr, rowPointers.data()))
        throw std::runtime_error(std::string("cannot write PNG ") + kind.Name);
    return {out, expected};
}

TestPicture MakeTiff(int width, int height, const TiffKind& kind) {
    TempDir dir;
    std::string path = dir.File("picture.tif");
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    if (!tiff)
        throw std::runtime_error("cannot write TIFF");
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, kind.Samples);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, kind.Bits);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, kind.Photometric);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, kind.Compression);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, kind.Orientation);
    if (kind.Samples == 4) {
        uint16_t extra = static_cast<uint16_t>(kind.ExtraSample);
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    const unsigned max = (1u << kind.Bits) - 1;
    std::vector<uint16_t> map(256);
    if (kind.Photometric == PHOTOMETRIC_PALETTE) {
        std::vector<uint16_t> red(256), green(256), blue(256);
        for (int i = 0; i < 256; ++i) {
            red[i] = static_cast<uint16_t>(((i * 53) & 255) * 257);
            green[i] = static_cast<uint16_t>(((i * 97 + 20) & 255) * 257);
            blue[i] = static_cast<uint16_t>(((i * 151 + 7) & 255) * 257);
        }
        TIFFSetField(tiff, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
    }
    const size_t rowBytes = (static_cast<size_t>(width) * kind.Samples * kind.Bits + 7) / 8;
    std::vector<Bytes> rows(static_cast<size_t>(height), Bytes(rowBytes, 0));
    QImage expected = NewExpected(width, height);
    const bool bottomUp = kind.Orientation == ORIENTATION_BOTLEFT;
    for (int row = 0; row < height; ++row) {
        int y = bottomUp ? height - 1 - row : row;
        for (int x = 0; x < width; ++x) {
            unsigned v[4] = {};
            for (int c = 0; c < kind.Samples; ++c)
                v[c] = Sample(x, y, c, max);
            if (kind.Samples == 4 && x % 5 == 0)
                v[3] = max;
            if (kind.ExtraSample == EXTRASAMPLE_ASSOCALPHA)  // stored premultiplied
                for (int c = 0; c < 3; ++c)
                    v[c] = v[c] * v[3] / max;
            for (int c = 0; c < kind.Samples; ++c) {
                size_t bit = (static_cast<size_t>(x) * kind.Samples + c) * kind.Bits;
                if (kind.Bits == 16) {
                    uint16_t value = static_cast<uint16_t>(v[c]);
                    std::memcpy(&rows[row][bit / 8], &value, 2);  // the host's order, as TIFF says
                } else {
                    rows[row][bit / 8] |= static_cast<uint8_t>(v[c] << (8 - kind.Bits - bit % 8));
                }
            }
            double scale = 255.0 / max, r, g, b, a = 255;
            if (kind.Photometric == PHOTOMETRIC_PALETTE) {
                r = (v[0] * 53) & 255, g = (v[0] * 97 + 20) & 255, b = (v[0] * 151 + 7) & 255;
            } else if (kind.Samples >= 3) {
                r = v[0] * scale, g = v[1] * scale, b = v[2] * scale;
                if (kind.Samples == 4)
                    a = v[3] * scale;
                if (kind.ExtraSample == EXTRASAMPLE_ASSOCALPHA)  // undo, Over premultiplies
                    r = a ? r * 255 / a : 0, g = a ? g * 255 / a : 0, b = a ? b * 255 / a : 0;
            } else {
                r = g = b =
                    kind.Photometric == PHOTOMETRIC_MINISWHITE ? 255 - v[0] * scale : v[0] * scale;
            }
            expected.setPixel(x, y, qRgb(Over(r, a), Over(g, a), Over(b, a)));
        }
    }
    bool ok = true;
    if (kind.Tiled) {
        const int tile = 16;
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, tile);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, tile);
        size_t tileRow = static_cast<size_t>(tile) * kind.Samples * kind.Bits / 8;
        Bytes buffer(tileRow * tile);
        for (int ty = 0; ty < height; ty += tile)
            for (int tx = 0; tx < width; tx += tile) {
                std::fill(buffer.begin(), buffer.end(), 0);
                for (int r = 0; r < tile && ty + r < height; ++r) {
                    size_t from = static_cast<size_t>(tx) * kind.Samples * kind.Bits / 8;
                    size_t count = std::min(tileRow, rowBytes - from);
                    std::memcpy(&buffer[r * tileRow], &rows[ty + r][from], count);
                }
                ok = ok && TIFFWriteTile(tiff, buffer.data(), tx, ty, 0, 0) >= 0;
            }
    } else {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 8);
        for (int row = 0; row < height; ++row)
            ok = ok && TIFFWriteScanline(tiff, rows[row].data(), row, 0) >= 0;
    }
    TIFFClose(tiff);
    if (!ok)
        throw std::runtime_error(std::string("cannot write TIFF ") + kind.Name);
    return {ReadFile(path), expected};
}

namespace {

Bytes Turbo(const uint8_t* pixels, int width, int height, int pixelFormat, int subsampling,
            int flags) {
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    int status = tjCompress2(handle, pixels, width, 0, height, pixelFormat, &jpeg, &size,
                             subsampling, 92, flags);
    Bytes out;
    if (status == 0)
        out.assign(jpeg, jpeg + size);
    tjFree(jpeg);
    tjDestroy(handle);
    if (status != 0)
        throw std::runtime_error("cannot write JPEG");
    return out;
}

}  // namespace

TestPicture MakeGreyJpeg(int width, int height) {
    Bytes grey(static_cast<size_t>(width) * height);
    QImage expected = NewExpected(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int v = x * 200 / std::max(1, width - 1) + y;
            grey[static_cast<size_t>(y) * width + x] = static_cast<uint8_t>(v);
            expected.setPixel(x, y, qRgb(v, v, v));
        }
    return {Turbo(grey.data(), width, height, TJPF_GRAY, TJSAMP_GRAY, 0), expected};
}

TestPicture MakeCmykJpeg(int width, int height) {
    Bytes cmyk(static_cast<size_t>(width) * height * 4);
    QImage expected = NewExpected(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            // Smooth colours, and the right half printed with black ink too.
            int c = 40 + x * 200 / width, m = 60 + y * 180 / height, ye = 200 - x * 150 / width;
            int k = x < width / 2 ? 255 : 128;
            uint8_t* p = &cmyk[(static_cast<size_t>(y) * width + x) * 4];
            p[0] = static_cast<uint8_t>(c), p[1] = static_cast<uint8_t>(m);
            p[2] = static_cast<uint8_t>(ye), p[3] = static_cast<uint8_t>(k);
            // Adobe's inverted inks: a stored value of 255 is no ink.
            expected.setPixel(x, y, qRgb(c * k / 255, m * k / 255, ye * k / 255));
        }
    return {Turbo(cmyk.data(), width, height, TJPF_CMYK, TJSAMP_444, 0), expected};
}

TestPicture MakeProgressiveJpeg(const QImage& picture) {
    QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    Bytes packed(static_cast<size_t>(rgb.width()) * rgb.height() * 4);
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(&packed[static_cast<size_t>(y) * rgb.width() * 4], rgb.constScanLine(y),
                    static_cast<size_t>(rgb.width()) * 4);
    return {
        Turbo(packed.data(), rgb.width(), rgb.height(), TJPF_BGRX, TJSAMP_420, TJFLAG_PROGRESSIVE),
        rgb};
}

TestPicture MakeTga(const QImage& picture) {
    QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    Bytes out(18, 0);
    out[2] = 2;  // uncompressed true colour
    out[12] = static_cast<uint8_t>(rgb.width()), out[13] = static_cast<uint8_t>(rgb.width() >> 8);
    out[14] = static_cast<uint8_t>(rgb.height()), out[15] = static_cast<uint8_t>(rgb.height() >> 8);
    out[16] = 24;
    out[17] = 0x20;  // top row first
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            QRgb p = rgb.pixel(x, y);
            out.push_back(static_cast<uint8_t>(qBlue(p)));
            out.push_back(static_cast<uint8_t>(qGreen(p)));
            out.push_back(static_cast<uint8_t>(qRed(p)));
        }
    return {out, rgb};
}

TestPicture MakeWithQt(const QImage& picture, const char* format) {
    std::string name(format);
    QImage written = name == "pgm"   ? picture.convertToFormat(QImage::Format_Grayscale8)
                     : name == "pbm" ? picture.convertToFormat(QImage::Format_Mono)
                                     : picture.convertToFormat(QImage::Format_ARGB32);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(written))
        throw std::runtime_error("Qt cannot write " + name + ": " +
                                 writer.errorString().toStdString());
    return {Bytes(data.begin(), data.end()), written.convertToFormat(QImage::Format_RGB32)};
}

}  // namespace pagora::test
