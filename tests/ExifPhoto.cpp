#include "ExifPhoto.h"

#include <algorithm>
#include <cstring>

#include "archive/LittleEndian.h"
#include "gfx/PictureFile.h"

namespace pagora::test {

namespace {
// Where ExifSegment puts the orientation's value, from the TIFF header.
constexpr size_t kOrientationValue = 8 + 2 + 12 + 8;
}  // namespace

Bytes ExifSegment(int orientation, const std::string& shot, const std::string& description) {
    Bytes tiff = {'I', 'I', 42, 0, 8, 0, 0, 0};
    auto u16 = [&](size_t at, int v) { StoreLE(tiff.data() + at, static_cast<uint16_t>(v), 2); };
    auto u32 = [&](size_t at, uint32_t v) { StoreLE(tiff.data() + at, v, 4); };
    // IFD0 at 8: three entries; the EXIF directory follows it, then the texts.
    const size_t ifd0 = 8, exifIfd = ifd0 + 2 + 3 * 12 + 4;
    const size_t texts = exifIfd + 2 + 12 + 4;
    std::string shotText = shot + '\0', descriptionText = description + '\0';
    tiff.resize(texts + shotText.size() + descriptionText.size(), 0);
    auto entry = [&](size_t at, int tag, int type, uint32_t count, uint32_t value) {
        u16(at, tag);
        u16(at + 2, type);
        u32(at + 4, count);
        u32(at + 8, value);
    };
    // Texts of up to four bytes sit in the entry itself.
    auto text = [&](size_t at, int tag, const std::string& value, uint32_t offset) {
        entry(at, tag, 2, value.size(), offset);
        if (value.size() <= 4) {
            u32(at + 8, 0);
            std::copy(value.begin(), value.end(), tiff.begin() + at + 8);
        }
    };
    u16(ifd0, 3);
    text(ifd0 + 2, 0x010E, descriptionText, texts + shotText.size());
    entry(ifd0 + 14, 0x0112, 3, 1, orientation);
    entry(ifd0 + 26, 0x8769, 4, 1, exifIfd);
    u16(exifIfd, 1);
    text(exifIfd + 2, 0x9003, shotText, texts);
    std::copy(shotText.begin(), shotText.end(), tiff.begin() + texts);
    std::copy(descriptionText.begin(), descriptionText.end(),
              tiff.begin() + texts + shotText.size());

    static const uint8_t kHead[] = {0xFF, 0xE1, 0, 0, 'E', 'x', 'i', 'f', 0, 0};
    Bytes segment(sizeof kHead + tiff.size());
    std::copy(std::begin(kHead), std::end(kHead), segment.begin());
    std::copy(tiff.begin(), tiff.end(), segment.begin() + sizeof kHead);
    // APP1 lengths are big-endian.
    const size_t length = segment.size() - 2;
    segment[2] = static_cast<uint8_t>(length >> 8);
    segment[3] = static_cast<uint8_t>(length);
    return segment;
}

Bytes Jpeg(const QImage& picture, const Bytes& app1) {
    Bytes jpeg = EncodeJpeg(picture, 95);
    jpeg.insert(jpeg.begin() + 2, app1.begin(), app1.end());
    return jpeg;
}

std::optional<int> StoredOrientation(const Bytes& jpeg) {
    static const char kHeader[] = "Exif\0";
    const auto at = std::search(jpeg.begin(), jpeg.end(), kHeader, kHeader + 6);
    if (at == jpeg.end())
        return std::nullopt;
    const size_t value = static_cast<size_t>(at - jpeg.begin()) + 6 + kOrientationValue;
    if (value + 2 > jpeg.size())
        return std::nullopt;
    return static_cast<int>(LoadLE(jpeg.data() + value, 2));
}

}  // namespace pagora::test
