#pragma once

#include <QImage>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/Bitmap.h"

namespace pagora {

// How a picture type of the file table is decoded.
enum class PictureDecoder { Jpeg, Png, Tiff, Qt, None };

struct PictureType {
    const char* Extension;    // lower case, no dot
    const char* Description;  // as the file dialogs show it
    PictureDecoder Decoder;   // None: listed, but no decoder here
    const char* QtFormat;     // Qt's reader format for PictureDecoder::Qt
};

// The picture file types, in the order the file dialogs list them. Whether a
// Qt-decoded type really decodes depends on the installed image plugins.
const std::vector<PictureType>& PictureTypes();

// The table's entry for an extension (no dot, letter case ignored), or null.
const PictureType* FindPictureType(std::string_view extension);

// True when this run can decode the type: always for JPEG, PNG and TIFF, for
// Qt types when an installed image plugin reads the format.
bool PictureTypeDecodes(const PictureType& type);

// A picture file is read whole; anything larger is refused unread.
constexpr int64_t kMaxPictureFileSize = int64_t(512) << 20;

// The decoders. Each returns a kBitmapFormat picture or throws PictureError
// naming `what` (a file or member name) and the damage; headers claiming more
// than maxArea pixels (never more than kMaxPictureArea) are refused before any
// allocation. Alpha is composited over white.
QImage DecodeJpeg(std::span<const uint8_t> bytes, const std::string& what,
                  int64_t maxArea = kMaxPictureArea);
QImage DecodePng(std::span<const uint8_t> bytes, const std::string& what,
                 int64_t maxArea = kMaxPictureArea);
QImage DecodeTiff(std::span<const uint8_t> bytes, const std::string& what,
                  int64_t maxArea = kMaxPictureArea);

// A JPEG decoded straight into a box: libjpeg-turbo's DCT scaling to the
// smallest of 1/8, 2/8, 4/8 and 8/8 that gives the fitted size or 1.25 times
// it, then StretchBitmap. The result has the size FitBitmap would give the
// full picture, and stays close to its pixels (PSNR above 35 dB on photos).
QImage DecodeJpegToBox(std::span<const uint8_t> bytes, const std::string& what, int boxWidth,
                       int boxHeight, bool fast, bool exact, int64_t maxArea = kMaxPictureArea);

// The size a JPEG's header claims, without decoding it.
QSize JpegSize(std::span<const uint8_t> bytes, const std::string& what);

// The bytes decoded as the given type; a type this run cannot decode fails
// like an unknown extension.
QImage DecodePicture(std::span<const uint8_t> bytes, const PictureType& type,
                     const std::string& what);

// target := the picture in the file, decoded by its extension (letter case
// ignored). A type not in the table, or without a decoder here, fails with
// "Unknown picture file extension (.ext)", the extension as the name has it.
void LoadPictureFile(QImage& target, const std::string& path);

// A baseline JPEG of the picture, quality 1..100.
std::vector<uint8_t> EncodeJpeg(const QImage& picture, int quality);

}  // namespace pagora
