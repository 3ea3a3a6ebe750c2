// The picture file table, loading by extension, and what each decoder makes
// of good and of damaged files.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>
#include <tiffio.h>
#include <unistd.h>
#include <zlib.h>

#include <QImageReader>
#include <QImageWriter>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "PictureWriters.h"
#include "SyntheticPhoto.h"
#include "TestFiles.h"
#include "gfx/Bitmap.h"
#include "gfx/PictureError.h"
#include "gfx/PictureFile.h"

namespace pagora {
namespace {

using test::Bytes;
using test::TestPicture;

std::string LoadError(const std::string& path) {
    QImage target;
    try {
        LoadPictureFile(target, path);
    } catch (const PictureError& error) {
        return error.what();
    }
    return "(no error)";
}

QImage Load(const std::string& path) {
    QImage target;
    LoadPictureFile(target, path);
    return target;
}

TEST(PictureTypes, TableHasEveryExtensionOnceInLowerCase) {
    std::set<std::string> seen;
    for (const PictureType& type : PictureTypes()) {
        std::string extension = type.Extension;
        EXPECT_TRUE(seen.insert(extension).second) << extension;
        for (char c : extension)
            EXPECT_FALSE(std::isupper(static_cast<unsigned char>(c))) << extension;
        EXPECT_NE(std::string(type.Description), "");
        EXPECT_EQ(type.Decoder == PictureDecoder::Qt, type.QtFormat != nullptr) << extension;
    }
    const char* all[] = {"bmp", "rle", "dib", "ico", "wmf", "emf",  "jpg",  "jpeg", "jpe", "jfif",
                         "tga", "win", "vst", "vda", "icb", "tiff", "tif",  "fax",  "eps", "pcx",
                         "pcc", "scr", "rla", "rpf", "sgi", "rgb",  "rgba", "bw",   "psd", "pdd",
                         "ppm", "pgm", "pbm", "cel", "pic", "pcd",  "cut",  "psp",  "png"};
    EXPECT_EQ(seen.size(), std::size(all));
    for (const char* extension : all)
        EXPECT_TRUE(seen.count(extension)) << extension;
}

TEST(PictureTypes, FindIgnoresLetterCase) {
    ASSERT_NE(FindPictureType("JPG"), nullptr);
    EXPECT_EQ(FindPictureType("JPG")->Decoder, PictureDecoder::Jpeg);
    EXPECT_EQ(FindPictureType("Tif")->Decoder, PictureDecoder::Tiff);
    EXPECT_EQ(FindPictureType("pNg")->Decoder, PictureDecoder::Png);
    EXPECT_EQ(FindPictureType("txt"), nullptr);
    EXPECT_EQ(FindPictureType(""), nullptr);
    EXPECT_EQ(FindPictureType(".jpg"), nullptr);
}

TEST(PictureTypes, QtTypesDecodeWhenAPluginReadsThem) {
    auto formats = QImageReader::supportedImageFormats();
    for (const PictureType& type : PictureTypes()) {
        if (type.Decoder == PictureDecoder::Qt) {
            EXPECT_EQ(PictureTypeDecodes(type), formats.contains(type.QtFormat)) << type.Extension;
        }
    }
    // What Qt brings here with its image-format plugins.
    for (const char* extension : {"bmp", "rle", "dib", "ico", "tga", "ppm", "pgm", "pbm"})
        EXPECT_TRUE(PictureTypeDecodes(*FindPictureType(extension))) << extension;
}

// A picture of the type's kind, from a writer the decoder does not share.
std::optional<TestPicture> PictureOfType(const PictureType& type) {
    QImage ramp = test::ColourRamp(37, 23);
    std::string extension = type.Extension;
    switch (type.Decoder) {
        case PictureDecoder::Jpeg: {
            QImage photo = test::SyntheticPhoto(37, 23);
            return TestPicture{EncodeJpeg(photo, 95), photo};
        }
        case PictureDecoder::Png:
            return test::MakePng(37, 23, {"rgb8", PNG_COLOR_TYPE_RGB, 8});
        case PictureDecoder::Tiff:
            if (extension == "fax")  // a fax is a bilevel CCITT Group 4 TIFF
                return test::MakeTiff(37, 23,
                                      {"g4", 1, 1, PHOTOMETRIC_MINISWHITE, COMPRESSION_CCITTFAX4});
            return test::MakeTiff(37, 23, {"rgb8", 3, 8, PHOTOMETRIC_RGB});
        case PictureDecoder::Qt:
            if (std::string(type.QtFormat) == "tga")
                return test::MakeTga(ramp);
            if (QImageWriter::supportedImageFormats().contains(type.QtFormat))
                return test::MakeWithQt(ramp, type.QtFormat);
            return std::nullopt;
        case PictureDecoder::None:
            break;
    }
    return std::nullopt;
}

class EachPictureType : public testing::TestWithParam<size_t> {};

TEST_P(EachPictureType, DecodesOrFailsAsUnknown) {
    const PictureType& type = PictureTypes()[GetParam()];
    test::TempDir dir;
    if (!PictureTypeDecodes(type)) {
        std::string path = dir.File(std::string("picture.") + type.Extension);
        test::WriteFile(path, Bytes{1, 2, 3});
        EXPECT_EQ(LoadError(path),
                  std::string("Unknown picture file extension (.") + type.Extension + ")");
        return;
    }
    std::optional<TestPicture> picture = PictureOfType(type);
    if (!picture)
        GTEST_SKIP() << "no writer here for ." << type.Extension;
    // The upper-case name too: letter case never matters.
    for (std::string name : {std::string("picture.") + type.Extension,
                             "PICTURE." + QString(type.Extension).toUpper().toStdString()}) {
        std::string path = dir.File(name);
        test::WriteFile(path, picture->Data);
        QImage decoded = Load(path);
        ASSERT_EQ(decoded.format(), kBitmapFormat) << name;
        ASSERT_EQ(decoded.size(), picture->Expected.size()) << name;
        if (type.Decoder == PictureDecoder::Jpeg)
            EXPECT_GT(test::Psnr(decoded, picture->Expected), 30.0) << name;
        else
            EXPECT_EQ(test::MaxChannelDifference(decoded, picture->Expected), 0) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, EachPictureType, testing::Range(size_t(0), PictureTypes().size()),
                         [](const testing::TestParamInfo<size_t>& info) {
                             return std::string(PictureTypes()[info.param].Extension);
                         });

TEST(LoadPictureFile, UnknownExtensionsNameTheExtensionAsGiven) {
    test::TempDir dir;
    for (const char* name : {"notes.txt", "IMAGE.XYZ", "drawing.WMF", "noextension",
                             "photo.jpg.bak", "archive.tar.Gz", "trailingdot."}) {
        test::WriteFile(dir.File(name), test::TextBytes("not a picture"));
        std::string name_(name);
        size_t dot = name_.find_last_of('.');
        std::string extension = dot == std::string::npos ? "" : name_.substr(dot + 1);
        EXPECT_EQ(LoadError(dir.File(name)), "Unknown picture file extension (." + extension + ")")
            << name;
    }
    // A dot in a folder name is no extension.
    EXPECT_EQ(LoadError("/nonexistent.d/picture"), "Unknown picture file extension (.)");
}

TEST(LoadPictureFile, ExtensionChoosesTheDecoderNotTheContent) {
    test::TempDir dir;
    TestPicture png = test::MakePng(8, 8, {"rgb8", PNG_COLOR_TYPE_RGB, 8});
    for (const char* name : {"png-inside.bmp", "png-inside.jpg", "png-inside.tif"}) {
        test::WriteFile(dir.File(name), png.Data);
        EXPECT_NE(LoadError(dir.File(name)), "(no error)") << name;
    }
}

TEST(LoadPictureFile, MissingUnreadableAndOversizedFilesAreErrors) {
    test::TempDir dir;
    EXPECT_NE(LoadError(dir.File("missing.png")).find("cannot open"), std::string::npos);
    EXPECT_NE(LoadError(dir.Path() + "/.").find("Unknown picture file extension"),
              std::string::npos);
    ::mkdir(dir.File("folder.png").c_str(), 0700);
    EXPECT_NE(LoadError(dir.File("folder.png")), "(no error)");
    // Sparse: the size is claimed, nothing is written to disk.
    std::string big = dir.File("big.png");
    test::WriteFile(big, {});
    ASSERT_EQ(::truncate(big.c_str(), kMaxPictureFileSize + 1), 0);
    std::string error = LoadError(big);
    EXPECT_NE(error.find("larger than a picture file may be"), std::string::npos) << error;
}

TEST(LoadPictureFile, ReplacesTheTarget) {
    test::TempDir dir;
    TestPicture png = test::MakePng(5, 3, {"rgb8", PNG_COLOR_TYPE_RGB, 8});
    test::WriteFile(dir.File("a.png"), png.Data);
    QImage target(100, 100, QImage::Format_Indexed8);
    LoadPictureFile(target, dir.File("a.png"));
    EXPECT_EQ(target.size(), QSize(5, 3));
    EXPECT_EQ(target.format(), kBitmapFormat);
}

// ---- PNG and TIFF in all their forms

class PngForms : public testing::TestWithParam<test::PngKind> {};

TEST_P(PngForms, DecodeToTheExpectedPixels) {
    for (QSize size : {QSize(1, 1), QSize(37, 23)}) {
        TestPicture picture = test::MakePng(size.width(), size.height(), GetParam());
        QImage decoded = DecodePng(picture.Data, "test.png");
        ASSERT_EQ(decoded.format(), kBitmapFormat);
        ASSERT_EQ(decoded.size(), size);
        EXPECT_LE(test::MaxChannelDifference(decoded, picture.Expected), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PngForms,
    testing::Values(test::PngKind{"rgb8", PNG_COLOR_TYPE_RGB, 8},
                    test::PngKind{"rgb16", PNG_COLOR_TYPE_RGB, 16},
                    test::PngKind{"rgba8", PNG_COLOR_TYPE_RGB_ALPHA, 8},
                    test::PngKind{"rgba16", PNG_COLOR_TYPE_RGB_ALPHA, 16},
                    test::PngKind{"grey1", PNG_COLOR_TYPE_GRAY, 1},
                    test::PngKind{"grey2", PNG_COLOR_TYPE_GRAY, 2},
                    test::PngKind{"grey4", PNG_COLOR_TYPE_GRAY, 4},
                    test::PngKind{"grey8", PNG_COLOR_TYPE_GRAY, 8},
                    test::PngKind{"grey16", PNG_COLOR_TYPE_GRAY, 16},
                    test::PngKind{"grey8_keyed", PNG_COLOR_TYPE_GRAY, 8, false, true},
                    test::PngKind{"grey_alpha8", PNG_COLOR_TYPE_GRAY_ALPHA, 8},
                    test::PngKind{"grey_alpha16", PNG_COLOR_TYPE_GRAY_ALPHA, 16},
                    test::PngKind{"palette4", PNG_COLOR_TYPE_PALETTE, 4},
                    test::PngKind{"palette8", PNG_COLOR_TYPE_PALETTE, 8},
                    test::PngKind{"palette8_alpha", PNG_COLOR_TYPE_PALETTE, 8, false, true},
                    test::PngKind{"interlaced_rgb8", PNG_COLOR_TYPE_RGB, 8, true},
                    test::PngKind{"interlaced_rgba16", PNG_COLOR_TYPE_RGB_ALPHA, 16, true},
                    test::PngKind{"interlaced_grey1", PNG_COLOR_TYPE_GRAY, 1, true}),
    [](const testing::TestParamInfo<test::PngKind>& info) { return std::string(info.param.Name); });

class TiffForms : public testing::TestWithParam<test::TiffKind> {};

TEST_P(TiffForms, DecodeToTheExpectedPixels) {
    for (QSize size : {QSize(1, 1), QSize(37, 23)}) {
        TestPicture picture = test::MakeTiff(size.width(), size.height(), GetParam());
        QImage decoded = DecodeTiff(picture.Data, "test.tif");
        ASSERT_EQ(decoded.format(), kBitmapFormat);
        ASSERT_EQ(decoded.size(), size);
        EXPECT_LE(test::MaxChannelDifference(decoded, picture.Expected), 2);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, TiffForms,
    testing::Values(
        test::TiffKind{"rgb8", 3, 8, PHOTOMETRIC_RGB},
        test::TiffKind{"rgb8_lzw", 3, 8, PHOTOMETRIC_RGB, COMPRESSION_LZW},
        test::TiffKind{"rgb8_deflate", 3, 8, PHOTOMETRIC_RGB, COMPRESSION_ADOBE_DEFLATE},
        test::TiffKind{"rgb8_packbits", 3, 8, PHOTOMETRIC_RGB, COMPRESSION_PACKBITS},
        test::TiffKind{"rgb16", 3, 16, PHOTOMETRIC_RGB},
        test::TiffKind{"rgba8_unassociated", 4, 8, PHOTOMETRIC_RGB, COMPRESSION_NONE,
                       EXTRASAMPLE_UNASSALPHA},
        test::TiffKind{"rgba8_associated", 4, 8, PHOTOMETRIC_RGB, COMPRESSION_NONE,
                       EXTRASAMPLE_ASSOCALPHA},
        test::TiffKind{"grey8", 1, 8, PHOTOMETRIC_MINISBLACK},
        test::TiffKind{"grey16", 1, 16, PHOTOMETRIC_MINISBLACK},
        test::TiffKind{"palette8", 1, 8, PHOTOMETRIC_PALETTE},
        test::TiffKind{"bilevel_g4", 1, 1, PHOTOMETRIC_MINISWHITE, COMPRESSION_CCITTFAX4},
        test::TiffKind{"bilevel_g3", 1, 1, PHOTOMETRIC_MINISWHITE, COMPRESSION_CCITTFAX3},
        test::TiffKind{"tiled_rgb8", 3, 8, PHOTOMETRIC_RGB, COMPRESSION_LZW, 0, true},
        test::TiffKind{"bottom_up_rgb8", 3, 8, PHOTOMETRIC_RGB, COMPRESSION_NONE, 0, false,
                       ORIENTATION_BOTLEFT}),
    [](const testing::TestParamInfo<test::TiffKind>& info) {
        return std::string(info.param.Name);
    });

// ---- Damage: every case an error with a message, never a crash

void PutBigEndian32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

// The PNG with its header's size replaced and its checksum made right again.
Bytes PngClaiming(uint32_t width, uint32_t height) {
    Bytes png = test::MakePng(16, 16, {"rgb8", PNG_COLOR_TYPE_RGB, 8}).Data;
    PutBigEndian32(png, 16, width);
    PutBigEndian32(png, 20, height);
    PutBigEndian32(png, 29, static_cast<uint32_t>(crc32(0, &png[12], 17)));
    return png;
}

size_t FindMarker(const Bytes& jpeg, uint8_t marker) {
    for (size_t i = 0; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xff && jpeg[i + 1] == marker)
            return i;
    throw std::runtime_error("marker not found");
}

Bytes SmallJpeg() {
    return EncodeJpeg(test::ColourRamp(64, 48), 90);
}

Bytes JpegClaiming(int width, int height) {
    Bytes jpeg = SmallJpeg();
    size_t sof = FindMarker(jpeg, 0xc0);
    jpeg[sof + 5] = static_cast<uint8_t>(height >> 8), jpeg[sof + 6] = static_cast<uint8_t>(height);
    jpeg[sof + 7] = static_cast<uint8_t>(width >> 8), jpeg[sof + 8] = static_cast<uint8_t>(width);
    return jpeg;
}

// The TIFF's first directory entry of `tag` given a LONG value.
Bytes TiffWith(Bytes tiff, uint16_t tag, uint32_t value) {
    if (tiff[0] != 'I')
        throw std::runtime_error("test expects a little-endian TIFF");
    auto u16 = [&](size_t at) { return uint16_t(tiff[at] | tiff[at + 1] << 8); };
    uint32_t ifd = tiff[4] | tiff[5] << 8 | tiff[6] << 16 | uint32_t(tiff[7]) << 24;
    for (size_t i = 0, n = u16(ifd); i < n; ++i) {
        size_t entry = ifd + 2 + 12 * i;
        if (u16(entry) == tag) {
            tiff[entry + 2] = 4, tiff[entry + 3] = 0;  // LONG
            for (int k = 0; k < 4; ++k)
                tiff[entry + 8 + k] = static_cast<uint8_t>(value >> (8 * k));
            return tiff;
        }
    }
    throw std::runtime_error("tag not found");
}

Bytes SmallTiff() {
    return test::MakeTiff(16, 16, {"rgb8", 3, 8, PHOTOMETRIC_RGB, COMPRESSION_LZW}).Data;
}

Bytes Cut(Bytes bytes, size_t keep) {
    bytes.resize(std::min(keep, bytes.size()));
    return bytes;
}

struct Damage {
    const char* Name;
    const char* Extension;
    std::function<Bytes()> Make;
    const char* Says;  // a piece of the message, after the file name
};

void PrintTo(const Damage& d, std::ostream* os) {
    *os << d.Name;
}

class DamagedPictures : public testing::TestWithParam<Damage> {};

TEST_P(DamagedPictures, FailWithAMessage) {
    const Damage& damage = GetParam();
    test::TempDir dir;
    std::string path = dir.File(std::string(damage.Name) + "." + damage.Extension);
    test::WriteFile(path, damage.Make());
    std::string error = LoadError(path);
    EXPECT_EQ(error.rfind(path + ": ", 0), 0u) << error;
    EXPECT_NE(error.find(damage.Says), std::string::npos) << error;
}

const char* kTooLarge = "pixels is larger than the 268435456-pixel limit";

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedPictures,
    testing::Values(
        Damage{"jpeg_empty", "jpg", [] { return Bytes{}; }, "empty file"},
        Damage{"jpeg_truncated_half", "jpg",
               [] { return Cut(SmallJpeg(), SmallJpeg().size() / 2); },
               "Premature end of JPEG file"},
        Damage{"jpeg_truncated_in_header", "jpg", [] { return Cut(SmallJpeg(), 100); },
               "cannot decode JPEG"},
        Damage{"jpeg_only_start_marker", "jpg",
               [] {
                   return Bytes{0xff, 0xd8};
               },
               "cannot decode JPEG"},
        Damage{"jpeg_not_a_jpeg", "jpg", [] { return test::TextBytes("GIF89a, or so it says"); },
               "Not a JPEG file"},
        Damage{"jpeg_bad_precision", "jpg",
               [] {
                   Bytes j = SmallJpeg();
                   j[FindMarker(j, 0xc0) + 4] = 7;
                   return j;
               },
               "precision"},
        Damage{"jpeg_unknown_marker", "jpg",
               [] {
                   Bytes j = SmallJpeg();
                   j[FindMarker(j, 0xda) + 1] = 0x01;
                   return j;
               },
               "cannot decode JPEG"},
        Damage{"jpeg_zero_height", "jpg", [] { return JpegClaiming(64, 0); }, "cannot decode JPEG"},
        Damage{"jpeg_zero_width", "jpg", [] { return JpegClaiming(0, 48); }, "cannot decode JPEG"},
        Damage{"jpeg_65500_square", "jpg", [] { return JpegClaiming(65500, 65500); }, kTooLarge},
        Damage{"jpeg_huge_width", "jpg", [] { return JpegClaiming(65535, 4); },
               "cannot decode JPEG"},
        Damage{"png_empty", "png", [] { return Bytes{}; }, "empty file"},
        Damage{"png_truncated_half", "png",
               [] {
                   Bytes p = test::MakePng(64, 64, {"rgb8", PNG_COLOR_TYPE_RGB, 8}).Data;
                   return Cut(p, p.size() / 2);
               },
               "cannot decode PNG"},
        Damage{"png_signature_only", "png", [] { return Cut(PngClaiming(16, 16), 8); },
               "cannot decode PNG"},
        Damage{"png_bad_header_crc", "png",
               [] {
                   Bytes p = PngClaiming(16, 16);
                   p[18] ^= 0x40;
                   return p;
               },
               "CRC"},
        Damage{"png_not_a_png", "png", [] { return test::TextBytes("\x89PNX\r\n\x1a\n......"); },
               "cannot decode PNG"},
        Damage{"png_zero_width", "png", [] { return PngClaiming(0, 16); }, "cannot decode PNG"},
        Damage{"png_70000_square", "png", [] { return PngClaiming(70000, 70000); }, kTooLarge},
        Damage{"png_more_rows_than_data", "png", [] { return PngClaiming(16, 4000); },
               "cannot decode PNG"},
        Damage{"tiff_empty", "tif", [] { return Bytes{}; }, "empty file"},
        Damage{"tiff_truncated_half", "tif",
               [] { return Cut(SmallTiff(), SmallTiff().size() / 2); }, "cannot decode TIFF"},
        Damage{"tiff_header_only", "tif", [] { return Cut(SmallTiff(), 8); }, "cannot decode TIFF"},
        Damage{"tiff_bad_magic", "tif",
               [] {
                   Bytes t = SmallTiff();
                   t[2] = 0x2b;  // BigTIFF's number with a classic header behind it
                   return t;
               },
               "cannot decode TIFF"},
        Damage{"tiff_directory_outside", "tif",
               [] {
                   Bytes t = SmallTiff();
                   t[7] = 0x7f;
                   return t;
               },
               "cannot decode TIFF"},
        Damage{"tiff_zero_width", "tif", [] { return TiffWith(SmallTiff(), 256, 0); },
               "cannot decode TIFF"},
        Damage{"tiff_70000_square", "tif",
               [] { return TiffWith(TiffWith(SmallTiff(), 256, 70000), 257, 70000); }, kTooLarge},
        Damage{"tiff_strips_outside", "tif", [] { return TiffWith(SmallTiff(), 273, 0x7fffff00); },
               "cannot decode TIFF"},
        Damage{"bmp_empty", "bmp", [] { return Bytes{}; }, "empty file"},
        Damage{"bmp_truncated", "bmp",
               [] {
                   Bytes b = test::MakeWithQt(test::ColourRamp(40, 40), "bmp").Data;
                   return Cut(b, 60);
               },
               "cannot decode bmp"},
        Damage{"bmp_70000_square", "bmp",
               [] {
                   Bytes b = test::MakeWithQt(test::ColourRamp(4, 4), "bmp").Data;
                   for (size_t at : {18u, 22u})
                       for (int k = 0; k < 4; ++k)
                           b[at + k] = static_cast<uint8_t>(70000 >> (8 * k));
                   return b;
               },
               "70000"},
        Damage{"tga_truncated", "tga",
               [] { return Cut(test::MakeTga(test::ColourRamp(9, 9)).Data, 40); },
               "cannot decode tga"}),
    [](const testing::TestParamInfo<Damage>& info) { return std::string(info.param.Name); });

TEST(DecodeLimits, AreaBelowTheCapIsHonoured) {
    Bytes jpeg = SmallJpeg();  // 64 x 48 = 3072 pixels
    EXPECT_EQ(DecodeJpeg(jpeg, "a.jpg", 3072).size(), QSize(64, 48));
    EXPECT_THROW(DecodeJpeg(jpeg, "a.jpg", 3071), PictureError);
    EXPECT_THROW(DecodeJpegToBox(jpeg, "a.jpg", 8, 8, false, false, 3071), PictureError);
    Bytes png = test::MakePng(16, 16, {"rgb8", PNG_COLOR_TYPE_RGB, 8}).Data;
    EXPECT_EQ(DecodePng(png, "a.png", 256).size(), QSize(16, 16));
    EXPECT_THROW(DecodePng(png, "a.png", 255), PictureError);
    Bytes tiff = SmallTiff();
    EXPECT_EQ(DecodeTiff(tiff, "a.tif", 256).size(), QSize(16, 16));
    EXPECT_THROW(DecodeTiff(tiff, "a.tif", 255), PictureError);
    // Never above the cap, whatever is asked.
    EXPECT_THROW(DecodePng(PngClaiming(70000, 70000), "a.png", int64_t(1) << 40), PictureError);
}

}  // namespace
}  // namespace pagora
