#pragma once

#include <QImage>
#include <string>

#include "TestFiles.h"

// Pictures of every kind the decoders meet, written by the libraries and
// writers the decoders do not use, each with the kBitmapFormat picture a
// correct decoder gives (alpha over white).
namespace pagora::test {

struct TestPicture {
    Bytes Data;
    QImage Expected;
};

struct PngKind {
    const char* Name;
    int ColorType;  // PNG_COLOR_TYPE_*
    int BitDepth;
    bool Interlaced = false;
    bool Transparency = false;  // a tRNS chunk (palette and grey)
};
TestPicture MakePng(int width, int height, const PngKind& kind);

struct TiffKind {
    const char* Name;
    int Samples;          // 1, 3 or 4
    int Bits;             // 1, 8 or 16
    int Photometric;      // PHOTOMETRIC_*
    int Compression = 1;  // COMPRESSION_*
    int ExtraSample = 0;  // EXTRASAMPLE_* of the fourth sample
    bool Tiled = false;
    int Orientation = 1;  // ORIENTATION_*
};
TestPicture MakeTiff(int width, int height, const TiffKind& kind);

// JPEGs the encoder under test does not write: grey, CMYK (stored as YCCK
// with an Adobe marker, as photo software does) and progressive colour.
TestPicture MakeGreyJpeg(int width, int height);
TestPicture MakeCmykJpeg(int width, int height);
TestPicture MakeProgressiveJpeg(const QImage& picture);

// A 24-bit uncompressed Truevision picture, top row first.
TestPicture MakeTga(const QImage& picture);

// Written by Qt's writer of `format`; the expected picture is what the
// format can hold of it (grey for pgm, black and white for pbm).
TestPicture MakeWithQt(const QImage& picture, const char* format);

// Every pixel different in a way that shows channel swaps and shifted rows.
QImage ColourRamp(int width, int height);

// The largest difference of one colour byte between two pictures of one size.
int MaxChannelDifference(const QImage& a, const QImage& b);

}  // namespace pagora::test
