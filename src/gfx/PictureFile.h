#pragma once

#include <QImage>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

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

// The decoders. Each returns a kBitmapFormat picture or throws PictureError
// naming `what` (a file or member name) and the damage; headers claiming more
// than kMaxPictureArea pixels are refused before any allocation.
QImage DecodeJpeg(std::span<const uint8_t> bytes, const std::string& what);
QImage DecodePng(std::span<const uint8_t> bytes, const std::string& what);
QImage DecodeTiff(std::span<const uint8_t> bytes, const std::string& what);

// A JPEG decoded straight into a box: libjpeg-turbo's DCT scaling picks the
// smallest scale not below the fitted size, FitBitmap finishes. The result has
// the size FitBitmap would give the full picture.
QImage DecodeJpegToBox(std::span<const uint8_t> bytes, const std::string& what, int boxWidth,
                       int boxHeight, bool fast, bool exact);

// The size a JPEG's header claims, without decoding it.
QSize JpegSize(std::span<const uint8_t> bytes, const std::string& what);

// target := the picture in the file, decoded by its extension (letter case
// ignored). A type not in the table, or without a decoder here, fails with
// "Unknown picture file extension (.ext)".
void LoadPictureFile(QImage& target, const std::string& path);

// A baseline JPEG of the picture, quality 1..100.
std::vector<uint8_t> EncodeJpeg(const QImage& picture, int quality);

}  // namespace pagora
