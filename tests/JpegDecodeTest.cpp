// JPEG decoding: colour spaces, warnings, the encoder, and decoding straight
// into a box against full decoding plus FitBitmap.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "PictureWriters.h"
#include "SyntheticPhoto.h"
#include "TestFiles.h"
#include "gfx/Bitmap.h"
#include "gfx/Fit.h"
#include "gfx/PictureError.h"
#include "gfx/PictureFile.h"

namespace pagora {
namespace {

using test::Bytes;

TEST(JpegDecode, RoundTripsThroughTheEncoder) {
    QImage photo = test::SyntheticPhoto(320, 240, 3);
    Bytes jpeg = EncodeJpeg(photo, 92);
    QImage decoded = DecodeJpeg(jpeg, "photo.jpg");
    ASSERT_EQ(decoded.format(), kBitmapFormat);
    ASSERT_EQ(decoded.size(), photo.size());
    EXPECT_GT(test::Psnr(photo, decoded), 30.0);
    EXPECT_EQ(JpegSize(jpeg, "photo.jpg"), QSize(320, 240));
    // Every pixel opaque: the fourth byte is 0xff, as kBitmapFormat wants.
    for (int y = 0; y < decoded.height(); ++y)
        for (int x = 0; x < decoded.width(); ++x)
            ASSERT_EQ(qAlpha(decoded.pixel(x, y)), 255);
}

TEST(JpegDecode, EncoderQualityIsClampedAndEmptyPicturesRefused) {
    QImage ramp = test::ColourRamp(20, 10);
    for (int quality : {-5, 1, 100, 1000})
        EXPECT_EQ(DecodeJpeg(EncodeJpeg(ramp, quality), "q").size(), QSize(20, 10)) << quality;
    EXPECT_LT(EncodeJpeg(test::SyntheticPhoto(64, 64), 10).size(),
              EncodeJpeg(test::SyntheticPhoto(64, 64), 95).size());
    EXPECT_THROW(EncodeJpeg(QImage(), 90), PictureError);
    // Any format in, the same pixels out.
    QImage argb = ramp.convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(EncodeJpeg(argb, 90), EncodeJpeg(ramp, 90));
}

TEST(JpegDecode, GreyAndCmykAndProgressiveFilesDecodeInColourRows) {
    test::TestPicture grey = test::MakeGreyJpeg(61, 33);
    QImage decoded = DecodeJpeg(grey.Data, "grey.jpg");
    ASSERT_EQ(decoded.format(), kBitmapFormat);
    EXPECT_LE(test::MaxChannelDifference(decoded, grey.Expected), 6);

    test::TestPicture cmyk = test::MakeCmykJpeg(64, 40);
    decoded = DecodeJpeg(cmyk.Data, "cmyk.jpg");
    ASSERT_EQ(decoded.format(), kBitmapFormat);
    EXPECT_LE(test::MaxChannelDifference(decoded, cmyk.Expected), 8);

    test::TestPicture progressive = test::MakeProgressiveJpeg(test::SyntheticPhoto(120, 90));
    decoded = DecodeJpeg(progressive.Data, "progressive.jpg");
    EXPECT_GT(test::Psnr(progressive.Expected, decoded), 30.0);
    QImage boxed = DecodeJpegToBox(progressive.Data, "progressive.jpg", 40, 40, false, false);
    EXPECT_EQ(boxed.size(), QSize(40, 30));
}

TEST(JpegDecode, WarningsDoNotAbort) {
    Bytes jpeg = EncodeJpeg(test::ColourRamp(32, 32), 90);
    // Stray bytes before a marker: libjpeg warns and goes on.
    size_t sos = 0;
    while (!(jpeg[sos] == 0xff && jpeg[sos + 1] == 0xda))
        ++sos;
    jpeg.insert(jpeg.begin() + static_cast<ptrdiff_t>(sos), {0x00, 0x11, 0x22});
    EXPECT_EQ(DecodeJpeg(jpeg, "stray.jpg").size(), QSize(32, 32));
}

// libjpeg would pad a cut file with grey and only warn; here a cut anywhere,
// even just the end marker, is an error, for progressive files too.
TEST(JpegDecode, TruncationAnywhereIsAnError) {
    Bytes baseline = EncodeJpeg(test::SyntheticPhoto(96, 64), 90);
    Bytes progressive = test::MakeProgressiveJpeg(test::SyntheticPhoto(96, 64)).Data;
    for (const Bytes* jpeg : {&baseline, &progressive}) {
        for (size_t cut : {size_t(2), jpeg->size() / 3, jpeg->size() - 40, jpeg->size() - 2}) {
            Bytes cutBytes(jpeg->begin(), jpeg->begin() + static_cast<ptrdiff_t>(cut));
            EXPECT_THROW(DecodeJpeg(cutBytes, "cut.jpg"), PictureError) << cut;
            EXPECT_THROW(DecodeJpegToBox(cutBytes, "cut.jpg", 20, 20, true, false), PictureError)
                << cut;
        }
        EXPECT_EQ(DecodeJpeg(*jpeg, "whole.jpg").size(), QSize(96, 64));
    }
}

// A progressive file whose scans repeat without end is cut short: libjpeg
// only warns about the odd order, so the count is what stops it.
TEST(JpegDecode, EndlessScansAreRefused) {
    Bytes jpeg = test::MakeProgressiveJpeg(test::SyntheticPhoto(32, 32)).Data;
    std::vector<size_t> scans;
    for (size_t i = 0; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xff && jpeg[i + 1] == 0xda)
            scans.push_back(i);
    ASSERT_GE(scans.size(), 3u);
    Bytes scan(jpeg.begin() + static_cast<ptrdiff_t>(scans[1]),
               jpeg.begin() + static_cast<ptrdiff_t>(scans[2]));
    Bytes endless(jpeg.begin(), jpeg.begin() + static_cast<ptrdiff_t>(scans[2]));
    for (int i = 0; i < 600; ++i)
        endless.insert(endless.end(), scan.begin(), scan.end());
    endless.insert(endless.end(), jpeg.begin() + static_cast<ptrdiff_t>(scans[2]), jpeg.end());
    try {
        DecodeJpeg(endless, "endless.jpg");
        FAIL() << "decoded";
    } catch (const PictureError& error) {
        EXPECT_NE(std::string(error.what()).find("more than 500 scans"), std::string::npos)
            << error.what();
    }
}

TEST(JpegDecode, SizeComesFromTheHeaderAlone) {
    Bytes jpeg = EncodeJpeg(test::ColourRamp(300, 17), 80);
    Bytes header(jpeg.begin(), jpeg.begin() + 700);  // tables and frame, no scan data
    EXPECT_EQ(JpegSize(header, "cut.jpg"), QSize(300, 17));
    EXPECT_THROW(DecodeJpeg(header, "cut.jpg"), PictureError);
    EXPECT_THROW(JpegSize(Bytes{}, "empty.jpg"), PictureError);
    EXPECT_THROW(JpegSize(Bytes{0xff, 0xd8, 0xff}, "short.jpg"), PictureError);
}

// ---- Decoding into a box

struct BoxCase {
    const char* Name;
    int PictureW, PictureH;
    int BoxW, BoxH;
    bool Exact;
};

void PrintTo(const BoxCase& c, std::ostream* os) {
    *os << c.Name;
}

class JpegToBoxSize : public testing::TestWithParam<BoxCase> {};

TEST_P(JpegToBoxSize, IsFitBitmapsSize) {
    const BoxCase& c = GetParam();
    QImage photo = test::SyntheticPhoto(c.PictureW, c.PictureH, 7);
    Bytes jpeg = EncodeJpeg(photo, 85);
    QImage full = DecodeJpeg(jpeg, "photo.jpg"), fitted;
    FitBitmap(full, fitted, false, c.BoxH, c.BoxW, c.Exact);
    for (bool fast : {false, true}) {
        QImage boxed = DecodeJpegToBox(jpeg, "photo.jpg", c.BoxW, c.BoxH, fast, c.Exact);
        EXPECT_EQ(boxed.size(), fitted.size()) << (fast ? "fast" : "smooth");
        EXPECT_EQ(boxed.format(), kBitmapFormat);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, JpegToBoxSize,
    testing::Values(BoxCase{"landscape_to_page_slot", 1500, 1000, 451, 579, false},
                    BoxCase{"landscape_to_page_slot_exact", 1500, 1000, 451, 579, true},
                    BoxCase{"portrait_to_page_slot", 1000, 1500, 451, 579, false},
                    BoxCase{"landscape_to_screen", 2400, 1600, 1920, 1080, false},
                    BoxCase{"landscape_to_screen_exact", 2400, 1600, 1920, 1080, true},
                    BoxCase{"portrait_to_screen", 1200, 1800, 1920, 1080, false},
                    BoxCase{"landscape_to_thumbnail", 1500, 1000, 191, 160, false},
                    BoxCase{"portrait_to_thumbnail_exact", 1000, 1500, 191, 160, true},
                    BoxCase{"odd_size_to_thumbnail", 1001, 667, 191, 160, false},
                    BoxCase{"just_above_an_eighth", 1531, 1289, 191, 160, false},
                    BoxCase{"smaller_than_box_kept", 180, 120, 451, 579, false},
                    BoxCase{"smaller_than_box_exact_grows", 180, 120, 451, 579, true},
                    BoxCase{"same_width_as_box", 451, 300, 451, 579, false},
                    BoxCase{"tall_sliver", 40, 2000, 191, 160, false},
                    BoxCase{"wide_sliver", 3000, 9, 191, 160, false}),
    [](const testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.Name); });

TEST(JpegToBox, EmptyBoxGivesAnEmptyPicture) {
    Bytes jpeg = EncodeJpeg(test::ColourRamp(30, 20), 90);
    EXPECT_TRUE(DecodeJpegToBox(jpeg, "a.jpg", 0, 100, false, false).isNull());
    EXPECT_TRUE(DecodeJpegToBox(jpeg, "a.jpg", 100, -1, true, true).isNull());
    EXPECT_THROW(DecodeJpegToBox(jpeg, "a.jpg", 70000, 70000, false, true), PictureError);
    EXPECT_THROW(DecodeJpegToBox(Bytes{}, "a.jpg", 10, 10, false, false), PictureError);
}

// Photographs shrunk through the DCT stay close to the full decode shrunk by
// area averaging.
class JpegToBoxFidelity : public testing::TestWithParam<BoxCase> {
  protected:
    static void SetUpTestSuite() {
        photo_ = new Bytes(EncodeJpeg(test::SyntheticPhoto(3000, 2000, 11), 90));
    }
    static void TearDownTestSuite() {
        delete photo_;
        photo_ = nullptr;
    }
    static Bytes* photo_;
};

Bytes* JpegToBoxFidelity::photo_ = nullptr;

TEST_P(JpegToBoxFidelity, PsnrAtLeast35dB) {
    const BoxCase& c = GetParam();
    QImage full = DecodeJpeg(*photo_, "photo.jpg"), reference;
    FitBitmap(full, reference, false, c.BoxH, c.BoxW, c.Exact);
    QImage boxed = DecodeJpegToBox(*photo_, "photo.jpg", c.BoxW, c.BoxH, false, c.Exact);
    ASSERT_EQ(boxed.size(), reference.size());
    double psnr = test::Psnr(reference, boxed);
    RecordProperty("psnr_db", std::to_string(psnr));
    EXPECT_GE(psnr, 35.0);
}

INSTANTIATE_TEST_SUITE_P(Boxes, JpegToBoxFidelity,
                         testing::Values(BoxCase{"page_slot", 3000, 2000, 451, 579, false},
                                         BoxCase{"page_slot_exact", 3000, 2000, 451, 579, true},
                                         BoxCase{"screen_1920x1080", 3000, 2000, 1920, 1080, false},
                                         BoxCase{"screen_1280x720", 3000, 2000, 1280, 720, false},
                                         BoxCase{"screen_640x480", 3000, 2000, 640, 480, false},
                                         BoxCase{"thumbnail", 3000, 2000, 191, 160, false},
                                         BoxCase{"exactly_half", 3000, 2000, 1500, 1000, false}),
                         [](const testing::TestParamInfo<BoxCase>& info) {
                             return std::string(info.param.Name);
                         });

}  // namespace
}  // namespace pagora
